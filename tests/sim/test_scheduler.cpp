#include <gtest/gtest.h>

#include <string>

#include "sim/scheduler.h"

namespace vesk::sim {
namespace {

class Recorder : public Scheduler::Routines {
 public:
  explicit Recorder(const Scheduler& s) : scheduler(s) {}
  void controlStep() override { log += "c" + std::to_string(scheduler.now()) + " "; }
  void tick() override { log += "t" + std::to_string(scheduler.now()) + " "; }
  const Scheduler& scheduler;
  std::string log;
};

TEST(Scheduler, RunsBothPeriodsFromTheStartControlStepFirst) {
  Scheduler s;
  Recorder r(s);
  s.runUntil(200, r);
  EXPECT_EQ(r.log, "c33 c66 c99 t100 c132 c165 c198 t200 ");
  EXPECT_EQ(s.now(), 200);
}

TEST(Scheduler, ControlStepBeforeTickAtTheSameInstant) {
  Scheduler s;
  Recorder r(s);
  // 3300 ms is the 100th control step and the 33rd tick.
  s.runUntil(3300, r);
  EXPECT_EQ(r.log.substr(r.log.size() - 12), "c3300 t3300 ");
  EXPECT_EQ(s.controlSteps(), 100);
  EXPECT_EQ(s.ticks(), 33);
}

TEST(Scheduler, RunBeforeLeavesTheInstantForInput) {
  Scheduler s;
  Recorder r(s);
  s.runBefore(100, r);
  EXPECT_EQ(r.log, "c33 c66 c99 ");
  EXPECT_EQ(s.nextDue(), 132 > 100 ? 100 : 132);
  s.runUntil(100, r);
  EXPECT_EQ(r.log, "c33 c66 c99 t100 ");
}

TEST(Scheduler, KeepsPeriodsOverLongRuns) {
  Scheduler s;
  Recorder r(s);
  s.runUntil(3'600'000, r);
  EXPECT_EQ(s.ticks(), 36000);
  EXPECT_EQ(s.controlSteps(), 3'600'000 / 33);
}

}  // namespace
}  // namespace vesk::sim
