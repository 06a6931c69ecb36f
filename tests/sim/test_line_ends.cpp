#include <gtest/gtest.h>

#include <algorithm>

#include "media/virtual_sound_bank.h"
#include "sim/drive_setup.h"
#include "sim/line_ends.h"
#include "sim/scheduler.h"
#include "support/drive_fixture.h"
#include "support/temp_dir.h"
#include "support/test_pack.h"

namespace vesk::sim {
namespace {

using test::makeDrive;

std::shared_ptr<const media::Wave> loopWave() {
  auto w = std::make_shared<media::Wave>();
  w->sampleRate = 22050;
  w->channels = 1;
  w->frames = 22050;
  return w;
}

class LineEndTest : public testing::Test {
 protected:
  LineEndTest() {
    data::RouteData r = test::levelRoute(10, 60);
    r.stations[0].name = "A";
    r.stations[1].name = "B";
    r.stationCount = 2;
    f = makeDrive(test::testVehicle(), r);
    f->drive.lastFramePosition = 30000;
    for (int ch = 0; ch < 4; ++ch) {
      f->sounds.bind_wave(ch, loopWave());
      f->sounds.play_loop(ch);
    }
    f->drive.soundLayout.driveSoundCount = 2;
    f->drive.soundLayout.soundDataCount = 1;
  }
  std::unique_ptr<test::DriveFixture> f;
};

TEST_F(LineEndTest, EndOfTheVideoStopsTheTrain) {
  TrainState& s = f->drive.state;
  s.nextStop = 1;
  s.frame = 30005;
  s.speed = 40;
  s.powerNotch = 3;
  s.engagedGear = 2;
  f->drive.control.powerHandle = 3;
  f->drive.control.gear = 2;
  lineEndBarriers(f->drive);
  EXPECT_EQ(s.frame, 30000);
  EXPECT_EQ(s.speed, 0);
  EXPECT_EQ(s.powerNotch, 0);
  EXPECT_EQ(f->drive.control.powerHandle, 0);
  EXPECT_EQ(s.engagedGear, 0);
  EXPECT_EQ(f->drive.control.gear, 1);
  // Channels 1 to D + S stop; channel 0 and those beyond play on.
  EXPECT_TRUE(f->sounds.is_playing(0));
  EXPECT_FALSE(f->sounds.is_playing(1));
  EXPECT_FALSE(f->sounds.is_playing(3));
  // Channel 3 is D + S + 0: the last one stopped.
  f->sounds.play_loop(3);
  EXPECT_TRUE(f->sounds.is_playing(3));
}

// The ends hold whatever the next stop is; the forward end only while a video is open.
struct LineEndCase {
  const char* name;
  int nextStop;
  std::int32_t lastFramePosition;
  int frame;
  double speed;
  int frameAfter;
  bool stopped;
};
void PrintTo(const LineEndCase& testCase, std::ostream* out) { *out << testCase.name; }

class LineEndCaseTest : public LineEndTest, public testing::WithParamInterface<LineEndCase> {};

TEST_P(LineEndCaseTest, HoldsTheTrain) {
  const LineEndCase& c = GetParam();
  TrainState& s = f->drive.state;
  f->drive.lastFramePosition = c.lastFramePosition;
  f->drive.control.autoRun = 1;
  s.nextStop = c.nextStop;
  s.frame = c.frame;
  s.speed = c.speed;
  lineEndBarriers(f->drive);
  EXPECT_EQ(s.frame, c.frameAfter);
  EXPECT_EQ(s.speed == 0, c.stopped);
  // The stop ends the debugging auto-run; anywhere else it goes on.
  EXPECT_EQ(f->drive.control.autoRun, c.stopped ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(
    Ends, LineEndCaseTest,
    testing::Values(LineEndCase{"video_end_before_an_intermediate_stop", 0, 30000, 30005, 40, 30000, true},
                    LineEndCase{"video_end_before_the_last_station", 1, 30000, 30005, 40, 30000, true},
                    LineEndCase{"video_end_after_the_last_station", 2, 30000, 30005, 40, 30000, true},
                    LineEndCase{"at_the_last_frame", 0, 30000, 30000, 40, 30000, false},
                    LineEndCase{"past_the_end_going_backwards", 0, 30000, 30005, -5, 30005, false},
                    LineEndCase{"no_video_no_forward_end", 1, 0, 99999, 40, 99999, false},
                    LineEndCase{"below_frame_one_before_an_intermediate_stop", 0, 30000, -3, -10, 1, true},
                    LineEndCase{"below_frame_one_without_a_video", 0, 0, -3, -10, 1, true},
                    LineEndCase{"frame_zero_going_backwards", 1, 30000, 0, -10, 1, true},
                    LineEndCase{"at_frame_one", 0, 30000, 1, -10, 1, false},
                    LineEndCase{"below_frame_one_going_forwards", 0, 30000, -3, 10, -3, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LineEndTest, SideVideoModesHaveNoEnds) {
  f->drive.state.videoMode = 1;
  f->drive.state.frame = -3;
  f->drive.state.speed = -10;
  lineEndBarriers(f->drive);
  EXPECT_EQ(f->drive.state.frame, -3);
  EXPECT_EQ(f->drive.state.speed, -10);
}

struct BarrierCase {
  const char* name;
  int reversed;
  double speed;
  int frame;
  int frameAfter;
  bool stopped;
};
void PrintTo(const BarrierCase& testCase, std::ostream* out) { *out << testCase.name; }

class MovieStopTest : public LineEndTest, public testing::WithParamInterface<BarrierCase> {};

TEST_P(MovieStopTest, Barrier) {
  data::RouteData& r = f->route;
  r.movieStops[0] = 5000;
  r.movieStopCount = 1;
  TrainState& s = f->drive.state;
  s.reversed = GetParam().reversed;
  s.speed = GetParam().speed;
  s.frame = GetParam().frame;
  f->drive.control.autoRun = 1;
  lineEndBarriers(f->drive);
  EXPECT_EQ(s.frame, GetParam().frameAfter);
  EXPECT_EQ(s.speed == 0, GetParam().stopped);
  EXPECT_EQ(f->drive.control.autoRun, GetParam().stopped ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(Frames, MovieStopTest,
                         testing::Values(BarrierCase{"just_beyond", 0, 30, 5001, 5000, true},
                                         BarrierCase{"at_reach", 0, 30, 5500, 5000, true},
                                         BarrierCase{"beyond_reach", 0, 30, 5501, 5501, false},
                                         BarrierCase{"at_the_barrier", 0, 30, 5000, 5000, false},
                                         BarrierCase{"backwards_before_reversing", 0, -30, 4990, 4990, false},
                                         BarrierCase{"reversed_backwards_below", 1, -30, 4999, 5001, true},
                                         BarrierCase{"reversed_backwards_far_below", 1, -30, 4499, 4499, false},
                                         BarrierCase{"reversed_forwards", 1, 30, 5100, 5100, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(LineEndTest, RouteWithoutMovieStopHasNoBarrier) {
  f->drive.state.frame = 300;
  f->drive.state.speed = 30;
  lineEndBarriers(f->drive);
  EXPECT_EQ(f->drive.state.speed, 30);
  EXPECT_EQ(f->drive.state.frame, 300);
}

// Headless drives on the test pack (stations at frames 30, 1500 and 2900, a video of 3000 frame positions).
class PackDriveTest : public testing::Test {
 protected:
  void SetUp() override {
    test::writePack(dir);
    // The pack's train, with brake cylinders that release.
    test::writeText(dir, test::kPackVehicle, test::packVehicleFile() + "[BrakeUp]\n120\n[BrakeDown]\n150\n");
    dir.write("movie/TEST.AVI", "x");
    LoadServices services;
    services.progress = [](std::string_view) {};
    services.notice = [](std::string_view) {};
    services.videoFrameCount = [](const std::filesystem::path&) { return std::optional<std::int64_t>(1500); };
    loaded = loadDrive({dir.path(), {}, test::kPackVehicle, test::kPackRoute, 0}, bank, services);
    // It has no compressor settings either: it starts with its air charged.
    TrainState& s = loaded->drive->state;
    s.mr = core::Fixed::fromInt(800);
    s.er = core::Fixed::fromInt(490);
    s.bp = 490;
  }
  Drive& drive() { return *loaded->drive; }
  // Runs the drive tick by tick for `ms`, keeping the lowest frame it reached.
  int runKeepingLowestFrame(std::int64_t ms) {
    int lowest = drive().state.frame;
    const std::int64_t end = scheduler.now() + ms;
    while (scheduler.now() < end) {
      scheduler.runUntil(scheduler.now() + Scheduler::kTickMs, drive());
      lowest = std::min(lowest, drive().state.frame);
    }
    return lowest;
  }

  test::TempDir dir;
  Scheduler scheduler;
  media::VirtualSoundBank bank{[this] { return scheduler.now(); }};
  std::unique_ptr<LoadedDrive> loaded;
};

TEST_F(PackDriveTest, ReversingWithPowerFromTheFirstStationStopsAtFrameOne) {
  ASSERT_EQ(drive().lastFramePosition, 3000);
  ASSERT_NE(drive().state.nextStop, drive().route.stationCount - 1);
  drive().AsciiDown('b');
  drive().AsciiDown('5');
  for (int i = 0; i < 4; ++i) drive().AsciiDown('8');
  ASSERT_EQ(drive().control.powerHandle, 4);
  // Ten minutes of full power backwards.
  const int lowest = runKeepingLowestFrame(600000);
  EXPECT_GE(lowest, 1);
  EXPECT_EQ(drive().state.frame, 1);
  EXPECT_EQ(drive().state.speed, 0);
  EXPECT_EQ(drive().control.powerHandle, 0);
  EXPECT_EQ(drive().state.powerNotch, 0);
  // Held there: 1 km behind the start would be 1800 frames.
  EXPECT_GT(drive().state.position, -1000);
}

TEST_F(PackDriveTest, AutoRunStopsAtTheBarrier) {
  drive().AsciiDown('5');
  drive().keydowns(Key::F1, true);
  ASSERT_EQ(drive().control.autoRun, 1);
  runKeepingLowestFrame(120000);
  // The "[MovieStop]" barrier at frame 2950 holds the train and ends the auto-run.
  EXPECT_EQ(drive().control.autoRun, 0);
  EXPECT_EQ(drive().state.frame, 2950);
  const double position = drive().state.position;
  runKeepingLowestFrame(10000);
  EXPECT_EQ(drive().state.frame, 2950);
  EXPECT_EQ(drive().state.position, position);
}

// The fixture's level line without a barrier: the end of the video is the end of the line.
TEST(LineEndDrive, AutoRunStopsAtTheEndOfTheVideo) {
  data::RouteData r = test::levelRoute(10, 60);
  r.stations[0].name = "A";
  r.stations[1].name = "B";
  r.stations[2].name = "C";
  r.stationCount = 3;
  auto f = makeDrive(test::testVehicle(), r);
  f->drive.lastFramePosition = 3000;
  f->drive.state.nextStop = 1;
  f->drive.control.autoRun = 1;
  f->runMs(120000);  // 3000 frames at one frame a control step take 100 s
  EXPECT_EQ(f->drive.control.autoRun, 0);
  EXPECT_EQ(f->drive.state.frame, 3000);
  EXPECT_EQ(f->drive.state.speed, 0);
  const double position = f->drive.state.position;
  f->runMs(60000);
  EXPECT_EQ(f->drive.state.frame, 3000);
  EXPECT_EQ(f->drive.state.position, position);
}

TEST(RollBack, ForwardReverserAndRollingBackLatchesEmergency) {
  data::VehicleSpec v = test::testVehicle();
  v.backMode = 1;
  auto f = makeDrive(v);
  f->drive.state.speed = -5.5;
  f->drive.state.brakeDelayCount = 3;
  rollBackProtection(f->drive);
  EXPECT_EQ(f->drive.state.emergencyLatched, 1);
  EXPECT_EQ(f->drive.control.brakeChangePending, 1);
  EXPECT_EQ(f->drive.control.elecBrakeChangePending, 1);
  EXPECT_EQ(f->drive.state.brakeDelayCount, 0);
}

TEST(RollBack, OnlyWhenFittedForwardAndFasterThanFive) {
  for (int backMode : {0, 1}) {
    for (int reverser : {1, -1}) {
      for (double speed : {-5.0, -6.0}) {
        data::VehicleSpec v = test::testVehicle();
        v.backMode = backMode;
        auto f = makeDrive(v);
        f->drive.control.reverser = reverser;
        f->drive.state.speed = speed;
        rollBackProtection(f->drive);
        EXPECT_EQ(f->drive.state.emergencyLatched, backMode == 1 && reverser == 1 && speed < -5 ? 1 : 0);
      }
    }
  }
}

}  // namespace
}  // namespace vesk::sim
