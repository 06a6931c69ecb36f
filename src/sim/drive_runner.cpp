#include "sim/drive_runner.h"

#include <algorithm>
#include <mutex>

#include "sim/drive.h"

namespace vesk::sim {

DriveRunner::DriveRunner(Drive& drive) : drive_(drive) {}

void DriveRunner::runUntil(std::int64_t t) {
  input_.takeDue(t, [&](std::int64_t atMs, const InputEvent& event) {
    // The routines due before the event's time run first; input that came "now" applies at the current time.
    scheduler_.runBefore(std::max(atMs, now()), *this);
    std::lock_guard lock(drive_.mutex());
    drive_.timeMs = now();
    applyInput(drive_, event);
  });
  scheduler_.runUntil(t, *this);
}

void DriveRunner::runUntil(std::int64_t t, const std::function<bool()>& ended) {
  while (now() < t && !ended()) runUntil(std::min(now() + Scheduler::kTickMs, t));
}

void DriveRunner::controlStep() {
  std::lock_guard lock(drive_.mutex());
  drive_.timeMs = now();
  drive_.MMTimer1Timer();
}

void DriveRunner::tick() {
  std::lock_guard lock(drive_.mutex());
  drive_.timeMs = now();
  drive_.Timer1Timer();
  if (afterTick_) afterTick_();
}

void DriveRunner::pauseSounds() {
  std::lock_guard lock(drive_.mutex());
  drive_.sounds.pause_all();
}

void DriveRunner::resumeSounds() {
  std::lock_guard lock(drive_.mutex());
  drive_.sounds.resume_all();
}

void DriveRunner::leaveSoundThread() {
  std::lock_guard lock(drive_.mutex());
  drive_.sounds.leave_thread();
}

}  // namespace vesk::sim
