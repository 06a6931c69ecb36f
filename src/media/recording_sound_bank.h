// RecordingSoundBank: a sound bank that passes every operation on to another bank and keeps a list of the
// requests, in order, whether or not the channel holds a wave (the headless runner's trace of what the drive
// asked to hear). Pausing and resuming are passed on without being listed.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "media/sound_bank.h"

namespace vesk::media {

struct SoundRequest {
  enum class Kind { Bind, PlayOnce, PlayLoop, Stop, Volume, Rate };
  Kind kind = Kind::Bind;
  int channel = 0;
  double value = 0;                 // Volume: hundredths of a dB; Rate: the factor
  std::optional<std::string> wave;  // Bind: the wave's file name; none when the channel is unbound
};

class RecordingSoundBank final : public SoundBank {
 public:
  // `inner` must outlive this bank.
  explicit RecordingSoundBank(SoundBank& inner) : inner_(inner) {}

  void bind_wave(int channel, std::shared_ptr<const Wave> wave) override;
  void play_once(int channel) override;
  void play_loop(int channel) override;
  void stop(int channel) override;
  bool is_playing(int channel) const override { return inner_.is_playing(channel); }
  void set_volume(int channel, int hundredthsOfDb) override;
  void set_rate(int channel, double rate) override;
  void pause_all() override { inner_.pause_all(); }
  void resume_all() override { inner_.resume_all(); }
  void leave_thread() override { inner_.leave_thread(); }
  ChannelStatus channel_status(int channel) const override { return inner_.channel_status(channel); }

  const std::vector<SoundRequest>& requests() const { return requests_; }
  void clearRequests() { requests_.clear(); }
  // A run that prints no trace need not keep the requests.
  void setRecording(bool on) { recording_ = on; }

 private:
  void record(SoundRequest r);

  SoundBank& inner_;
  std::vector<SoundRequest> requests_;
  bool recording_ = true;
};

// The trace's name of a request kind: "bind", "play_once", "play_loop", "stop", "set_volume", "set_rate".
const char* soundRequestName(SoundRequest::Kind kind);

}  // namespace vesk::media
