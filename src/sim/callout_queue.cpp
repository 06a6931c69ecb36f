#include "sim/callout_queue.h"

#include <utility>

namespace vesk::sim {

void CallOutQueue::add(CallOut callOut) {
  if (!callOut.wave || callOut.wave->empty()) return;
  queueBusy_ = true;
  if (count_ < kSlots) slots_[static_cast<std::size_t>(count_++)] = std::move(callOut);
  queueBusy_ = false;
}

void CallOutQueue::play(media::SoundBank& bank, int channel, bool heard) {
  if (queueBusy_ || bank.is_playing(channel)) return;
  if (headPlayed_) {
    headPlayed_ = false;
    for (int i = 1; i < count_; ++i)
      slots_[static_cast<std::size_t>(i - 1)] = std::move(slots_[static_cast<std::size_t>(i)]);
    if (count_ > 0) slots_[static_cast<std::size_t>(--count_)] = {};
  }
  if (count_ == 0) return;
  bank.bind_wave(channel, slots_[0].wave);
  if (heard) bank.play_once(channel);
  headPlayed_ = true;
}

void CallOutQueue::clear() {
  slots_.fill({});
  count_ = 0;
  headPlayed_ = false;
}

std::vector<std::string> CallOutQueue::files() const {
  std::vector<std::string> names;
  names.reserve(static_cast<std::size_t>(count_));
  for (int i = 0; i < count_; ++i) names.push_back(slots_[static_cast<std::size_t>(i)].file);
  return names;
}

}  // namespace vesk::sim
