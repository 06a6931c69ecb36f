// Side videos: a stretch of the line shown from a side video that follows the position and hands back to the
// route video at the row's return frame; a stop video played by time while the train stands at a station; the
// tick and the control step carrying them; each row played once.
#include <gtest/gtest.h>

#include "sim/side_video.h"
#include "support/drive_fixture.h"

namespace vesk::sim {
namespace {

data::MovieSwitchRow row(int kind, int from, int to, const char* name, int length, int target, int startTime = 0) {
  data::MovieSwitchRow r;
  r.kind = kind;
  r.frameFrom = from;
  r.frameTo = to;
  r.videoName = name;
  r.length = length;
  r.target = target;
  r.startTime = startTime;
  return r;
}

class SideVideoTest : public testing::Test {
 protected:
  SideVideoTest() {
    data::RouteData route = test::levelRoute(10, 60);
    // A stretch of 300 frames shown from "bridge", resuming the route video at 2000.
    route.movieSwitches[0] = row(0, 1000, 1300, "bridge", 300, 2000);
    // A stop video at station 1 after 07:00 (756000 units), 90 side frames long.
    route.movieSwitches[1] = row(2, 4900, 5100, "depot", 90, 1, 756000);
    route.movieSwitchCount = 2;
    route.stations[1].frame = 5000;
    route.stations[1].position = 277778;
    route.stationCount = 2;
    route.frameRate = 15;
    fixture = test::makeDrive(test::testVehicle(), route);
  }
  Drive& drive() { return fixture->drive; }
  TrainState& state() { return fixture->drive.state; }
  std::unique_ptr<test::DriveFixture> fixture;
};

TEST_F(SideVideoTest, AStretchFollowsThePositionAndHandsBackAtTheReturnFrame) {
  state().frame = 1000;
  switchVideo(drive());
  EXPECT_EQ(state().videoMode, 2);
  EXPECT_EQ(state().sideVideoRow, 0);
  EXPECT_EQ(state().sideFrame, 0);
  EXPECT_EQ(state().sideLength, 300);
  EXPECT_EQ(drive().snapshot().sideVideo, "bridge");

  state().frame = 1250;
  advanceSideFrame(drive());
  EXPECT_EQ(state().sideFrame, 250);
  switchVideo(drive());
  EXPECT_EQ(state().videoMode, 2);

  // Leaving the stretch with the side video played to its length: back on the route video, further on.
  state().frame = 1301;
  advanceSideFrame(drive());
  switchVideo(drive());
  EXPECT_EQ(state().videoMode, 0);
  EXPECT_EQ(state().frame, 2000);
  EXPECT_EQ(state().sideVideoRow, -1);
  EXPECT_EQ(state().sideFrame, 0);
  EXPECT_EQ(drive().snapshot().sideVideo, "");
  EXPECT_EQ(drive().line.movieSwitchDone[0], 1);

  // Played once: coming back into the stretch keeps the route video.
  state().frame = 1100;
  switchVideo(drive());
  EXPECT_EQ(state().videoMode, 0);
}

TEST_F(SideVideoTest, OnlyTheRowWhoseVideoPlaysHandsBack) {
  data::RouteData route = fixture->route;
  route.movieSwitches[1] = row(0, 5000, 5100, "tunnel", 100, 5200);
  fixture = test::makeDrive(test::testVehicle(), route);
  state().frame = 1000;
  switchVideo(drive());
  // At the stretch's last frame the side video is at its length, but the other row's return frame is not ours.
  state().frame = 1300;
  advanceSideFrame(drive());
  switchVideo(drive());
  EXPECT_EQ(state().videoMode, 2);
  EXPECT_EQ(state().frame, 1300);
  EXPECT_EQ(drive().line.movieSwitchDone[1], 0);
}

TEST_F(SideVideoTest, AStopVideoPlaysByTimeAtTheStationAndThenEnds) {
  state().frame = 4950;
  state().clock = 755000;  // before the row's time: nothing yet
  switchVideo(drive());
  EXPECT_EQ(state().videoMode, 0);

  state().clock = 757000;
  state().speed = 0.3;  // standing: the speed taken to the nearest integer is 0
  switchVideo(drive());
  EXPECT_EQ(state().videoMode, 1);
  EXPECT_EQ(state().frame, 5000);
  EXPECT_EQ(state().position, 277778);
  EXPECT_EQ(drive().snapshot().sideVideo, "depot");

  // "[FrameRate]" 15 at 30 steps a second: one side frame every second step.
  for (int step = 0; step < 179; ++step) advanceSideFrame(drive());
  EXPECT_EQ(state().sideFrame, 89);
  switchVideo(drive());
  EXPECT_EQ(state().videoMode, 1);
  advanceSideFrame(drive());
  switchVideo(drive());
  EXPECT_EQ(state().videoMode, 0);
  EXPECT_EQ(state().sideVideoRow, -1);
  EXPECT_EQ(drive().line.movieSwitchDone[1], 1);
  switchVideo(drive());
  EXPECT_EQ(state().videoMode, 0);
}

TEST_F(SideVideoTest, AMovingTrainStartsNoStopVideo) {
  state().frame = 4950;
  state().clock = 757000;
  state().speed = 0.6;
  switchVideo(drive());
  EXPECT_EQ(state().videoMode, 0);
}

struct RateCase {
  const char* name;
  int frameRate;
  int steps;
  int wantSideFrames;
};

class SideFrameRate : public testing::TestWithParam<RateCase> {};

TEST_P(SideFrameRate, AdvancesByTheRoutesFrameRate) {
  const RateCase& c = GetParam();
  data::RouteData route = test::levelRoute(1, 60);
  route.frameRate = c.frameRate;
  auto fixture = test::makeDrive(test::testVehicle(), route);
  fixture->drive.state.videoMode = 1;
  for (int i = 0; i < c.steps; ++i) advanceSideFrame(fixture->drive);
  EXPECT_EQ(fixture->drive.state.sideFrame, c.wantSideFrames);
}

INSTANTIATE_TEST_SUITE_P(Rates, SideFrameRate,
                         testing::Values(RateCase{"Fifteen", 15, 30, 15}, RateCase{"Thirty", 30, 30, 30},
                                         RateCase{"Twenty", 20, 30, 20},
                                         // No rate, or one above the steps: one side frame a step.
                                         RateCase{"Zero", 0, 30, 30}, RateCase{"Sixty", 60, 30, 30}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SideVideoTest, TheTickAndTheControlStepCarryIt) {
  state().frame = 1100;
  fixture->runTicks(1);
  EXPECT_EQ(state().videoMode, 2);
  EXPECT_EQ(state().sideFrame, 100);
}

}  // namespace
}  // namespace vesk::sim
