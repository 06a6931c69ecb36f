// Saved states: the slot's line and title from a running drive, the refusal of empty, damaged, foreign and
// out-of-range slots with the drive left exactly as it was, what a restore puts the drive into, and a restored
// drive running on as the drive it was saved from.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/saved_state.h"
#include "support/station_line.h"
#include "vesk_sim/state_json.h"

namespace vesk::sim {
namespace {

constexpr const char* kRoute = "line_up_rapid_A.dat";

// Stations of kinds stop, pass, stop, stop, stop: 0, 1 km, 3 km, 5 km, 9 km.
std::vector<test::StationSpec> stations() {
  return {{"始発", 0, 0, 25200},
          {"中央", 1, 1 * test::kFramesPerKm, 0},
          {"港", 0, 3 * test::kFramesPerKm, 26400},
          {"丘", 2, 5 * test::kFramesPerKm, 27000},
          {"終点", 0, 9 * test::kFramesPerKm, 28800}};
}

std::unique_ptr<test::DriveFixture> savedStateDrive() {
  auto f = test::stationDrive(stations());
  f->route.lineName = "テスト線";
  f->route.lineName2 = "テスト線 上り快速";
  return f;
}

double stationPosition(const Drive& d, int k) { return static_cast<double>(d.route.stations[k].position); }

// Everything the trace shows of the drive, to see that a refused restore changed nothing.
std::string fingerprint(Drive& d) { return tools::stateLine(d, 0, 0); }

struct LineCase {
  const char* name;
  double speed;
  double position;
  const char* want;
};

class SavedStateLine : public testing::TestWithParam<LineCase> {};

TEST_P(SavedStateLine, HoldsTheSevenFieldsWithWholeSpeedAndPosition) {
  const LineCase& c = GetParam();
  auto f = savedStateDrive();
  Drive& d = f->drive;
  d.state.currentStation = 2;
  d.state.speed = c.speed;
  d.state.frame = 5460;
  d.state.clock = 26100;
  d.state.position = c.position;
  d.state.precedingFrame = 7000;
  EXPECT_EQ(saveSlot(d, kRoute).line, c.want);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SavedStateLine,
    testing::Values(LineCase{"Running", 72.6, 303333.4, "line_up_rapid_A.dat,2,73,5460,26100,303333,7000"},
                    LineCase{"HalvesToEven", 72.5, 303332.5, "line_up_rapid_A.dat,2,72,5460,26100,303332,7000"},
                    LineCase{"HalfUpToEven", 73.5, 303333.5, "line_up_rapid_A.dat,2,74,5460,26100,303334,7000"},
                    LineCase{"Backwards", -3.5, 12.0, "line_up_rapid_A.dat,2,-4,5460,26100,12,7000"},
                    LineCase{"Standing", 0.0, 0.0, "line_up_rapid_A.dat,2,0,5460,26100,0,7000"}),
    [](const auto& info) { return std::string(info.param.name); });

struct TitleCase {
  const char* name;
  int stationCount;
  double metresPastStation;  // from the station below
  int station;
  const char* want;
};

class SavedStateTitle : public testing::TestWithParam<TitleCase> {};

TEST_P(SavedStateTitle, NamesTheSectionThatHoldsTheTrain) {
  const TitleCase& c = GetParam();
  auto f = savedStateDrive();
  f->route.stationCount = c.stationCount;
  Drive& d = f->drive;
  d.state.position = (c.stationCount > 0 ? stationPosition(d, c.station) : 0) + c.metresPastStation * 100;
  EXPECT_EQ(savedStateTitle(d), c.want);
}

INSTANTIATE_TEST_SUITE_P(Cases, SavedStateTitle,
                         testing::Values(TitleCase{"AtTheFirstStation", 5, 0, 0, "テスト線 上り快速（始発～中央）"},
                                         TitleCase{"BetweenStations", 5, 300, 1, "テスト線 上り快速（中央～港）"},
                                         TitleCase{"AtAStationItsOwnSection", 5, 0, 2, "テスト線 上り快速（港～丘）"},
                                         TitleCase{"JustBeforeAStation", 5, -0.01, 3, "テスト線 上り快速（港～丘）"},
                                         TitleCase{"AtTheLastStation", 5, 0, 4, "テスト線 上り快速（終点～）"},
                                         TitleCase{"BeyondTheLastStation", 5, 500, 4, "テスト線 上り快速（終点～）"},
                                         TitleCase{"BeforeTheFirstStation", 5, -100, 0, "テスト線 上り快速（～始発）"},
                                         TitleCase{"NoStations", 0, 0, 0, "テスト線 上り快速（～）"}),
                         [](const auto& info) { return std::string(info.param.name); });

struct RefusalCase {
  const char* name;
  std::string line;
  std::string_view message;
};

class RefusedSlot : public testing::TestWithParam<RefusalCase> {};

TEST_P(RefusedSlot, SaysWhyAndLeavesTheDriveAsItWas) {
  const RefusalCase& c = GetParam();
  auto f = savedStateDrive();
  Drive& d = f->drive;
  d.lastFramePosition = 18000;
  test::standAt(*f, 900);
  f->runTicks(20);
  d.control.powerHandle = 2;
  d.state.speed = 30;
  d.control.announceIndex = 4;
  f->sounds.bind_wave(5, test::silentWave(60));
  f->sounds.play_loop(5);
  const std::string before = fingerprint(d);

  const CheckedState checked = checkSavedState(d, kRoute, c.line);
  const auto* refusal = std::get_if<RestoreRefusal>(&checked);
  ASSERT_NE(refusal, nullptr);
  EXPECT_EQ(refusal->message, c.message);
  // Every refusal but the empty slot says what is wrong.
  EXPECT_EQ(refusal->detail.empty(), c.message == kNoSavedStateMessage) << refusal->detail;
  EXPECT_EQ(fingerprint(d), before);
  EXPECT_TRUE(f->sounds.is_playing(5)) << "no sound is stopped";
}

std::string bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s += static_cast<char>(v);
  return s;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedSlot,
    testing::Values(
        RefusalCase{"Empty", "", kNoSavedStateMessage}, RefusalCase{"OneWord", "garbage", kDamagedStateMessage},
        RefusalCase{"Truncated", "line_up_rapid_A.dat,2,73,5460", kDamagedStateMessage},
        RefusalCase{"TrailingSeparator", "line_up_rapid_A.dat,2,73,5460,26100,303333,7000,", kDamagedStateMessage},
        RefusalCase{"SpeedNotANumber", "line_up_rapid_A.dat,2,fast,5460,26100,303333,7000", kDamagedStateMessage},
        RefusalCase{"FrameWithAFraction", "line_up_rapid_A.dat,2,73,5460.5,26100,303333,7000", kDamagedStateMessage},
        RefusalCase{"ClockBeyond32Bits", "line_up_rapid_A.dat,2,73,5460,99999999999,303333,7000", kDamagedStateMessage},
        RefusalCase{"EmptyField", "line_up_rapid_A.dat,2,73,,26100,303333,7000", kDamagedStateMessage},
        RefusalCase{"Exponent", "line_up_rapid_A.dat,2,1e400,5460,26100,303333,7000", kDamagedStateMessage},
        RefusalCase{"BinaryBytes", bytes({0xFF, 0x00, 0x2C, 0x81, 0x2C, 0x2C, 0x2C, 0x2C, 0x2C}), kDamagedStateMessage},
        RefusalCase{"AnotherRoute", "line_up_rapid.dat,2,73,5460,26100,303333,7000", kOtherRouteMessage},
        RefusalCase{"AnotherCase", "LINE_UP_RAPID_A.dat,2,73,5460,26100,303333,7000", kOtherRouteMessage},
        RefusalCase{"NoRouteName", ",2,73,5460,26100,303333,7000", kOtherRouteMessage},
        RefusalCase{"StationBeyondTheTable", "line_up_rapid_A.dat,5,73,5460,26100,303333,7000",
                    kStateOutOfRangeMessage},
        RefusalCase{"NegativeStation", "line_up_rapid_A.dat,-1,73,5460,26100,303333,7000", kStateOutOfRangeMessage},
        RefusalCase{"FrameBeyondTheVideo", "line_up_rapid_A.dat,2,73,18001,26100,303333,7000", kStateOutOfRangeMessage},
        RefusalCase{"NegativeFrame", "line_up_rapid_A.dat,2,73,-1,26100,303333,7000", kStateOutOfRangeMessage},
        RefusalCase{"AbsurdSpeed", "line_up_rapid_A.dat,2,5000,5460,26100,303333,7000", kStateOutOfRangeMessage},
        RefusalCase{"NegativeClock", "line_up_rapid_A.dat,2,73,5460,-30,303333,7000", kStateOutOfRangeMessage},
        RefusalCase{"AbsurdPosition", "line_up_rapid_A.dat,2,73,5460,26100,9000000000000000,7000",
                    kStateOutOfRangeMessage},
        RefusalCase{"NegativePrecedingTrain", "line_up_rapid_A.dat,2,73,5460,26100,303333,-5",
                    kStateOutOfRangeMessage}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SavedStateParse, KeepsACommaInTheRouteFileName) {
  const CheckedState parsed = parseStateLine("line,odd.dat,2,73,5460,26100,303333,7000");
  const auto* st = std::get_if<SavedState>(&parsed);
  ASSERT_NE(st, nullptr);
  EXPECT_EQ(st->routeFileName, "line,odd.dat");
  EXPECT_EQ(st->station, 2);
  EXPECT_EQ(st->speed, 73.0);
  EXPECT_EQ(st->frame, 5460);
  EXPECT_EQ(st->clock, 26100);
  EXPECT_EQ(st->position, 303333.0);
  EXPECT_EQ(st->precedingFrame, 7000);
}

TEST(SavedStateParse, ReadsSpeedAndPositionAsRealNumbers) {
  const CheckedState parsed = parseStateLine("r.dat,0,72.6,10,20,-15.25,0");
  const auto* st = std::get_if<SavedState>(&parsed);
  ASSERT_NE(st, nullptr);
  EXPECT_EQ(st->speed, 72.6);
  EXPECT_EQ(st->position, -15.25);
}

class RestoreTest : public testing::Test {
 protected:
  RestoreTest() : f(savedStateDrive()), d(f->drive) {
    d.lastFramePosition = 18000;
    test::standAt(*f, 900);
    f->runTicks(5);
  }

  void restore(const std::string& line) {
    const CheckedState checked = checkSavedState(d, kRoute, line);
    const auto* st = std::get_if<SavedState>(&checked);
    ASSERT_NE(st, nullptr) << std::get<RestoreRefusal>(checked).detail;
    restoreState(d, *st);
  }

  std::unique_ptr<test::DriveFixture> f;
  Drive& d;
};

TEST_F(RestoreTest, ARunningStateRunsOnWithTheBrakesReleased) {
  d.control.brakeHandle = -4;
  d.state.brakeNotch = -4;
  d.control.powerHandle = 3;
  d.state.powerNotch = 3;
  d.handleTexts.brakeText = "stale";
  const double position = stationPosition(d, 2) + 20000;
  restore(std::string(kRoute) + ",2,73,5760,26100," + std::to_string(static_cast<long long>(position)) + ",7000");
  EXPECT_EQ(d.state.speed, 73.0);
  EXPECT_EQ(d.state.frame, 5760);
  EXPECT_EQ(d.state.clock, 26100);
  EXPECT_EQ(d.state.position, position);
  EXPECT_EQ(d.state.precedingFrame, 7000);
  EXPECT_EQ(d.state.currentStation, 2);
  EXPECT_EQ(d.control.powerHandle, 0);
  EXPECT_EQ(d.state.powerNotch, 0);
  EXPECT_EQ(d.control.brakeHandle, 0);
  EXPECT_EQ(d.state.brakeNotch, 0);
  EXPECT_EQ(d.state.sapNotch, 0);
  // The next stop is the first stopping station after the current one, here one of kind 2.
  EXPECT_EQ(d.state.nextStop, 3);
  EXPECT_EQ(d.state.targetPosition, stationPosition(d, 3));
  EXPECT_EQ(d.state.distanceToStop, stationPosition(d, 3) - position);
  EXPECT_NE(d.handleTexts.brakeText, "stale") << "the handle texts follow the handles";
}

TEST_F(RestoreTest, AStandingStateIsHeldByTheLastServiceNotch) {
  restore(std::string(kRoute) + ",0,0,10,25000,5000,0");
  const int lastService = -(d.vehicle.brakeNotches - 1);
  EXPECT_EQ(d.state.speed, 0);
  EXPECT_EQ(d.control.brakeHandle, lastService);
  EXPECT_EQ(d.state.brakeNotch, lastService);
  EXPECT_EQ(d.state.sapNotch, lastService);
  EXPECT_EQ(d.state.nextStop, 2) << "the passing station is skipped";
}

TEST_F(RestoreTest, BeyondTheLastStopTheLastStationStaysTheTarget) {
  restore(std::string(kRoute) + ",4,0,16300,28900," + std::to_string(static_cast<long long>(stationPosition(d, 4))) +
          ",0");
  EXPECT_EQ(d.state.nextStop, 4);
  EXPECT_EQ(d.state.targetPosition, stationPosition(d, 4));
  EXPECT_EQ(d.state.distanceToStop, 0);
}

struct AnnounceCase {
  int station;
  int want;
};

TEST_F(RestoreTest, TheOneManAnnouncementsGoOnAfterTheStopsBehind) {
  // Stops of kind 0 behind station k: 0 -> none, 1 -> one, 2 -> one (the pass is not one), 3 -> two, 4 -> two
  // (the kind-2 stop is not counted).
  for (const AnnounceCase c :
       {AnnounceCase{0, 1}, AnnounceCase{1, 3}, AnnounceCase{2, 3}, AnnounceCase{3, 5}, AnnounceCase{4, 5}}) {
    restore(std::string(kRoute) + "," + std::to_string(c.station) + ",0,10,25000,5000,0");
    EXPECT_EQ(d.control.announceIndex, c.want) << "station " << c.station;
  }
}

TEST_F(RestoreTest, ForgetsWhatTheRunPassedAndSilencesAllButTheFirstChannel) {
  d.line.stations[0].served = 1;
  d.line.announceDone[3] = 1;
  d.state.pendingOther = 1;
  d.state.limitWarnPending = 1;
  for (int channel : {0, 5, 150}) {
    f->sounds.bind_wave(channel, test::silentWave(60));
    f->sounds.play_loop(channel);
  }
  restore(std::string(kRoute) + ",2,50,5760,26100,320000,0");
  EXPECT_EQ(d.line.stations[0].served, 0);
  EXPECT_EQ(d.line.announceDone[3], 0);
  EXPECT_EQ(d.state.pendingOther, kNone);
  EXPECT_EQ(d.state.limitWarnPending, 0);
  EXPECT_TRUE(f->sounds.is_playing(0));
  EXPECT_FALSE(f->sounds.is_playing(5));
  EXPECT_FALSE(f->sounds.is_playing(150));
}

TEST_F(RestoreTest, TheCrossingsAtTheNewFrameArePendingAgain) {
  f->route.crossings[0] = {0, 3, 100, 300, 0};
  f->route.crossings[1] = {0, 3, 5700, 5900, 0};
  f->route.crossings[2] = {0, 3, 5750, 5800, 0};
  f->route.crossingCount = 3;
  d.state.crossingQueue[0] = 0;
  d.state.crossingPending = 0;
  restore(std::string(kRoute) + ",2,50,5760,26100,320000,0");
  EXPECT_EQ(d.state.crossingQueue[0], 1);
  EXPECT_EQ(d.state.crossingQueue[1], 2);
  EXPECT_EQ(d.state.crossingQueue[2], -1);
  EXPECT_EQ(d.state.crossingPending, 2);
}

TEST_F(RestoreTest, ProtectionStateIsResetOnlyOutsideSignalAndLimitSections) {
  d.state.atsSpeedCode = 45;
  d.state.shownSignalImage = 8;
  restore(std::string(kRoute) + ",2,50,5760,26100,320000,0");
  EXPECT_EQ(d.state.atsSpeedCode, kNone);
  EXPECT_EQ(d.state.shownSignalImage, kNone);

  f->route.signals[0].visibleFrom = 5700;
  f->route.signals[0].visibleTo = 5800;
  f->route.signalCount = 1;
  d.state.atsSpeedCode = 45;
  restore(std::string(kRoute) + ",2,50,5760,26100,320000,0");
  EXPECT_EQ(d.state.atsSpeedCode, 45);
}

TEST_F(RestoreTest, ASideVideoEndsAndTheRouteVideoShowsTheRestoredFrame) {
  d.state.videoMode = 2;
  d.state.sideVideoRow = 0;
  d.state.sideFrame = 40;
  restore(std::string(kRoute) + ",2,50,5760,26100,320000,0");
  EXPECT_EQ(d.state.videoMode, 0);
  EXPECT_EQ(d.state.sideVideoRow, -1);
  f->runTicks(1);
  EXPECT_GT(d.state.frame, 5760) << "the train runs on from the restored frame";
  EXPECT_LT(d.state.frame, 5760 + 10);
}

// The trace fields a restore decides, and those that follow from them and the handles.
const char* const kContinuedFields[] = {
    "speed",          "position",       "frame",          "clock",        "currentStation", "nextStop",
    "targetPosition", "distanceToStop", "precedingFrame", "powerHandle",  "brakeHandle",    "powerNotch",
    "brakeNotch",     "sapNotch",       "tractiveForce",  "brakeForce",   "resistForce",    "bcMotor",
    "bcTrailer",      "announceIndex",  "atsSpeedCode",   "NextStopText", "brakeText",      "powerText"};

std::string fieldText(const std::string& line, const std::string& name) {
  const std::string key = "\"" + name + "\":";
  const std::size_t at = line.find(key);
  if (at == std::string::npos) return "?";
  const std::size_t from = at + key.size();
  std::size_t end = from;
  if (line[from] == '"') {
    end = line.find('"', from + 1) + 1;
  } else {
    end = line.find_first_of(",}", from);
  }
  return line.substr(from, end - from);
}

std::vector<std::string> continuation(test::DriveFixture& f, int ticks) {
  std::vector<std::string> lines;
  for (int i = 0; i < ticks; ++i) {
    f.runTicks(1);
    const std::string line = tools::stateLine(f.drive, 0, 0);
    std::string kept;
    for (const char* field : kContinuedFields) kept += std::string(field) + "=" + fieldText(line, field) + " ";
    lines.push_back(kept);
  }
  return lines;
}

// The overhead line's voltage is up, as it is on a loaded drive.
void powered(test::DriveFixture& f) {
  f.drive.state.engineRunning = 1;
  f.drive.state.lineVoltage = core::Fixed::fromInt(1500);
  f.drive.state.lineVoltageTarget = core::Fixed::fromInt(1500);
}

void setPower(test::DriveFixture& f, int notch) {
  f.drive.control.powerHandle = notch;
  f.drive.control.powerChangePending = 1;
}

TEST(SavedStateRoundTrip, ARestoredDriveRunsOnAsTheDriveItWasSavedFrom) {
  // The original drive starts under power between stations, coasts, and is saved at speed.
  auto original = savedStateDrive();
  test::standAt(*original, 2 * test::kFramesPerKm);
  powered(*original);
  setPower(*original, 4);
  original->runTicks(300);
  setPower(*original, 0);
  original->runTicks(50);
  ASSERT_GT(original->drive.state.speed, 20);
  const SavedSlot slot = saveSlot(original->drive, kRoute);

  // Another drive of the same train stands elsewhere on the line with its brakes released, the same time long.
  auto restored = savedStateDrive();
  test::standAt(*restored, 4 * test::kFramesPerKm);
  powered(*restored);
  restored->runTicks(350);

  // The original is put back into its own saved state (so that its speed and position are the slot's whole
  // numbers); from there both must run the same.
  for (test::DriveFixture* f : {original.get(), restored.get()}) {
    const CheckedState checked = checkSavedState(f->drive, kRoute, slot.line);
    ASSERT_TRUE(std::holds_alternative<SavedState>(checked));
    restoreState(f->drive, std::get<SavedState>(checked));
  }
  const std::vector<std::string> want = continuation(*original, 200);
  const std::vector<std::string> got = continuation(*restored, 200);
  for (std::size_t i = 0; i < want.size(); ++i) ASSERT_EQ(got[i], want[i]) << "tick " << i;
  EXPECT_GT(original->drive.state.speed, 10) << "the comparison covers a running train";
}

}  // namespace
}  // namespace vesk::sim
