#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/controller_line.h"
#include "sim/drive_runner.h"
#include "support/drive_fixture.h"

namespace vesk::sim {
namespace {

using Kind = ControllerCommand::Kind;

// A controller map in file order: power 1..6, neutral, brake 1..9, reverser F N B, ATS, horn, doors, announce.
data::ControllerCodes controllerMap() {
  const std::vector<std::string> lines = {"P1   ", "P2   ", "P3   ", "P4   ", "P5   ", "P6   ", "N    ", "B1   ",
                                          "B2   ", "B3   ", "B4   ", "B5   ", "B6   ", "B7   ", "B8   ", "B9   ",
                                          "RF   ", "RN   ", "RB   ", "ATS  ", "HORN ", "DOOR ", "ANN  ", "spare"};
  data::ControllerCodes codes;
  for (const std::string& line : lines) codes.codes[static_cast<std::size_t>(codes.count++)] = line;
  return codes;
}

// Six notches: mode 0 has notches 1-4, mode 1 notches 5-6; "[Brake]" 8 (7 service notches and emergency).
std::unique_ptr<test::DriveFixture> train() {
  data::VehicleSpec v = test::testVehicle();
  v.powerNotches = 6;
  for (int i = 0; i < 6; ++i) v.notchRows[static_cast<std::size_t>(i)].mode = i < 4 ? 0 : 1;
  v.notchRowCount = 6;
  v.notchModeStart[1] = 4;
  v.powerModeCount = 2;
  v.powerModes[0] = {"P", "通常"};
  v.powerModes[1] = {"S", "勾配"};
  auto f = test::makeDrive(v);
  f->drive.controllerCodes = controllerMap();
  return f;
}

struct LineCase {
  const char* name;
  const char* line;
  int powerMode;
  double speed;
  int wantPower;
  int wantBrake;
  int wantReverser;
  bool wantPending;
};
void PrintTo(const LineCase& c, std::ostream* out) { *out << c.name; }

class ControllerLineTest : public testing::TestWithParam<LineCase> {};

// The train starts with power 2, brake B3, reverser forward, nothing pending.
TEST_P(ControllerLineTest, Handles) {
  const LineCase& c = GetParam();
  auto f = train();
  Drive& d = f->drive;
  d.control.powerHandle = 2;
  d.control.brakeHandle = -3;
  d.control.reverser = 1;
  d.control.powerMode = c.powerMode;
  d.state.speed = c.speed;
  d.controllerLine(c.line);
  EXPECT_EQ(d.control.powerHandle, c.wantPower);
  EXPECT_EQ(d.control.brakeHandle, c.wantBrake);
  EXPECT_EQ(d.control.reverser, c.wantReverser);
  // A handle command sets all four pending flags.
  const int pending = c.wantPending ? 1 : 0;
  EXPECT_EQ(d.control.powerChangePending, pending);
  EXPECT_EQ(d.control.brakeChangePending, pending);
  EXPECT_EQ(d.control.sapChangePending, pending);
  EXPECT_EQ(d.control.elecBrakeChangePending, pending);
}

INSTANTIATE_TEST_SUITE_P(Commands, ControllerLineTest,
                         testing::Values(LineCase{"power1ReleasesTheBrake", "P1   ", 0, 0, 1, 0, 1, true},
                                         LineCase{"power6InAModeOfFourGivesItsFourth", "P6   ", 0, 0, 4, 0, 1, true},
                                         LineCase{"power1InMode1IsNotch5", "P1   ", 1, 0, 5, 0, 1, true},
                                         LineCase{"power6InMode1GivesItsLast", "P6   ", 1, 0, 6, 0, 1, true},
                                         LineCase{"neutral", "N    ", 0, 0, 0, 0, 1, true},
                                         LineCase{"brake5CutsPower", "B5   ", 0, 0, 0, -5, 1, true},
                                         LineCase{"brake9OnBrake8IsEmergency", "B9   ", 0, 0, 0, -8, 1, true},
                                         LineCase{"onlyFiveCharactersCompared", "B4   and more", 0, 0, 0, -4, 1, true},
                                         LineCase{"shortLineDoesNotMatchFiveCharacterCode", "B4", 0, 0, 2, -3, 1,
                                                  false},
                                         LineCase{"unmatchedLineIgnored", "XYZZY", 0, 0, 2, -3, 1, false},
                                         LineCase{"reverserBackwardAtStandstill", "RB   ", 0, 0, 2, -3, -1, false},
                                         LineCase{"reverserNeutralAt1KmH", "RN   ", 0, 1.0, 2, -3, 0, false},
                                         LineCase{"reverserWhileRollingBackSlowly", "RN   ", 0, -0.5, 2, -3, 0, false},
                                         LineCase{"reverserIgnoredAbove1KmH", "RB   ", 0, 1.01, 2, -3, 1, false},
                                         LineCase{"reverserIgnoredRollingBack", "RN   ", 0, -3, 2, -3, 1, false}),
                         [](const testing::TestParamInfo<LineCase>& info) { return std::string(info.param.name); });

TEST(ControllerLine, EveryLineIsASignOfLifeAndTitlesTheValueDisplay) {
  auto f = train();
  Drive& d = f->drive;
  d.control.idleTicks = 40;
  d.controllerLine("XYZZY");
  EXPECT_EQ(d.control.idleTicks, 0);
  EXPECT_EQ(d.valueDisplayTitle, "XYZZY");
  EXPECT_EQ(d.snapshot().valueDisplayTitle, "XYZZY");
}

struct MatchCase {
  const char* name;
  std::vector<std::string> map;
  const char* line;
  std::vector<ControllerCommand> want;
};
void PrintTo(const MatchCase& c, std::ostream* out) { *out << c.name; }

class ControllerMatch : public testing::TestWithParam<MatchCase> {};

TEST_P(ControllerMatch, Commands) {
  const MatchCase& c = GetParam();
  data::ControllerCodes codes;
  for (const std::string& line : c.map) codes.codes[static_cast<std::size_t>(codes.count++)] = line;
  EXPECT_EQ(matchControllerLine(codes, c.line), c.want);
}

std::vector<std::string> mapWith(int index, const std::string& code) {
  std::vector<std::string> map(static_cast<std::size_t>(index + 1), "-----");
  map[static_cast<std::size_t>(index)] = code;
  return map;
}

INSTANTIATE_TEST_SUITE_P(
    Codes, ControllerMatch,
    testing::Values(MatchCase{"twoCharacterCodeMatchesExactlyThoseTwo", {"AB"}, "AB", {{Kind::Power, 1}}},
                    MatchCase{"twoCharacterCodeMissesLongerLine", {"AB"}, "ABC", {}},
                    MatchCase{"sixCharacterCodeNeverMatches", {"ABCDEF"}, "ABCDEF", {}},
                    MatchCase{"entry6IsNeutral", mapWith(6, "N"), "N", {{Kind::Neutral, 0}}},
                    MatchCase{"entry15IsBrake9", mapWith(15, "B9"), "B9", {{Kind::Brake, 9}}},
                    MatchCase{"entry16IsForward", mapWith(16, "F"), "F", {{Kind::Reverser, 1}}},
                    MatchCase{"entry18IsBackward", mapWith(18, "R"), "R", {{Kind::Reverser, -1}}},
                    MatchCase{"entry19IsTheSpaceBar", mapWith(19, "A"), "A", {{Kind::Character, ' '}}},
                    MatchCase{"entry22IsKey1", mapWith(22, "C"), "C", {{Kind::Character, '1'}}},
                    MatchCase{"entry23HasNoMeaning", mapWith(23, "X"), "X", {}},
                    MatchCase{"blankCodeMatchesAnEmptyLine", {"P1", ""}, "", {{Kind::Power, 2}}},
                    MatchCase{"repeatedCodeAppliesEachInMapOrder",
                              {"DUP", "P2", "P3", "P4", "P5", "P6", "N", "DUP"},
                              "DUP",
                              {{Kind::Power, 1}, {Kind::Brake, 1}}}),
    [](const testing::TestParamInfo<MatchCase>& info) { return std::string(info.param.name); });

TEST(ControllerLine, KeyCommandsArePostedAsTypedCharacters) {
  auto f = train();
  Drive& d = f->drive;
  for (const char* line : {"ATS  ", "HORN ", "DOOR ", "ANN  "}) d.controllerLine(line);
  std::string posted;
  for (const InputEvent& e : d.takePostedInput()) {
    EXPECT_EQ(e.kind, InputEvent::Kind::Char);
    posted += e.character;
  }
  EXPECT_EQ(posted, " 371");
  EXPECT_TRUE(d.postedInput.empty());
}

TEST(ControllerLine, PostedCharacterIsHandledByApplyInputWithoutARunner) {
  auto f = train();
  f->vehicle.soundHorn4[0] = 5;  // a held horn: the '3' key marks it held
  applyInput(f->drive, InputEvent::controllerLine("HORN "));
  EXPECT_EQ(f->drive.control.hornHeld, 1);
  EXPECT_TRUE(f->drive.postedInput.empty());
}

TEST(ControllerLine, PostedCharacterIsHandledInTheSameRunAfterTheLine) {
  auto f = train();
  f->vehicle.soundHorn4[0] = 5;  // a held horn: the '3' key marks it held
  DriveRunner runner(f->drive);
  runner.input().push(InputEvent::controllerLine("HORN "), 10);
  runner.runUntil(20);
  EXPECT_EQ(f->drive.control.hornHeld, 1);
  EXPECT_TRUE(runner.input().empty());
}

}  // namespace
}  // namespace vesk::sim
