#include <gtest/gtest.h>

#include "sim/line_ends.h"
#include "support/drive_fixture.h"

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

TEST_F(LineEndTest, EndOfTheVideoStopsTheTrainBeforeTheLastStation) {
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

TEST_F(LineEndTest, EndOfTheVideoIgnoredWhileAnotherStopComes) {
  f->drive.state.nextStop = 0;
  f->drive.state.frame = 30005;
  f->drive.state.speed = 40;
  lineEndBarriers(f->drive);
  EXPECT_EQ(f->drive.state.frame, 30005);
  EXPECT_EQ(f->drive.state.speed, 40);
}

TEST_F(LineEndTest, BackwardsBelowFrameOne) {
  f->drive.state.nextStop = 1;
  f->drive.state.frame = -3;
  f->drive.state.speed = -10;
  lineEndBarriers(f->drive);
  EXPECT_EQ(f->drive.state.frame, 1);
  EXPECT_EQ(f->drive.state.speed, 0);
}

TEST_F(LineEndTest, NoVideoNoEnd) {
  f->drive.lastFramePosition = 0;
  f->drive.state.nextStop = 1;
  f->drive.state.frame = 99999;
  f->drive.state.speed = 40;
  lineEndBarriers(f->drive);
  EXPECT_EQ(f->drive.state.speed, 40);
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
  lineEndBarriers(f->drive);
  EXPECT_EQ(s.frame, GetParam().frameAfter);
  EXPECT_EQ(s.speed == 0, GetParam().stopped);
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
