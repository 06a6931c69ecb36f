// The "Move" menu's jump to a station: the train stands at the station's stop with the handles at the last
// service notch, the clock at the station's time in the timetable (interpolated for a station without one),
// what the run passed forgotten, every sound but the first channel silent, the protection state reset outside
// signal and limit sections. And the beginner mode and the stop lines of the Display menu.
#include <gtest/gtest.h>

#include "data/track_positions.h"
#include "sim/timetable_clock.h"
#include "support/drive_fixture.h"

namespace vesk::sim {
namespace {

data::StationRow station(const char* name, int kind, int frame, int departureTime) {
  data::StationRow s;
  s.name = name;
  s.kind = kind;
  s.frame = frame;
  s.departureTime = departureTime;
  return s;
}

// Four stations 1800 frames (1 km) apart; the second and third without times.
data::RouteData timetabledRoute() {
  data::RouteData r = test::levelRoute(10, 60);
  r.stations[0] = station("始発", 0, 0, 25200);
  r.stations[1] = station("中央", 1, 1800, 0);
  r.stations[2] = station("港", 0, 5400, 0);
  r.stations[3] = station("終点", 0, 7200, 26400);
  r.stationCount = 4;
  for (int k = 0; k < 4; ++k) {
    r.stations[static_cast<std::size_t>(k)].position =
        data::framePosition(r, r.stations[static_cast<std::size_t>(k)].frame).value_or(0);
  }
  return r;
}

struct ClockCase {
  const char* name;
  std::vector<std::pair<int, int>> framesAndTimes;
  int station;
  std::optional<std::int32_t> want;
};

class TimetableClock : public testing::TestWithParam<ClockCase> {};

TEST_P(TimetableClock, ComesFromTheTimetable) {
  const ClockCase& c = GetParam();
  data::RouteData route;
  for (const auto& [frame, time] : c.framesAndTimes) {
    route.stations[static_cast<std::size_t>(route.stationCount++)] = station("駅", 0, frame, time);
  }
  EXPECT_EQ(timetableClock(route, c.station), c.want);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TimetableClock,
    testing::Values(ClockCase{"OwnTime", {{0, 25200}, {1000, 25800}}, 1, 25800},
                    // A quarter of the way by frame from 25200 to 26400.
                    ClockCase{"InterpolatedByFrame", {{0, 25200}, {1000, 0}, {4000, 26400}}, 1, 25500},
                    ClockCase{"SkipsStationsWithoutTimes", {{0, 25200}, {1000, 0}, {3000, 0}, {4000, 26400}}, 2, 26100},
                    ClockCase{"OnlyEarlierTimes", {{0, 25200}, {1000, 0}}, 1, 25200},
                    ClockCase{"OnlyLaterTimes", {{0, 0}, {1000, 25800}}, 0, 25800},
                    ClockCase{"NoTimesAtAll", {{0, 0}, {1000, 0}}, 1, std::nullopt},
                    ClockCase{"NeighboursOnOneFrame", {{500, 25200}, {500, 0}, {500, 26400}}, 1, 25200},
                    ClockCase{"NoSuchStation", {{0, 25200}}, 3, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

class StationJumpTest : public testing::Test {
 protected:
  StationJumpTest() : fixture(test::makeDrive(test::testVehicle(), timetabledRoute())) {
    Drive& d = fixture->drive;
    d.state.frame = 900;
    d.state.speed = 45;
    d.state.clock = 1000;
    d.control.powerHandle = 3;
    d.state.powerNotch = 3;
    d.control.brakeHandle = 0;
  }
  std::unique_ptr<test::DriveFixture> fixture;
};

TEST_F(StationJumpTest, StandsAtTheStationWithTheHandlesAtTheLastServiceNotch) {
  Drive& d = fixture->drive;
  d.line.stations[1].served = 1;
  d.StationClick(2);
  EXPECT_EQ(d.state.frame, 5400);
  EXPECT_EQ(d.state.position, static_cast<double>(d.route.stations[2].position));
  EXPECT_EQ(d.state.speed, 0);
  EXPECT_EQ(d.state.currentStation, 2);
  EXPECT_EQ(d.state.nextStop, 2);
  EXPECT_EQ(d.state.distanceToStop, 0);
  EXPECT_EQ(d.texts.NextStopText, "ただいま 港");
  // Three quarters of the way by frame (5400 of 7200) from 25200 to 26400.
  EXPECT_EQ(d.state.clock, 26100);
  EXPECT_EQ(d.control.powerHandle, 0);
  EXPECT_EQ(d.state.powerNotch, 0);
  EXPECT_EQ(d.control.brakeHandle, -7);
  EXPECT_EQ(d.state.brakeNotch, -7);
  EXPECT_EQ(d.state.sapNotch, -7);
  EXPECT_EQ(d.line.stations[1].served, 0);
}

TEST_F(StationJumpTest, TheTrainStaysThereWhenTheRoutinesRun) {
  Drive& d = fixture->drive;
  d.StationClick(2);
  fixture->runTicks(10);
  EXPECT_EQ(d.state.frame, 5400);
  EXPECT_EQ(d.state.speed, 0);
}

TEST_F(StationJumpTest, SilencesEverySoundButTheFirstChannel) {
  Drive& d = fixture->drive;
  auto wave = std::make_shared<media::Wave>();
  wave->sampleRate = 22050;
  wave->channels = 1;
  wave->frames = 22050 * 60;
  wave->samples.resize(static_cast<std::size_t>(wave->frames));
  for (int channel : {0, 5, 150}) {
    fixture->sounds.bind_wave(channel, wave);
    fixture->sounds.play_loop(channel);
  }
  d.StationClick(2);
  EXPECT_TRUE(fixture->sounds.is_playing(0));
  EXPECT_FALSE(fixture->sounds.is_playing(5));
  EXPECT_FALSE(fixture->sounds.is_playing(150));
}

TEST_F(StationJumpTest, ProtectionStateIsResetOnlyOutsideSignalAndLimitSections) {
  Drive& d = fixture->drive;
  d.state.atsSpeedCode = 45;
  d.state.shownSignalImage = 8;
  d.StationClick(2);
  EXPECT_EQ(d.state.atsSpeedCode, kNone);
  EXPECT_EQ(d.state.shownSignalImage, kNone);

  data::RouteData route = timetabledRoute();
  route.signals[0].visibleFrom = 5000;
  route.signals[0].visibleTo = 5500;
  route.signalCount = 1;
  auto signalled = test::makeDrive(test::testVehicle(), route);
  signalled->drive.state.atsSpeedCode = 45;
  signalled->drive.StationClick(2);
  EXPECT_EQ(signalled->drive.state.atsSpeedCode, 45);
}

TEST_F(StationJumpTest, ASideVideoEndsWithTheJump) {
  Drive& d = fixture->drive;
  d.state.videoMode = 2;
  d.state.sideVideoRow = 0;
  d.state.sideFrame = 40;
  d.StationClick(0);
  EXPECT_EQ(d.state.videoMode, 0);
  EXPECT_EQ(d.state.sideVideoRow, -1);
  EXPECT_EQ(d.state.clock, 25200);
}

TEST_F(StationJumpTest, AStationThatDoesNotExistChangesNothing) {
  Drive& d = fixture->drive;
  d.StationClick(9);
  d.StationClick(-1);
  EXPECT_EQ(d.state.frame, 900);
  EXPECT_EQ(d.state.speed, 45);
}

TEST(DisplayMenu, BeginnerModeSwitchesTheAtsAndItsLamp) {
  auto fixture = test::makeDrive();
  Drive& d = fixture->drive;
  media::Sprite lamp;
  lamp.picture = "img_Lamp_Ats1";
  lamp.visible = false;
  fixture->sprites.add(lamp);
  d.setBeginnerMode(true);
  EXPECT_EQ(d.settings.ATS, 1);
  EXPECT_EQ(d.control.atsOn, 0);
  d.setBeginnerMode(false);
  EXPECT_EQ(d.settings.ATS, 0);
  EXPECT_EQ(d.control.atsOn, 1);
  EXPECT_TRUE(fixture->sprites.findByPicture("img_lamp_ats1")->visible);
}

TEST(DisplayMenu, StopLinesHideAndShowTogether) {
  auto fixture = test::makeDrive();
  for (const char* name : {"img_unten_teimokuS", "img_unten_teimokuM", "img_unten_teimokuE", "img_unten_teimoku"}) {
    media::Sprite s;
    s.picture = name;
    fixture->sprites.add(s);
  }
  fixture->drive.setStopLinesShown(false);
  EXPECT_FALSE(fixture->sprites.findByPicture("img_unten_teimokuS")->visible);
  EXPECT_FALSE(fixture->sprites.findByPicture("img_unten_teimokuM")->visible);
  EXPECT_FALSE(fixture->sprites.findByPicture("img_unten_teimokuE")->visible);
  // The stop target is not a line.
  EXPECT_TRUE(fixture->sprites.findByPicture("img_unten_teimoku")->visible);
  fixture->drive.setStopLinesShown(true);
  EXPECT_TRUE(fixture->sprites.findByPicture("img_unten_teimokuM")->visible);
}

}  // namespace
}  // namespace vesk::sim
