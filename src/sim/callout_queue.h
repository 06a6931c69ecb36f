// CallOutQueue: the call-outs waiting for the call-out channel, played one after another so that they never
// overlap. Twelve slots filled from the front; a thirteenth call-out is dropped.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "data/drive_sounds.h"
#include "media/sound_bank.h"
#include "media/wave.h"

namespace vesk::sim {

struct CallOut {
  std::shared_ptr<const media::Wave> wave;
  std::string file;  // the file name as the route names it
};

// The call-out waves by table, as loaded with the drive's sounds; an entry is empty when its file was not found.
struct CallOutWaves {
  std::array<std::shared_ptr<const media::Wave>, data::kCalloutSlots> CallOutSounds{};  // by slot
  std::vector<std::shared_ptr<const media::Wave>> OtherCallOutSounds;
  std::vector<std::shared_ptr<const media::Wave>> LimitCallOutSounds;
};

class CallOutQueue {
 public:
  static constexpr int kSlots = 12;

  // kanko_queue_add: into the first empty slot. A wave that never loaded (missing or unreadable file) adds
  // nothing, and a full queue drops the call-out.
  void add(CallOut callOut);
  // kanko_queue_play, once a tick: while the channel is silent, drops the head that was handed to it and hands
  // it the next one. With `heard` false (call-outs switched off) the head is bound but not played, so the queue
  // still drains one call-out a tick.
  void play(media::SoundBank& bank, int channel, bool heard);
  void clear();

  bool empty() const { return count_ == 0; }
  int size() const { return count_; }
  // The file names waiting, head first (the head may be playing).
  std::vector<std::string> files() const;

 private:
  std::array<CallOut, kSlots> slots_{};
  int count_ = 0;
  bool queueBusy_ = false;   // a slot is being filled
  bool headPlayed_ = false;  // the head has been handed to the channel and goes when the channel falls silent
};

}  // namespace vesk::sim
