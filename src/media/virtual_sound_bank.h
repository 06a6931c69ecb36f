// VirtualSoundBank: a sound bank without a device. It knows each wave's length and rate and answers is_playing
// from virtual time, so that a headless drive behaves like a real one (doors, announcements and departures wait
// for sounds to end). It records every operation for tests.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "media/sound_bank.h"

namespace vesk::media {

struct SoundOperation {
  enum class Kind { Bind, PlayOnce, PlayLoop, Stop, Volume, Rate, Pause, Resume };
  std::int64_t timeMs = 0;
  Kind kind = Kind::Bind;
  int channel = 0;
  double value = 0;  // volume (hundredths of a dB), rate factor, or 1/0 for a bound/unbound wave
};

class VirtualSoundBank : public SoundBank {
 public:
  // nowMs: the drive's virtual time in milliseconds.
  explicit VirtualSoundBank(std::function<std::int64_t()> nowMs);

  void bind_wave(int channel, std::shared_ptr<const Wave> wave) override;
  void play_once(int channel) override;
  void play_loop(int channel) override;
  void stop(int channel) override;
  bool is_playing(int channel) const override;
  void set_volume(int channel, int hundredthsOfDb) override;
  void set_rate(int channel, double rate) override;
  void pause_all() override;
  void resume_all() override;
  ChannelStatus channel_status(int channel) const override;
  bool paused() const { return pausedAtMs_.has_value(); }

  int volume(int channel) const;
  int rateHz(int channel) const;
  bool looping(int channel) const;
  const std::shared_ptr<const Wave>& wave(int channel) const;
  const std::vector<SoundOperation>& operations() const { return operations_; }
  void clearOperations() { operations_.clear(); }
  // Long headless drives need not keep every operation.
  void setRecording(bool on) { recording_ = on; }

 private:
  struct Channel {
    std::shared_ptr<const Wave> wave;
    bool playing = false;
    bool looping = false;
    int volume = 0;
    int rateHz = 0;
    std::int64_t anchorMs = 0;  // virtual time of the last change of rate or start
    double anchorFrame = 0;     // playback position at anchorMs, in sample frames
  };

  Channel* usable(int channel);
  const Channel* usable(int channel) const;
  double positionAt(const Channel& c, std::int64_t nowMs) const;
  // The sound clock: virtual time, standing still while paused.
  std::int64_t clockMs() const;
  void record(SoundOperation::Kind kind, int channel, double value);
  void start(int channel, bool loop);

  std::function<std::int64_t()> nowMs_;
  std::array<Channel, kChannelCount> channels_{};
  std::vector<SoundOperation> operations_;
  bool recording_ = true;
  std::optional<std::int64_t> pausedAtMs_;  // virtual time of the pause, while paused
};

}  // namespace vesk::media
