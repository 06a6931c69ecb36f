#include <gtest/gtest.h>

#include <algorithm>

#include "sim/driver_info.h"
#include "support/drive_fixture.h"
#include "support/media_files.h"

namespace vesk::sim {
namespace {

using test::makeDrive;

struct DistanceCase {
  const char* name;
  double cm;
  const char* text;
};
void PrintTo(const DistanceCase& c, std::ostream* out) { *out << c.name; }

class StopDistanceTextTest : public testing::TestWithParam<DistanceCase> {};

TEST_P(StopDistanceTextTest, Precision) { EXPECT_EQ(stopDistanceText(GetParam().cm), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(Cases, StopDistanceTextTest,
                         testing::Values(DistanceCase{"WholeMetresBeyondTen", 123456, " 1235 m"},
                                         DistanceCase{"JustBeyondTen", 1001, "   10 m"},
                                         DistanceCase{"TenMetresHasOneDecimal", 1000, " 10.0 m"},
                                         DistanceCase{"OneDecimalAboveFive", 750, "  7.5 m"},
                                         DistanceCase{"FiveMetresHasTwoDecimals", 500, " 5.00 m"},
                                         DistanceCase{"TwoDecimalsNear", 123, " 1.23 m"},
                                         DistanceCase{"AtTheMark", 0, " 0.00 m"},
                                         DistanceCase{"PastTheMarkIsNegative", -250, "-2.50 m"},
                                         DistanceCase{"FarPastTheMark", -1500, "  -15 m"},
                                         DistanceCase{"PastByOneDecimal", -800, " -8.0 m"}),
                         [](const auto& info) { return std::string(info.param.name); });

data::NeedleSpec speedNeedle(double k, double k2, int offset) {
  data::NeedleSpec n;
  n.file = "needle.bmp";
  n.scale = k;
  n.scale2 = k2;
  n.offset = offset;
  return n;
}

struct NeedleCase {
  const char* name;
  double speed;
  double k2;
  int expected;  // -1: the needle keeps its angle
};
void PrintTo(const NeedleCase& c, std::ostream* out) { *out << c.name; }

class SpeedNeedleTest : public testing::TestWithParam<NeedleCase> {};

TEST_P(SpeedNeedleTest, Angle) {
  const NeedleCase& c = GetParam();
  const auto angle = speedNeedleAngle(c.speed, speedNeedle(1.5, c.k2, 30));
  if (c.expected < 0) {
    EXPECT_FALSE(angle.has_value());
  } else {
    ASSERT_TRUE(angle.has_value());
    EXPECT_EQ(*angle, c.expected);
  }
}

// Offset 30 degrees, 1.5 degrees a km/h: angle = nearest((1.5 v + 30) x 255/360).
INSTANTIATE_TEST_SUITE_P(
    Cases, SpeedNeedleTest,
    testing::Values(NeedleCase{"StandingShowsTheOffset", 0, 0, 21},  // 21.25
                    NeedleCase{"HalfBackwardsKeepsItsAngle", -0.5, 0, -1},
                    NeedleCase{"OneBackwardsShowsOne", -1, 0, 22},                                      // 22.31
                    NeedleCase{"OneForwards", 1, 0, 22}, NeedleCase{"JustBelowTheEnd", 159.9, 0, 191},  // 191.14
                    NeedleCase{"AtTheEndKeepsItsAngle", 160, 0, -1},
                    NeedleCase{"FastBackwardsKeepsItsAngle", -170, 0, -1},
                    // With a low-speed scale of 3: below 10 km/h 3 degrees a km/h, above it 1.5 from 60 degrees.
                    NeedleCase{"LowScaleBelowTen", 5, 3, 32},          // (15 + 30) -> 31.875
                    NeedleCase{"LowScaleAtTen", 10, 3, 43},            // 60 -> 42.5
                    NeedleCase{"LowScaleJustBelowTen", 9.999, 3, 42},  // 59.997 -> 42.498
                    NeedleCase{"LowScaleAboveTen", 20, 3, 53}),        // 75 -> 53.125
    [](const auto& info) { return std::string(info.param.name); });

TEST(NeedleAngle, WrapsIntoOneTurn) {
  EXPECT_EQ(needleAngle(360), 255);
  EXPECT_EQ(needleAngle(-10), 249);  // -7.08 -> -7
  EXPECT_EQ(needleAngle(400), 27);   // 283.3 -> 283 - 256
}

TEST(Ammeter, SwingsPastTheTargetAndSettles) {
  int shown = 0;
  std::vector<int> seen;
  for (int i = 0; i < 9; ++i) {
    shown = ammeterFollow(shown, 100);
    seen.push_back(shown);
  }
  EXPECT_EQ(seen, (std::vector<int>{150, 75, 113, 94, 103, 99, 101, 100, 100}));
}

TEST(Ammeter, ReturnsToZeroWhenTheCurrentStops) {
  int shown = -180;
  for (int i = 0; i < 20; ++i) shown = ammeterFollow(shown, 0);
  EXPECT_EQ(shown, 0);
  EXPECT_EQ(ammeterFollow(-1, 0), 0);
}

struct AmmeterModeCase {
  const char* name;
  int mode;
  int shown;
  int reverser;
  int expected;
};
void PrintTo(const AmmeterModeCase& c, std::ostream* out) { *out << c.name; }

class AmmeterModeTest : public testing::TestWithParam<AmmeterModeCase> {};

TEST_P(AmmeterModeTest, Angle) {
  const AmmeterModeCase& c = GetParam();
  data::NeedleSpec n = speedNeedle(0.1, 0, 20);
  n.ammeterMode = c.mode;
  EXPECT_EQ(ammeterAngle(c.shown, c.reverser, n), c.expected);
}

// (0.1 x 300 + 20) x 255/360 = 35.4; (0.1 x -300 + 20) x 255/360 = -7.08.
INSTANTIATE_TEST_SUITE_P(Cases, AmmeterModeTest,
                         testing::Values(AmmeterModeCase{"SignedForwards", 0, 300, 1, 35},
                                         AmmeterModeCase{"SignedBackwardsTurnsOver", 0, 300, -1, -35},
                                         AmmeterModeCase{"SignedInNeutralStandsAtZero", 0, 300, 0, 0},
                                         AmmeterModeCase{"SignedBraking", 0, -300, 1, -7},
                                         AmmeterModeCase{"MagnitudeBraking", 1, -300, 1, 35},
                                         AmmeterModeCase{"MagnitudeIgnoresReverser", 1, 300, 0, 35},
                                         AmmeterModeCase{"FixedNeedleIsTheOffsetInSteps", 2, 300, 1, 20}),
                         [](const auto& info) { return std::string(info.param.name); });

std::unique_ptr<test::DriveFixture> infoDrive() {
  auto f = makeDrive();
  f->strings.infoLabelCount = 22;
  for (int i = 0; i < 22; ++i) f->strings.infoLabels[static_cast<std::size_t>(i)] = "entry" + std::to_string(i);
  return f;
}

TEST(AdviceMessage, ActsOnlyWhenItChanges) {
  auto f = infoDrive();
  Drive& d = f->drive;
  showAdviceMessage(d, "0first");
  EXPECT_EQ(d.texts.MessageText, "first");
  // Someone else wrote the text; the same message again leaves it alone.
  d.texts.MessageText = "other";
  showAdviceMessage(d, "0first");
  EXPECT_EQ(d.texts.MessageText, "other");
  showAdviceMessage(d, "");
  EXPECT_EQ(d.texts.MessageText, "");
}

TEST(AdviceMessage, SoundMessagesPlayOnceOrLoopOnTheAnnouncementChannel) {
  auto f = infoDrive();
  Drive& d = f->drive;
  std::vector<std::string> loaded;
  d.messageWaves = [&](const std::string& file) {
    loaded.push_back(file);
    return media::decodeWave(test::wave(22050, 22050));
  };
  const int channel = d.soundLayout.announcementChannel();
  const auto count = [&](media::SoundOperation::Kind kind) {
    return std::count_if(f->sounds.operations().begin(), f->sounds.operations().end(),
                         [&](const media::SoundOperation& op) { return op.kind == kind && op.channel == channel; });
  };
  showAdviceMessage(d, "1chime.wav");
  showAdviceMessage(d, "1chime.wav");
  EXPECT_EQ(loaded, std::vector<std::string>{"chime.wav"});
  EXPECT_EQ(count(media::SoundOperation::Kind::PlayOnce), 1);
  showAdviceMessage(d, "2alarm.wav");
  EXPECT_EQ(count(media::SoundOperation::Kind::PlayLoop), 1);
  EXPECT_EQ(loaded.back(), "alarm.wav");
  EXPECT_EQ(d.texts.MessageText, "");  // a sound message shows no text
}

struct MessageCase {
  const char* name;
  std::function<void(test::DriveFixture&)> set;
  std::string expected;
};
void PrintTo(const MessageCase& c, std::ostream* out) { *out << c.name; }

class AdviceRulesTest : public testing::TestWithParam<MessageCase> {};

TEST_P(AdviceRulesTest, Message) {
  auto f = infoDrive();
  Drive& d = f->drive;
  d.state.distanceToStop = 0;
  d.state.shownSignalImage = kNone;
  d.control.atsOn = 1;
  GetParam().set(*f);
  EXPECT_EQ(buildAdviceMessage(d), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AdviceRulesTest,
    testing::Values(MessageCase{"Nothing", [](test::DriveFixture&) {}, ""},
                    MessageCase{"PowerDuringSideVideo",
                                [](test::DriveFixture& f) {
                                  Drive& d = f.drive;
                                  d.state.videoMode = 1;
                                  d.control.powerHandle = 1;
                                },
                                "0entry10"},
                    MessageCase{"AtsOffWithPower",
                                [](test::DriveFixture& f) {
                                  Drive& d = f.drive;
                                  d.control.atsOn = 0;
                                  d.control.powerHandle = 2;
                                },
                                "0entry20"},
                    MessageCase{"AtsOffInBeginnerModeSaysNothing",
                                [](test::DriveFixture& f) {
                                  Drive& d = f.drive;
                                  d.control.atsOn = 0;
                                  d.settings.ATS = 1;
                                  d.control.powerHandle = 2;
                                },
                                ""},
                    MessageCase{"AtsPBrakingWhileMoving",
                                [](test::DriveFixture& f) {
                                  Drive& d = f.drive;
                                  d.state.atsBrakeLatched = 1;
                                  d.state.atspState = 2;
                                  d.state.speed = 30;
                                  d.state.shownSignalImage = 18;  // the signal advice is skipped
                                },
                                "0entry11"},
                    MessageCase{"AtsPBrakingStopped",
                                [](test::DriveFixture& f) {
                                  Drive& d = f.drive;
                                  d.state.atsBrakeLatched = 1;
                                  d.state.atspState = 2;
                                },
                                "0entry12"},
                    MessageCase{"EmergencyStopped",
                                [](test::DriveFixture& f) {
                                  Drive& d = f.drive;
                                  d.state.emergencyLatched = 1;
                                },
                                "0entry12"},
                    MessageCase{"EmergencyWithAlarmMoving",
                                [](test::DriveFixture& f) {
                                  Drive& d = f.drive;
                                  d.state.emergencyLatched = 1;
                                  d.state.atsAlarm = 1;
                                  d.state.speed = 20;
                                },
                                "0entry11"},
                    MessageCase{"AtsAlarm",
                                [](test::DriveFixture& f) {
                                  Drive& d = f.drive;
                                  d.state.atsAlarm = 1;
                                },
                                "0entry13"},
                    MessageCase{"Vigilance",
                                [](test::DriveFixture& f) {
                                  Drive& d = f.drive;
                                  d.control.idleTicks = 601;
                                },
                                "0entry14"},
                    MessageCase{"CautionTooFast",
                                [](test::DriveFixture& f) {
                                  Drive& d = f.drive;
                                  d.state.shownSignalImage = 8;
                                  d.state.speed = 56;
                                },
                                "0entry15"},
                    MessageCase{"CautionSlowEnough",
                                [](test::DriveFixture& f) {
                                  Drive& d = f.drive;
                                  d.state.shownSignalImage = 8;
                                  d.state.speed = 55;
                                },
                                ""},
                    MessageCase{"StopAheadAlone",
                                [](test::DriveFixture& f) {
                                  Drive& d = f.drive;
                                  d.state.speed = 100;  // 20 x 27.8 = 556 m > 400 - 125
                                  d.state.distanceToStop = 40000;
                                },
                                "0entry18"},
                    MessageCase{"StopAheadAppended",
                                [](test::DriveFixture& f) {
                                  Drive& d = f.drive;
                                  d.state.speed = 100;
                                  d.state.distanceToStop = 40000;
                                  d.state.shownSignalImage = 15;
                                },
                                "0entry16entry18"},
                    MessageCase{"DieselStalled",
                                [](test::DriveFixture& f) {
                                  Drive& d = f.drive;
                                  f.vehicle.engineType = 0;
                                  d.state.engineRunning = 0;
                                  d.control.powerHandle = 1;
                                },
                                "0エンストしました。変速レバーを変速段に入れてエンジンを再始動してください。"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vesk::sim

namespace vesk::sim {
namespace {

TEST(AdviceMessage, TheAtsOffWarningLoopsWhilePowerIsTakenAndStopsAfter) {
  data::VehicleSpec v = test::testVehicle();
  v.soundAtsWarn = 5;
  auto f = makeDrive(v);
  Drive& d = f->drive;
  f->sounds.bind_wave(5, media::decodeWave(test::wave(22050, 2205)));
  d.control.atsOn = 0;
  d.control.powerHandle = 2;
  driverMessageStep(d);
  driverMessageStep(d);
  EXPECT_TRUE(f->sounds.is_playing(5));
  EXPECT_TRUE(f->sounds.looping(5));
  const auto loops = std::count_if(f->sounds.operations().begin(), f->sounds.operations().end(), [](const auto& op) {
    return op.kind == media::SoundOperation::Kind::PlayLoop && op.channel == 5;
  });
  EXPECT_EQ(loops, 1);  // started once, not restarted every tick
  d.control.powerHandle = 1;
  driverMessageStep(d);
  EXPECT_FALSE(f->sounds.is_playing(5));
}

TEST(ValueDisplay, ReadoutsWhileTheWindowIsShown) {
  data::RouteData route = test::levelRoute(10, 60);
  route.stationCount = 2;
  route.stations[0].name = "A";
  route.stations[0].frame = 0;
  route.stations[1].name = "B";
  route.stations[1].frame = 1000;
  auto f = makeDrive(test::testVehicle(), route);
  Drive& d = f->drive;
  d.state.speed = 12.34;
  d.state.precedingFrame = 400;
  d.state.resistorStep = 3;
  d.control.powerHandle = 2;
  d.state.powerNotch = 2;
  d.control.brakeHandle = -1;
  d.state.brakeNotch = -1;
  valueDisplayStep(d);
  EXPECT_TRUE(d.displays.valueDisplay.empty());  // hidden: nothing written
  d.valueDisplayShown = true;
  valueDisplayStep(d);
  const auto label = [&](const std::string& name) {
    for (const auto& [key, text] : d.displays.valueDisplay) {
      if (key == name) return text;
    }
    return std::string("?");
  };
  EXPECT_EQ(label("Label1"), "12.3 km/h");
  EXPECT_EQ(label("Label42"), "(A～B)");
  EXPECT_EQ(label("Label44"), "P 3 2 2 B 0 -1 -1 0 0");
}

}  // namespace
}  // namespace vesk::sim
