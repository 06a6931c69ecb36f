// The drive's runners: input applied at its time before the routines due then, the handles of a controller,
// snapshots taken from another thread while the simulation thread drives, and pauses that cut nothing out of
// simulated time.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "sim/drive_runner.h"
#include "sim/realtime_runner.h"
#include "support/drive_fixture.h"

namespace vesk::sim {
namespace {

using namespace std::chrono_literals;

// A drive whose sound bank follows the runner's clock.
struct RunnerFixture {
  RunnerFixture() : runner(fixture->drive) {
    fixture->drive.control.brakeHandle = 0;
    fixture->drive.state.brakeNotch = 0;
  }
  std::unique_ptr<test::DriveFixture> fixture = test::makeDrive();
  DriveRunner runner;
  Drive& drive() { return fixture->drive; }
};

TEST(DriveRunner, InputAtATimeComesBeforeTheRoutinesDueThen) {
  RunnerFixture f;
  std::vector<std::string> seen;
  f.runner.setAfterTick([&] { seen.push_back("tick " + std::to_string(f.runner.now())); });
  f.runner.input().push(InputEvent::call([&](Drive&) { seen.push_back("input " + std::to_string(f.runner.now())); }),
                        100);
  f.runner.input().push(InputEvent::call([&](Drive&) { seen.push_back("late " + std::to_string(f.runner.now())); }),
                        150);
  f.runner.runUntil(200);
  EXPECT_EQ(seen, (std::vector<std::string>{"input 100", "tick 100", "late 150", "tick 200"}));
  EXPECT_EQ(f.runner.now(), 200);
  EXPECT_EQ(f.runner.controlSteps(), 6);
}

TEST(DriveRunner, EventsOfOneTimeKeepTheirOrderAndInputForNowAppliesFirst) {
  RunnerFixture f;
  std::string order;
  const auto mark = [&](char c) { return InputEvent::call([&order, c](Drive&) { order += c; }); };
  f.runner.input().push(mark('b'), 50);
  f.runner.input().push(mark('c'), 50);
  f.runner.input().push(mark('a'));
  f.runner.input().push(mark('d'), 400);  // after the end: stays queued
  f.runner.runUntil(300);
  EXPECT_EQ(order, "abc");
  EXPECT_FALSE(f.runner.input().empty());
}

TEST(DriveRunner, KeysReachTheHandlesThroughTheQueue) {
  RunnerFixture f;
  f.runner.input().push(InputEvent::typed('8'), 0);
  f.runner.input().push(InputEvent::typed('8'), 10);
  f.runner.input().push(InputEvent::hold('4', true), 20);
  f.runner.runUntil(33);
  EXPECT_EQ(f.drive().control.powerHandle, 2);
  EXPECT_TRUE(f.drive().buzzerKeyHeld);
}

struct ControllerCase {
  const char* name;
  std::optional<int> power;
  std::optional<int> brake;
  int powerMode;
  int wantPower;
  int wantBrake;
};

class ControllerHandles : public testing::TestWithParam<ControllerCase> {};

// Five notches: mode 0 has notches 1-3, mode 1 notches 4-5; eight brake positions (7 service, emergency).
TEST_P(ControllerHandles, MapToTheSelectedPowerModeAndTheBrakePositions) {
  const ControllerCase& c = GetParam();
  data::VehicleSpec v = test::testVehicle();
  v.notchRows[3].mode = 1;
  v.notchRows[4].mode = 1;
  v.notchModeStart[1] = 3;
  auto fixture = test::makeDrive(v);
  Drive& d = fixture->drive;
  d.control.powerMode = c.powerMode;
  d.control.brakeHandle = -3;
  d.control.powerHandle = 1;
  d.controllerHandles(c.power, c.brake);
  EXPECT_EQ(d.control.powerHandle, c.wantPower);
  EXPECT_EQ(d.control.brakeHandle, c.wantBrake);
  EXPECT_EQ(d.control.powerChangePending, c.power ? 1 : 0);
  EXPECT_EQ(d.control.brakeChangePending, c.brake ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Positions, ControllerHandles,
                         testing::Values(ControllerCase{"power2InMode0", 2, std::nullopt, 0, 2, -3},
                                         ControllerCase{"power6BeyondMode0GivesItsLast", 6, std::nullopt, 0, 3, -3},
                                         ControllerCase{"power1InMode1IsNotch4", 1, std::nullopt, 1, 4, -3},
                                         ControllerCase{"power4InMode1GivesNotch5", 4, std::nullopt, 1, 5, -3},
                                         ControllerCase{"neutral", 0, 0, 0, 0, 0},
                                         ControllerCase{"brake5", 0, 5, 0, 0, -5},
                                         ControllerCase{"brake9StopsAtEmergency", 0, 9, 0, 0, -8}),
                         [](const testing::TestParamInfo<ControllerCase>& info) {
                           return std::string(info.param.name);
                         });

TEST(RealTimeRunner, SnapshotsFromAnotherThreadWhileTheDriveRuns) {
  RunnerFixture f;
  // The debugging auto-run moves the train at the video's speed, so the frame advances.
  f.drive().control.autoRun = 1;
  // Ten times real time: two simulated seconds in about 200 ms.
  RealTimeRunner realTime(f.runner, 10.0);
  std::atomic<bool> done = false;
  std::int32_t lastFrame = -1;
  int snapshots = 0;
  bool framesOrdered = true;
  std::thread painter([&] {
    while (!done) {
      const DriveSnapshot shot = f.drive().snapshot();
      framesOrdered = framesOrdered && shot.frame >= lastFrame;
      lastFrame = shot.frame;
      ++snapshots;
      std::this_thread::sleep_for(1ms);
    }
  });
  realTime.start();
  for (int i = 0; i < 4; ++i) f.runner.input().push(InputEvent::typed('8'));
  while (realTime.virtualNowMs() < 2000) std::this_thread::sleep_for(5ms);
  realTime.stop();
  done = true;
  painter.join();
  EXPECT_GT(snapshots, 20);
  EXPECT_TRUE(framesOrdered);
  EXPECT_EQ(f.drive().control.powerHandle, 4);
  EXPECT_GT(f.drive().state.frame, 0);
  EXPECT_GE(lastFrame, 0);
  EXPECT_GE(f.runner.ticks(), 20);
  const TimingReport timing = realTime.timing();
  EXPECT_GT(timing.controlSteps, 50);
}

TEST(RealTimeRunner, APauseStopsTheRoutinesAndResumesWithoutAJump) {
  RunnerFixture f;
  RealTimeRunner realTime(f.runner, 10.0);
  realTime.start();
  while (realTime.virtualNowMs() < 500) std::this_thread::sleep_for(2ms);
  realTime.pause();
  const std::int64_t ticksAtPause = f.runner.ticks();
  const std::int64_t timeAtPause = realTime.virtualNowMs();
  // The handles keep working while paused.
  f.runner.input().push(InputEvent::typed('8'));
  std::this_thread::sleep_for(150ms);  // 1.5 simulated seconds, had it run
  EXPECT_EQ(f.runner.ticks(), ticksAtPause);
  EXPECT_EQ(f.drive().snapshot().timeMs <= timeAtPause, true);
  EXPECT_EQ(f.drive().control.powerHandle, 1);
  realTime.resume();
  std::this_thread::sleep_for(30ms);
  realTime.stop();
  // After the resume the drive went on from where it stood, not 1.5 s later.
  EXPECT_LT(realTime.virtualNowMs(), timeAtPause + 1000);
  EXPECT_GT(f.runner.ticks(), ticksAtPause);
}

TEST(RealTimeRunner, ADriveOfASetLengthStopsAtItsEnd) {
  RunnerFixture f;
  RealTimeRunner realTime(f.runner, 20.0);
  realTime.setEndTime(1050);
  f.runner.input().push(InputEvent::typed('8'), 1050);  // due at the end: applied
  f.runner.input().push(InputEvent::typed('8'), 1051);  // after it: not
  realTime.start();
  realTime.waitUntilEnded();
  std::this_thread::sleep_for(20ms);  // had it gone on, another tick
  realTime.stop();
  EXPECT_EQ(f.runner.now(), 1050);
  EXPECT_EQ(f.runner.ticks(), 10);
  EXPECT_EQ(f.runner.controlSteps(), 31);
  EXPECT_EQ(f.drive().control.powerHandle, 1);
}

}  // namespace
}  // namespace vesk::sim
