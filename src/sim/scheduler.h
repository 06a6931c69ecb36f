// Scheduler: virtual time in whole milliseconds. The control step is due every 33 ms and the tick every 100 ms,
// counted from the start of the drive (the first control step at 33 ms, the first tick at 100 ms). Neither
// routine reads a clock: each advances the simulation by its nominal period. At one instant pending input comes
// first, then the control step, then the tick.
#pragma once

#include <cstdint>

namespace vesk::sim {

class Scheduler {
 public:
  static constexpr std::int64_t kControlStepMs = 33;
  static constexpr std::int64_t kTickMs = 100;

  class Routines {
   public:
    virtual void controlStep() = 0;
    virtual void tick() = 0;

   protected:
    ~Routines() = default;
  };

  std::int64_t now() const { return now_; }
  // The earliest time at which a routine is due.
  std::int64_t nextDue() const { return nextControl_ < nextTick_ ? nextControl_ : nextTick_; }
  // Runs every routine due at or before t in time order; now() is t afterwards.
  void runUntil(std::int64_t t, Routines& routines);
  // Runs the routines due strictly before t, leaving those due at t for input that belongs there first.
  void runBefore(std::int64_t t, Routines& routines);

  std::int64_t controlSteps() const { return controlSteps_; }
  std::int64_t ticks() const { return ticks_; }

 private:
  void runDue(std::int64_t limit, bool inclusive, Routines& routines);

  std::int64_t now_ = 0;
  std::int64_t nextControl_ = kControlStepMs;
  std::int64_t nextTick_ = kTickMs;
  std::int64_t controlSteps_ = 0;
  std::int64_t ticks_ = 0;
};

}  // namespace vesk::sim
