#include "sim/input_queue.h"

#include <algorithm>

namespace vesk::sim {

void InputQueue::push(InputEvent event, std::int64_t atMs) {
  std::function<void()> notify;
  {
    std::lock_guard lock(mutex_);
    // After every event of the same or an earlier time: events of one time keep their order.
    const auto at = std::upper_bound(events_.begin(), events_.end(), atMs,
                                     [](std::int64_t t, const Timed& e) { return t < e.atMs; });
    events_.insert(at, Timed{atMs, std::move(event)});
    notify = onPush_;
  }
  if (notify) notify();
}

int InputQueue::takeDue(std::int64_t t, const std::function<void(std::int64_t, const InputEvent&)>& apply) {
  int count = 0;
  for (;;) {
    InputEvent event;
    std::int64_t atMs = 0;
    {
      std::lock_guard lock(mutex_);
      if (events_.empty() || events_.front().atMs > t) return count;
      atMs = events_.front().atMs;
      event = std::move(events_.front().event);
      events_.pop_front();
    }
    // Applied outside the queue's lock, so that an event may add others.
    apply(atMs, event);
    ++count;
  }
}

bool InputQueue::empty() const {
  std::lock_guard lock(mutex_);
  return events_.empty();
}

void InputQueue::setOnPush(std::function<void()> onPush) {
  std::lock_guard lock(mutex_);
  onPush_ = std::move(onPush);
}

}  // namespace vesk::sim
