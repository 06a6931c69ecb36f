#include "sim/scheduler.h"

namespace vesk::sim {

void Scheduler::runDue(std::int64_t limit, bool inclusive, Routines& routines) {
  auto due = [&](std::int64_t at) { return inclusive ? at <= limit : at < limit; };
  while (due(nextDue())) {
    // At equal times the control step runs first.
    if (nextControl_ <= nextTick_) {
      now_ = nextControl_;
      nextControl_ += kControlStepMs;
      ++controlSteps_;
      routines.controlStep();
    } else {
      now_ = nextTick_;
      nextTick_ += kTickMs;
      ++ticks_;
      routines.tick();
    }
  }
}

void Scheduler::runUntil(std::int64_t t, Routines& routines) {
  runDue(t, true, routines);
  if (t > now_) now_ = t;
}

void Scheduler::runBefore(std::int64_t t, Routines& routines) {
  runDue(t, false, routines);
  if (t > now_) now_ = t;
}

}  // namespace vesk::sim
