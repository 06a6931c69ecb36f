// SoundBank: 192 sound channels, each holding at most one wave that it plays once or in a loop at its own volume
// and rate. Channel numbers are part of the data files (the vehicle file names its sounds by channel). Every
// operation on a channel outside the bank or without a wave does nothing.
#pragma once

#include <memory>

#include "media/wave.h"

namespace vesk::media {

class SoundBank {
 public:
  static constexpr int kChannelCount = 192;
  // Volume units: hundredths of a decibel; 0 as recorded, -10000 silent.
  static constexpr int kSilent = -10000;

  virtual ~SoundBank() = default;

  // The channel's previous wave is released (which silences it); the channel gets a fresh copy of the wave at its
  // recorded rate and full volume. nullptr unbinds.
  virtual void bind_wave(int channel, std::shared_ptr<const Wave> wave) = 0;
  // Rewind to the start and play once / in a loop.
  virtual void play_once(int channel) = 0;
  virtual void play_loop(int channel) = 0;
  virtual void stop(int channel) = 0;
  virtual bool is_playing(int channel) const = 0;
  virtual void set_volume(int channel, int hundredthsOfDb) = 0;
  // Playback rate = the recorded rate x rate, in whole samples a second.
  virtual void set_rate(int channel, double rate) = 0;

  // Pausing the drive pauses every playing channel; resuming lets each go on from where it was, looped ones
  // looped. While paused nothing plays and is_playing answers as at the moment of pausing.
  virtual void pause_all() = 0;
  virtual void resume_all() = 0;
  // The calling thread is done with the bank (it is about to end): whatever the bank keeps for that thread is let go.
  virtual void leave_thread() {}

  // What a debugging view shows of a channel: whether it holds a wave, whether it plays and its volume.
  struct ChannelStatus {
    bool holdsWave = false;
    bool playing = false;
    int volume = 0;
  };
  virtual ChannelStatus channel_status(int channel) const = 0;
};

// The rate a channel plays at: recorded x factor with the fraction cut off, kept within what a sound device
// takes (100 .. 200000 samples a second).
int playbackRateHz(int recordedRate, double factor);
// The gain a volume in hundredths of a decibel stands for (amplitude).
double volumeToGain(int hundredthsOfDb);

}  // namespace vesk::media
