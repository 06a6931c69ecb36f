// OpenAlSoundBank: the sound bank on a real output device through OpenAL Soft. One source per channel, one buffer
// per decoded wave shared by every channel that binds it. Without a device, or once the device is gone, every
// operation does nothing and the drive goes on silently; what could not be done is said once on stderr.
// Called from one thread at a time (the simulation thread); no call waits for the device.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>

#include "media/sound_bank.h"

namespace vesk::media {

// What OpenAL itself reports for one channel (for tests and diagnostics).
struct OpenAlChannelState {
  enum class Play { Initial, Playing, Paused, Stopped };
  unsigned source = 0;  // 0: the channel has no source
  unsigned buffer = 0;  // 0: no wave bound
  Play play = Play::Initial;
  bool looping = false;
  float gain = 0;
  float pitch = 0;
};

class OpenAlSoundBank final : public SoundBank {
 public:
  struct Options {
    std::string deviceName;  // empty: the default output device
    // Where the bank says what it could not do (once each); stderr when empty.
    std::function<void(const std::string&)> report;
  };

  OpenAlSoundBank();
  explicit OpenAlSoundBank(Options options);
  ~OpenAlSoundBank() override;
  OpenAlSoundBank(const OpenAlSoundBank&) = delete;
  OpenAlSoundBank& operator=(const OpenAlSoundBank&) = delete;

  void bind_wave(int channel, std::shared_ptr<const Wave> wave) override;
  void play_once(int channel) override;
  void play_loop(int channel) override;
  void stop(int channel) override;
  bool is_playing(int channel) const override;
  void set_volume(int channel, int hundredthsOfDb) override;
  void set_rate(int channel, double rate) override;
  void pause_all() override;
  void resume_all() override;
  void leave_thread() override;
  ChannelStatus channel_status(int channel) const override;

  // A device is open and still connected.
  bool working() const;
  // Channels 0 .. sourceCount()-1 have a source; the others stay silent.
  int sourceCount() const { return sourceCount_; }
  // AL buffers alive: one per distinct wave bound to some channel.
  int bufferCount() const { return static_cast<int>(buffers_.size()); }
  OpenAlChannelState channelState(int channel) const;

 private:
  struct Channel {
    std::shared_ptr<const Wave> wave;  // keeps the buffer's key alive while bound
    unsigned source = 0;
    unsigned buffer = 0;
    int bufferRate = 0;          // the recorded rate of the bound wave
    bool startOnResume = false;  // started while the bank was paused
  };
  struct SharedBuffer {
    unsigned id = 0;
    int users = 0;
  };
  struct Device;  // the OpenAL device and context

  void open(const std::string& deviceName);
  void createSources();
  // The device is usable and its context current on this thread.
  bool ready() const;
  Channel* playable(int channel);
  const Channel* playable(int channel) const;
  void start(int channel, bool loop);
  unsigned acquireBuffer(const std::shared_ptr<const Wave>& wave);
  void releaseBuffer(Channel& channel);
  void say(const std::string& message) const;

  std::function<void(const std::string&)> report_;
  std::unique_ptr<Device> device_;
  std::array<Channel, kChannelCount> channels_{};
  std::unordered_map<const Wave*, SharedBuffer> buffers_;
  int sourceCount_ = 0;
  bool paused_ = false;
  mutable bool disconnected_ = false;
};

}  // namespace vesk::media
