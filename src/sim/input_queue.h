// InputQueue: input waiting for the simulation, each event with the virtual time it belongs to. Any thread may add
// events; the simulation takes them, in time order (events of one time in the order they came), before the
// routines due at that time.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <limits>
#include <mutex>

#include "sim/input_event.h"

namespace vesk::sim {

class InputQueue {
 public:
  // As soon as the simulation can take it.
  static constexpr std::int64_t kNow = std::numeric_limits<std::int64_t>::min();

  void push(InputEvent event, std::int64_t atMs = kNow);
  // Hands every event due at or before `t` to `apply` with its time, in order. Returns how many.
  int takeDue(std::int64_t t, const std::function<void(std::int64_t atMs, const InputEvent&)>& apply);
  bool empty() const;
  // Called whenever an event is added (the real-time runner wakes on it).
  void setOnPush(std::function<void()> onPush);

 private:
  struct Timed {
    std::int64_t atMs;
    InputEvent event;
  };
  mutable std::mutex mutex_;
  std::deque<Timed> events_;  // sorted by time, stable
  std::function<void()> onPush_;
};

}  // namespace vesk::sim
