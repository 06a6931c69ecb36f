// The protection sections one at a time, on a drive whose state the tests set: ATS-P's patterns and states,
// the ATS-S alarm's sounds and lamps, the speed checks, ATC, the signal on the forward view, the speed-limit
// sign, the road traffic lights and the vigilance device's lamp.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "data/track_positions.h"
#include "sim/protection.h"
#include "support/drive_fixture.h"
#include "support/signal_route.h"

namespace vesk::sim {
namespace {

using media::SoundOperation;

std::shared_ptr<const media::Wave> secondOfSound() {
  auto w = std::make_shared<media::Wave>();
  w->sampleRate = 22050;
  w->channels = 1;
  w->frames = 22050;
  return w;
}

// A level line recorded at 60 km/h (a frame every 55.6 cm) with a five-speed "[Speed_Signal]", two stations
// (section speed 80) and the protection sprites and lamps of a panel.
class ProtectionTest : public testing::Test {
 protected:
  void make(data::RouteData r, data::VehicleSpec v = test::protectedVehicle()) {
    r.signalSpeeds = {0, 25, 45, 65, 110};
    r.signalSpeedCount = 5;
    f = test::makeDrive(std::move(v), std::move(r));
    for (const char* name :
         {"img_Lamp_Ats1", "img_Lamp_Ats2", "img_Lamp_Atsp1", "img_Lamp_Atsp2", "img_Lamp_EB", "img_unten_limit",
          "img_cabsignal", "img_unten_signal", "img_unten_signal_S", "img_unten_signal_L", "img_unten_signal_R"}) {
      media::Sprite s;
      s.picture = name;
      s.visible = false;
      f->sprites.add(s);
    }
    for (int ch = 1; ch <= 5; ++ch) f->sounds.bind_wave(ch, secondOfSound());
    f->drive.control.atsOn = 1;
    prepareProtection(f->drive);
    f->sounds.clearOperations();
  }
  data::RouteData twoStations() {
    data::RouteData r = test::levelRoute(10, 60);
    r.stations[0].frame = 30;
    r.stations[0].sectionSpeed = 80;
    r.stations[1].frame = 17000;
    r.stations[1].sectionSpeed = 80;
    r.stationCount = 2;
    return r;
  }
  Drive& d() { return f->drive; }
  const media::Sprite& sprite(const char* name) { return *f->sprites.findByPicture(name); }
  int played(int channel, SoundOperation::Kind kind) {
    const auto& ops = f->sounds.operations();
    return static_cast<int>(
        std::count_if(ops.begin(), ops.end(), [&](const auto& o) { return o.channel == channel && o.kind == kind; }));
  }
  // Puts the train at a frame of the line, its position with it.
  void at(int frame) {
    d().state.frame = frame;
    d().state.position = static_cast<double>(data::framePosition(f->route, frame).value_or(0));
  }
  double beaconPosition(int kind) {
    for (int i = 0; i < f->route.atsBeaconCount; ++i) {
      const data::AtsBeacon& b = f->route.atsBeacons[static_cast<std::size_t>(i)];
      if (b.kind == kind) return static_cast<double>(b.position);
    }
    return 0;
  }

  std::unique_ptr<test::DriveFixture> f;
};

// ATS-P before a signal at stop whose beacon stands at frame 9000 (about 500000 cm).
class AtsPPatternTest : public ProtectionTest {
 protected:
  void SetUp() override {
    data::RouteData r = twoStations();
    data::SignalRow& s = r.signals[0];
    s.headType = 2;
    s.controlKind = 2;  // always at stop
    s.visibleFrom = 8500;
    s.visibleTo = 9036;
    s.atsPoint2 = 9000;
    r.signalCount = 1;
    data::computeTrackPositions(r);
    make(r);
  }
  void before(double metres, double speed) {
    d().state.position = beaconPosition(2) - metres * 100;
    d().state.speed = speed;
    updateSignalAspects(d());
    atsPStep(d());
  }
};

struct PatternCase {
  const char* name;
  double metres;
  int target, p1, p2;
};
void PrintTo(const PatternCase& c, std::ostream* out) { *out << c.name; }

class AtsPPatternValues : public AtsPPatternTest, public testing::WithParamInterface<PatternCase> {};

TEST_P(AtsPPatternValues, FallToTheBeaconSpeedTenMetresBeforeIt) {
  before(GetParam().metres, 0);
  EXPECT_EQ(d().state.atspTarget, GetParam().target);
  EXPECT_EQ(d().state.atspP1, GetParam().p1);
  EXPECT_EQ(d().state.atspP2, GetParam().p2);
}

INSTANTIATE_TEST_SUITE_P(Distances, AtsPPatternValues,
                         testing::Values(
                             // Beyond 600 m the section's patterns: its speed + 5 and its speed, the target 5 below P1.
                             PatternCase{"Beyond600m", 600, 80, 85, 80},
                             // sqrt(10^2 + 5.76 x 4.2 x (d - 10)) - 4.2, halves to even; P2 50 m further on.
                             PatternCase{"At590m", 590, 10, 115, 111}, PatternCase{"At100m", 100, 10, 44, 32},
                             PatternCase{"At30m", 30, 10, 20, 10},
                             // Within 10.5 m the curve falls below the beacon speed: a signal's beacon keeps P1 at 10.
                             PatternCase{"At10AndAHalfMetres", 10.5, 10, 10, 10}, PatternCase{"At5m", 5, 10, 10, 10}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(AtsPPatternTest, WarnsAboveP2AndLatchesBrakingAboveP1) {
  before(200, 50);  // P1 64, P2 57
  EXPECT_EQ(d().state.atspState, 0);
  before(150, 50);  // P1 55, P2 46
  EXPECT_EQ(d().state.atspState, 1);
  EXPECT_TRUE(sprite("img_Lamp_Atsp1").visible);
  EXPECT_FALSE(sprite("img_Lamp_Atsp2").visible);
  EXPECT_EQ(d().state.atsBrakeLatched, 0);
  before(140, 56);  // P1 53
  EXPECT_EQ(d().state.atspState, 3);
  EXPECT_EQ(d().state.atsBrakeLatched, 1);
  EXPECT_EQ(d().control.brakeChangePending, 1);
  EXPECT_TRUE(sprite("img_Lamp_Atsp2").visible);
  EXPECT_EQ(played(d().vehicle.soundAtc, SoundOperation::Kind::PlayOnce), 2);
  // Below the target but still latched: a stop pattern holds until the driver resets.
  before(20, 0);
  EXPECT_EQ(d().state.atspState, 3);
  EXPECT_EQ(d().state.atsBrakeLatched, 1);
  d().state.atsBrakeLatched = 0;  // the reset key
  before(20, 0);
  EXPECT_EQ(d().state.atspState, 0);
  EXPECT_FALSE(sprite("img_Lamp_Atsp1").visible);
  EXPECT_FALSE(sprite("img_Lamp_Atsp2").visible);
}

TEST_F(AtsPPatternTest, ASignalThatClearsAsTheTrainStopsKeepsTheWarningUntilTheBeacon) {
  before(150, 50);
  ASSERT_EQ(d().state.atspState, 1);
  f->route.signals[0].controlKind = 0;  // the signal clears as the train comes to a stand
  before(100, 0);
  EXPECT_EQ(d().state.atspTarget, 998);
  EXPECT_EQ(d().state.atspState, 1);
  before(20, 0.3);  // creeping on
  EXPECT_EQ(d().state.atspState, 1);
  before(14, 0.3);  // within 15 m of the beacon
  EXPECT_EQ(d().state.atspState, 0);
}

TEST_F(ProtectionTest, AtsPReadsStationAndLimitBeacons) {
  data::RouteData r = twoStations();
  r.stations[1].atsBeacon = 1;  // 20 m beyond its stopping mark
  data::SpeedLimitRow& l = r.speedLimits[0];
  l.limit = 40;
  l.beaconKind = 1;
  l.frame = 9000;
  l.endFrame = 9500;
  r.speedLimitCount = 1;
  data::computeTrackPositions(r);
  make(r);
  d().state.speed = 30;
  d().state.position = beaconPosition(1) - 30000;
  atsPStep(d());
  EXPECT_EQ(d().state.atspTarget, 50);  // a limit's beacon: its speed + 10
  EXPECT_DOUBLE_EQ(d().state.atspDistance, 30000);
  d().state.position = beaconPosition(3) - 10000;
  atsPStep(d());
  EXPECT_EQ(d().state.atspTarget, 10);  // the station's stop beacon while the stop is to be made
  d().line.stations[1].served = 1;
  atsPStep(d());
  EXPECT_EQ(d().state.atspTarget, 80);
  EXPECT_EQ(d().state.atspBeacon, -1);
}

TEST_F(ProtectionTest, AtsSAlarmRingsUntilConfirmedThenChimes) {
  data::RouteData r = twoStations();
  make(r, test::protectedVehicle(true));
  d().state.atsSpeedCode = 998;
  atsSAlarmStep(d());
  EXPECT_EQ(d().state.atsAlarm, 1);
  EXPECT_TRUE(f->sounds.is_playing(1));  // the bell, looped
  EXPECT_TRUE(f->sounds.looping(1));
  EXPECT_FALSE(sprite("img_Lamp_Ats1").visible);
  EXPECT_TRUE(sprite("img_Lamp_Ats2").visible);
  EXPECT_EQ(d().state.emergencyLatched, 0);
  d().control.brakeHandle = -3;
  d().AsciiDown(' ');
  EXPECT_EQ(d().state.atsAlarm, 0);
  atsSAlarmStep(d());
  EXPECT_FALSE(f->sounds.is_playing(1));
  EXPECT_TRUE(f->sounds.is_playing(2));  // the chime
  EXPECT_TRUE(sprite("img_Lamp_Ats1").visible);
  EXPECT_FALSE(sprite("img_Lamp_Ats2").visible);
}

TEST_F(ProtectionTest, AtsSStopSignalPassedBrakesAtOnceButNotWithTheHandleInEmergency) {
  data::RouteData r = twoStations();
  make(r, test::protectedVehicle(true));
  d().state.atsSpeedCode = 0;
  d().control.brakeHandle = -d().vehicle.brakeNotches;
  atsSAlarmStep(d());
  EXPECT_EQ(d().state.atsAlarm, 0);
  d().control.brakeHandle = 0;
  atsSAlarmStep(d());
  EXPECT_EQ(d().state.atsAlarm, 1);
  EXPECT_EQ(d().state.emergencyLatched, 1);
  EXPECT_EQ(d().control.brakeChangePending, 1);
}

TEST_F(ProtectionTest, SpeedCheckPointsRaiseTheAlarmWithItsTimeRunOut) {
  data::RouteData r = twoStations();
  r.signals[1].headType = 2;
  r.signals[1].visibleTo = 20000;
  r.signalCount = 2;
  // Always; while signal 1 shows stop; a signal the line does not have.
  const int links[] = {0, 1, 7};
  for (int i = 0; i < 3; ++i) {
    data::SpeedCheck1Row& c = r.speedChecks1[static_cast<std::size_t>(i)];
    c.limit = 45;
    c.frame = 1000 + 1000 * i;
    c.signalLink = links[i];
  }
  r.speedCheck1Count = 3;
  data::computeTrackPositions(r);
  make(r, test::protectedVehicle(true));
  d().state.speed = 50;
  at(1100);
  updateSignalAspects(d());
  speedCheckStep(d());
  EXPECT_EQ(d().state.atsAlarm, 1);
  EXPECT_EQ(d().state.atsAlarmTicks, 50);
  atsSAlarmStep(d());
  EXPECT_EQ(d().state.emergencyLatched, 1);  // the next tick, unless confirmed
  d().state.atsAlarm = 0;
  d().state.emergencyLatched = 0;
  at(2100);  // signal 1 clear: the check does not apply
  updateSignalAspects(d());
  speedCheckStep(d());
  EXPECT_EQ(d().state.atsAlarm, 0);
  EXPECT_EQ(d().line.speedChecksPassed[1], 1);
  at(3100);  // no such signal
  speedCheckStep(d());
  EXPECT_EQ(d().state.atsAlarm, 0);
  d().clearPerRunTables();
  EXPECT_EQ(d().line.speedChecksPassed[0], 0);
}

TEST_F(ProtectionTest, SectionChecksShowTheirSpeedOnTheCabSignal) {
  data::RouteData r = twoStations();
  data::SpeedCheck2Row& c = r.speedChecks2[0];
  c.limit = 45;
  c.frameFrom = 1000;
  c.frameTo = 2000;
  r.speedCheck2Count = 1;
  data::VehicleSpec v = test::protectedVehicle(true);
  v.cabSignalSpeeds = {0, 25, 45, 998};
  v.cabSignalSpeedCount = 4;
  make(r, v);
  d().state.speed = 40;
  at(1500);
  speedCheckStep(d());
  EXPECT_TRUE(sprite("img_cabsignal").visible);
  EXPECT_EQ(sprite("img_cabsignal").pattern, 2);
  EXPECT_EQ(d().state.atsAlarm, 0);
  d().state.speed = 46;
  speedCheckStep(d());
  EXPECT_EQ(d().state.atsAlarm, 1);
  at(2500);  // out of the section: a stop warning in the list is shown and kept
  d().state.atsSpeedCode = 998;
  speedCheckStep(d());
  EXPECT_EQ(sprite("img_cabsignal").pattern, 3);
  EXPECT_EQ(d().state.atsSpeedCode, 998);
  d().state.atsSpeedCode = 65;  // not in the list: hidden, no code
  speedCheckStep(d());
  EXPECT_FALSE(sprite("img_cabsignal").visible);
  EXPECT_EQ(d().state.atsSpeedCode, 999);
}

TEST_F(ProtectionTest, TheApproachedSignalIsPlacedWithItsCallOutAndLeavesWhenPassed) {
  data::RouteData r = twoStations();
  data::SignalRow& s = r.signals[0];
  s.headType = 5;
  s.visibleFrom = 1000;
  s.visibleTo = 2000;
  s.mainX = 300;
  s.mainY = 80;
  s.sub0Pattern = 3;
  s.sub0X = 320;
  s.sub0Y = 60;
  s.sub1Pattern = 2;
  s.calloutNumber = 7;
  r.signalCount = 1;
  r.signalOffsetX = 10;
  r.signalOffsetY = -20;
  make(r);
  at(1500);
  updateSignalAspects(d());
  updateShownSignal(d());
  EXPECT_EQ(d().state.shownSignalImage, 20);  // type 5, clear
  EXPECT_EQ(d().state.lastSignalImage, 20);
  EXPECT_EQ(d().state.shownSignalCallout, 7);
  EXPECT_EQ(sprite("img_unten_signal").pattern, 20);
  EXPECT_EQ(sprite("img_unten_signal").x, 310);
  EXPECT_EQ(sprite("img_unten_signal").y, 60);
  EXPECT_EQ(sprite("img_unten_signal_S").pattern, 3);
  EXPECT_EQ(sprite("img_unten_signal_S").x, 330);
  EXPECT_EQ(sprite("img_unten_signal_L").pattern, 2);
  EXPECT_EQ(sprite("img_unten_signal_R").pattern, 0);
  at(1990);
  updateShownSignal(d());
  EXPECT_EQ(d().state.shownSignalImage, 999);
  EXPECT_EQ(d().state.shownSignalCallout, 999);
  EXPECT_EQ(sprite("img_unten_signal").pattern, 0);
  EXPECT_EQ(sprite("img_unten_signal_S").pattern, 0);
}

TEST_F(ProtectionTest, WithCabSignallingTheCabShowsTheSignalAndAtcBrakesAboveItsSpeed) {
  data::RouteData r = twoStations();
  data::SignalRow& s = r.signals[0];
  s.headType = 6;
  s.controlKind = 2;
  s.fixedAspect = 3;  // picture 24: "[Speed_Signal]" entry 2, 45 km/h
  s.visibleFrom = 1000;
  s.visibleTo = 2000;
  r.signals[1] = s;
  r.signals[1].headType = 9;  // picture 38
  r.signals[1].visibleFrom = 3000;
  r.signals[1].visibleTo = 4000;
  r.signalCount = 2;
  data::VehicleSpec v = test::protectedVehicle();
  v.atsType = 2;
  make(r, v);
  at(1500);
  d().state.speed = 44;
  updateSignalAspects(d());
  updateShownSignal(d());
  atcStep(d());
  EXPECT_EQ(sprite("img_unten_signal").pattern, 0);  // not a cab-signal head
  EXPECT_FALSE(sprite("img_cabsignal").visible);
  EXPECT_EQ(played(4, SoundOperation::Kind::PlayOnce), 1);
  EXPECT_EQ(d().state.atcLatched, 0);
  d().state.speed = 44.7;  // above 45 - 0.4
  atcStep(d());
  EXPECT_EQ(d().state.atcLatched, 1);
  EXPECT_EQ(d().state.atsBrakeLatched, 1);
  EXPECT_EQ(d().control.powerChangePending, 1);
  d().state.speed = 44;
  atcStep(d());
  EXPECT_EQ(d().state.atcLatched, 0);
  EXPECT_EQ(d().state.atsBrakeLatched, 0);
  at(3500);
  updateSignalAspects(d());
  updateShownSignal(d());
  EXPECT_EQ(sprite("img_unten_signal").pattern, 38);
  EXPECT_TRUE(sprite("img_cabsignal").visible);
  EXPECT_EQ(sprite("img_cabsignal").pattern, 3);
  EXPECT_EQ(played(4, SoundOperation::Kind::PlayOnce), 2);
  speedCheckStep(d());  // the ATS speed checks leave the cab signal to ATC
  EXPECT_TRUE(sprite("img_cabsignal").visible);
}

TEST_F(ProtectionTest, TheLimitSignBlinksWithTheLimitAheadThenShowsItAndTheRelease) {
  data::RouteData r = twoStations();
  const int limits[][3] = {{60, 3600, 4500}, {45, 5400, 6300}, {75, 7200, 8100}};
  for (int i = 0; i < 3; ++i) {
    data::SpeedLimitRow& l = r.speedLimits[static_cast<std::size_t>(i)];
    l.limit = limits[i][0];
    l.signImage = i + 1;
    l.frame = limits[i][1];
    l.endFrame = limits[i][2];
    l.releaseImage = 9;
  }
  r.speedLimitCount = 3;
  data::computeTrackPositions(r);
  make(r);
  // 90 km/h, 289 m before the 60 km/h limit: within braking (208 m) and a second (90 m), so it is announced.
  d().state.speed = 90;
  at(3600 - 520);
  d().state.tickCount = 10;
  speedLimitStep(d());
  EXPECT_EQ(d().state.upcomingLimitSpeeds, (std::array<std::int32_t, 3>{60, 45, 75}));
  EXPECT_EQ(d().state.upcomingLimitMetres[0], 289);
  EXPECT_EQ(d().state.upcomingLimitWarned, (std::array<std::int32_t, 3>{1, 0, 0}));
  EXPECT_EQ(d().state.limitBlink, 1);
  EXPECT_EQ(sprite("img_unten_limit").pattern, 1);
  EXPECT_TRUE(sprite("img_unten_limit").visible);
  d().state.tickCount = 15;
  speedLimitStep(d());
  EXPECT_FALSE(sprite("img_unten_limit").visible);
  // Slower, 320 m before: not yet (2 x 60 m).
  d().state.speed = 60;
  at(3600 - 576);
  d().state.tickCount = 16;
  speedLimitStep(d());
  EXPECT_EQ(d().state.upcomingLimitWarned[0], 0);
  EXPECT_EQ(d().state.limitBlink, 0);
  EXPECT_FALSE(sprite("img_unten_limit").visible);
  // In the limit: its sign, steady.
  at(4000);
  speedLimitStep(d());
  EXPECT_EQ(d().state.shownLimitSpeed, 60);
  EXPECT_TRUE(sprite("img_unten_limit").visible);
  EXPECT_EQ(sprite("img_unten_limit").pattern, 1);
  // After it: the release sign for 200 frames, then nothing.
  at(4600);
  speedLimitStep(d());
  EXPECT_EQ(d().state.limitUpcoming, 1);
  EXPECT_EQ(sprite("img_unten_limit").pattern, 9);
  at(4750);
  speedLimitStep(d());
  EXPECT_EQ(d().state.limitUpcoming, 0);
  EXPECT_FALSE(sprite("img_unten_limit").visible);
  EXPECT_EQ(d().state.shownLimitSpeed, 999);
}

TEST_F(ProtectionTest, TrafficLightsCycleAndTellTheTrainWhetherToGo) {
  data::RouteData r = twoStations();
  data::TrafficSignalRow& t = r.trafficSignals[0];
  t.frameA = 2000;
  t.frameB = 2200;
  t.showFrom = 1500;
  t.showTo = 2200;
  t.lastFrame = 2200;
  t.phases = {{{1, 3, 0}, {2, 2, 0}, {3, 4, 1}, {4, 0, 0}, {5, 1, 0}, {6, 0, 0}}};
  t.goPicture = 7;
  t.waitPicture = 8;
  r.trafficSignalCount = 1;
  data::computeTrackPositions(r);
  make(r);
  // No pictures: the sprites are not there; the phases and texts go on.
  std::vector<int> phases;
  for (int i = 0; i < 12; ++i) {
    trafficLightStep(d());
    phases.push_back(d().line.trafficLights[0].phase + 1);
  }
  // Phase 1 lasts 3 ticks from the set-up, phase 4 (no duration) one tick.
  EXPECT_EQ(phases, (std::vector<int>{1, 1, 2, 2, 3, 3, 3, 3, 4, 5, 6, 1}));
  f->strings.tcText = "信号待ち";
  f->strings.stopsTexts = {"停止位置", "-"};
  at(2150);               // past the midpoint, 50 frames (27.8 m) before the light
  trafficLightStep(d());  // phase 1 again: go
  EXPECT_EQ(d().texts.SpeedCheckText, "信号待ち");
  EXPECT_EQ(d().texts.RemainText, "停止位置 27m");
  for (int i = 0; i < 4; ++i) trafficLightStep(d());  // phase 3: wait
  EXPECT_EQ(d().line.trafficLights[0].phase, 2);
  EXPECT_EQ(d().texts.SpeedCheckText, "");
  at(1000);
  trafficLightStep(d());
  EXPECT_EQ(d().texts.SpeedCheckText, "");
  EXPECT_EQ(d().texts.RemainText, "");
}

TEST_F(ProtectionTest, VigilanceLampAndRing) {
  make(twoStations());
  d().state.speed = 30;
  d().control.idleTicks = 600;
  vigilanceStep(d());
  EXPECT_TRUE(sprite("img_Lamp_EB").visible);
  EXPECT_TRUE(f->sounds.is_playing(5));
  d().AsciiDown('5');
  EXPECT_FALSE(sprite("img_Lamp_EB").visible);
  EXPECT_EQ(d().control.idleTicks, 0);
}

}  // namespace
}  // namespace vesk::sim
