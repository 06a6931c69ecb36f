// DriveRunner: runs a drive on virtual time. Input waiting in its queue is applied at the time it belongs to,
// before the routines due then; each routine and each input runs holding the drive's lock, so that another
// thread can take snapshots between them. The headless runner drives it as fast as the machine goes, the
// window's simulation thread (RealTimeRunner) at the pace of the clock on the wall.
#pragma once

#include <cstdint>
#include <functional>

#include "sim/input_queue.h"
#include "sim/scheduler.h"

namespace vesk::sim {

class Drive;

class DriveRunner final : private Scheduler::Routines {
 public:
  explicit DriveRunner(Drive& drive);
  DriveRunner(const DriveRunner&) = delete;
  DriveRunner& operator=(const DriveRunner&) = delete;

  InputQueue& input() { return input_; }
  Drive& drive() { return drive_; }

  // Applies the input due up to `t` and runs every routine due up to `t`; now() is `t` afterwards.
  void runUntil(std::int64_t t);
  // Runs a tick at a time until `t` or until `ended()` holds after a tick (the end of a headless drive).
  void runUntil(std::int64_t t, const std::function<bool()>& ended);

  // Virtual time in milliseconds since the drive started. Read it on the thread that runs the drive.
  std::int64_t now() const { return scheduler_.now(); }
  std::int64_t nextDue() const { return scheduler_.nextDue(); }
  std::int64_t controlSteps() const { return scheduler_.controlSteps(); }
  std::int64_t ticks() const { return scheduler_.ticks(); }

  // Called after every tick, with the drive's lock held (the headless runner's trace).
  void setAfterTick(std::function<void()> afterTick) { afterTick_ = std::move(afterTick); }

  // Pause and resume the sound bank (on the thread that runs the drive, as every sound operation).
  void pauseSounds();
  void resumeSounds();
  // The thread that ran the drive is ending: the sound bank lets go of what it kept for it.
  void leaveSoundThread();

 private:
  void controlStep() override;
  void tick() override;

  Drive& drive_;
  Scheduler scheduler_;
  InputQueue input_;
  std::function<void()> afterTick_;
};

}  // namespace vesk::sim
