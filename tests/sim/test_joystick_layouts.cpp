#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "sim/joystick_layouts.h"
#include "support/drive_fixture.h"

namespace vesk::sim {
namespace {

JoystickState stateOf(int x, int y, std::initializer_list<int> buttons = {}) {
  JoystickState s;
  s.x = x;
  s.y = y;
  for (int b : buttons) s.buttons[static_cast<std::size_t>(b)] = true;
  return s;
}

// What the posted events type: characters as they are, the Enter key as '\n'.
std::string postedText(const std::vector<InputEvent>& events) {
  std::string text;
  for (const InputEvent& e : events) {
    if (e.kind == InputEvent::Kind::Char) text += e.character;
    if (e.kind == InputEvent::Kind::KeyDown && e.key == Key::Enter) text += '\n';
  }
  return text;
}

struct CodeCase {
  const char* name;
  std::vector<int> buttons;
  int codeA;
  int codeB;
};
void PrintTo(const CodeCase& c, std::ostream* out) { *out << c.name; }
class ButtonCodes : public testing::TestWithParam<CodeCase> {};

TEST_P(ButtonCodes, FromButtons) {
  JoystickState s;
  for (int b : GetParam().buttons) s.buttons[static_cast<std::size_t>(b)] = true;
  EXPECT_EQ(buttonCodeA(s), GetParam().codeA);
  EXPECT_EQ(buttonCodeB(s), GetParam().codeB);
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, ButtonCodes,
    testing::Values(CodeCase{"none", {}, 0, 0}, CodeCase{"button0", {0}, 1, 0}, CodeCase{"button3", {3}, 8, 0},
                    CodeCase{"button4", {4}, 0, 1}, CodeCase{"button7", {7}, 0, 8}, CodeCase{"button8", {8}, 16, 0},
                    CodeCase{"button15", {15}, 2048, 0},
                    CodeCase{"all", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}, 4095, 15}),
    [](const testing::TestParamInfo<CodeCase>& info) { return std::string(info.param.name); });

struct LayoutCase {
  const char* name;
  int layout;
  JoystickState state;
  std::optional<int> power;
  std::optional<int> brake;
  std::string posted;
  std::optional<bool> horn;
};
void PrintTo(const LayoutCase& c, std::ostream* out) { *out << c.name; }
class JoystickLayouts : public testing::TestWithParam<LayoutCase> {};

// Calibration of layout 2: power positions 0..5 read 100, 200 .. 600; brake positions 0..8 read 0 .. 8, EB 15.
Settings calibration() {
  Settings s;
  for (int i = 0; i < 6; ++i) s.P[static_cast<std::size_t>(i)] = 100 * (i + 1);
  for (int i = 0; i < 9; ++i) s.B[static_cast<std::size_t>(i)] = i;
  s.EB = 15;
  return s;
}

TEST_P(JoystickLayouts, Reading) {
  const LayoutCase& c = GetParam();
  const JoystickReading r = readJoystickLayout(c.layout, c.state, calibration());
  EXPECT_EQ(r.powerPosition, c.power);
  EXPECT_EQ(r.brakePosition, c.brake);
  EXPECT_EQ(postedText(r.posted), c.posted);
  EXPECT_EQ(r.hornHeld, c.horn);
}

constexpr std::optional<int> kNone = std::nullopt;
constexpr std::optional<bool> kNoHorn = std::nullopt;

INSTANTIATE_TEST_SUITE_P(
    Analogue, JoystickLayouts,
    testing::Values(LayoutCase{"centred", 1, stateOf(0, 0), 0, 0, "", kNoHorn},
                    LayoutCase{"y4999IsPower1", 1, stateOf(0, -4999), 1, 0, "", kNoHorn},
                    LayoutCase{"y5000KeepsPower", 1, stateOf(0, -5000), kNone, 0, "", kNoHorn},
                    LayoutCase{"y5001IsPower2", 1, stateOf(0, -5001), 2, 0, "", kNoHorn},
                    LayoutCase{"y12000KeepsPower", 1, stateOf(0, -12000), kNone, 0, "", kNoHorn},
                    LayoutCase{"y15000IsPower3", 1, stateOf(0, -15000), 3, 0, "", kNoHorn},
                    LayoutCase{"y25000IsPower4", 1, stateOf(0, -25000), 4, 0, "", kNoHorn},
                    LayoutCase{"y30000KeepsPower", 1, stateOf(0, -30000), kNone, 0, "", kNoHorn},
                    LayoutCase{"y32768IsPower5", 1, stateOf(0, -32768), 5, 0, "", kNoHorn},
                    LayoutCase{"pulledBackIsPower0", 1, stateOf(0, 20000), 0, 0, "", kNoHorn},
                    LayoutCase{"x500IsBrake1", 1, stateOf(500, 0), 0, 1, "", kNoHorn},
                    LayoutCase{"x1000KeepsBrake", 1, stateOf(1000, 0), 0, kNone, "", kNoHorn},
                    LayoutCase{"x9000IsBrake5", 1, stateOf(9000, 0), 0, 5, "", kNoHorn},
                    LayoutCase{"x12500IsBrake8", 1, stateOf(12500, 0), 0, 8, "", kNoHorn},
                    LayoutCase{"x13000KeepsBrake", 1, stateOf(13000, 0), 0, kNone, "", kNoHorn},
                    LayoutCase{"x13001IsBrake9", 1, stateOf(13001, 0), 0, 9, "", kNoHorn},
                    LayoutCase{"buttonsInOrder", 1, stateOf(0, 0, {5, 4, 3, 2, 1, 0}), 0, 0, "9137\ns", kNoHorn},
                    LayoutCase{"serialOnlyReadsNothing", 0, stateOf(500, -20001, {0}), kNone, kNone, "", kNoHorn}),
    [](const testing::TestParamInfo<LayoutCase>& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Calibrated, JoystickLayouts,
    testing::Values(LayoutCase{"power2FromXPlusCodeAPlusY", 2, stateOf(350, -50), 2, 0, "", kNoHorn},
                    LayoutCase{"codeACountsInThePowerValue", 2, stateOf(100, 0, {8}), kNone, 0, "r", kNoHorn},
                    LayoutCase{"unknownValueKeepsPower", 2, stateOf(123, 0), kNone, 0, "", kNoHorn},
                    LayoutCase{"brake5FromCodeB", 2, stateOf(100, 0, {4, 6}), 0, 5, "", kNoHorn},
                    LayoutCase{"emergencyReading", 2, stateOf(100, 0, {4, 5, 6, 7}), 0, 9, "", kNoHorn},
                    LayoutCase{"buttonsPostTheirKeys", 2, stateOf(0, 0, {1, 2, 3, 9}), kNone, 0, "1379", kNoHorn}),
    [](const testing::TestParamInfo<LayoutCase>& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(ButtonCodeLayout, JoystickLayouts,
                         testing::Values(LayoutCase{"neutral", 3, stateOf(0, -1, {6, 8}), 0, 0, "f", false},
                                         LayoutCase{"power1", 3, stateOf(0, 0, {6, 8, 9}), 1, kNone, "n", false},
                                         LayoutCase{"power5", 3, stateOf(0, 1, {6, 7, 8, 9}), 5, kNone, "b", false},
                                         LayoutCase{"brake1", 3, stateOf(0, 0, {6, 9}), kNone, 1, "n", false},
                                         LayoutCase{"brake6", 3, stateOf(0, 0, {7}), kNone, 6, "n", false},
                                         LayoutCase{"brake9", 3, stateOf(0, 0, {9}), kNone, 9, "n", false},
                                         LayoutCase{"hornAndDoors", 3, stateOf(0, 0, {0, 2}), kNone, kNone, "7n", true},
                                         LayoutCase{"unknownCombination", 3, stateOf(0, 0, {4}), kNone, kNone, "n",
                                                    false}),
                         [](const testing::TestParamInfo<LayoutCase>& info) { return std::string(info.param.name); });

TEST(JoystickScan, RepeatedStateIsActedOnOnce) {
  JoystickScan scan;
  const Settings cal = calibration();
  EXPECT_TRUE(scan.USBScan(stateOf(0, -4000, {0}), 1, cal, false).acted);
  const JoystickScan::Result again = scan.USBScan(stateOf(0, -4000, {0}), 1, cal, false);
  EXPECT_FALSE(again.acted);
  EXPECT_TRUE(again.events.empty());
  // Another state with the same sum counts as unchanged.
  EXPECT_FALSE(scan.USBScan(stateOf(1, -4001, {0}), 1, cal, false).acted);
  EXPECT_EQ(scan.lastJoystickSignature, -4000 + 1);
  // The held button is posted again with the next change.
  EXPECT_EQ(postedText(scan.USBScan(stateOf(0, -6000, {0}), 1, cal, false).events), "9");
}

TEST(JoystickScan, DebugTitleShowsTheAxes) {
  JoystickScan scan;
  EXPECT_EQ(scan.USBScan(stateOf(-12, 345), 1, {}, true).debugTitle, "X:-12 Y:345");
  EXPECT_EQ(scan.USBScan(stateOf(0, 1), 1, {}, false).debugTitle, "");
}

TEST(JoystickScan, SerialOnlyDoesNotScan) {
  JoystickScan scan;
  EXPECT_FALSE(scan.USBScan(stateOf(0, -4000), 0, {}, false).acted);
  EXPECT_EQ(scan.lastJoystickSignature, 0);
}

// The events of a scan applied to a drive: the handles through the notch mapping, the vigilance counter reset,
// the horn input, the posted characters.
TEST(JoystickScan, EventsDriveTheTrain) {
  data::VehicleSpec v = test::testVehicle();  // five notches in one mode, "[Brake]" 8
  auto f = test::makeDrive(v);
  Drive& d = f->drive;
  JoystickScan scan;
  d.control.idleTicks = 30;
  for (const InputEvent& e : scan.USBScan(stateOf(0, -25000), 1, {}, false).events) applyInput(d, e);
  EXPECT_EQ(d.control.powerHandle, 4);
  EXPECT_EQ(d.control.brakeHandle, 0);
  EXPECT_EQ(d.control.idleTicks, 0);
  EXPECT_EQ(d.control.powerChangePending, 1);

  // Y exactly -5000 keeps the power position; X beyond the last band is emergency, limited to "[Brake]".
  d.control.powerChangePending = 0;
  for (const InputEvent& e : scan.USBScan(stateOf(14000, -5000), 1, {}, false).events) applyInput(d, e);
  EXPECT_EQ(d.control.powerHandle, 4);
  EXPECT_EQ(d.control.brakeHandle, -8);
  EXPECT_EQ(d.control.powerChangePending, 0);
  EXPECT_EQ(d.control.brakeChangePending, 1);

  // Layout 3: the horn input follows button 0; the reverser follows Y (at a standstill).
  for (const InputEvent& e : scan.USBScan(stateOf(0, 1, {0}), 3, {}, false).events) applyInput(d, e);
  EXPECT_TRUE(d.controllerHornHeld);
  EXPECT_EQ(d.control.reverser, -1);
  for (const InputEvent& e : scan.USBScan(stateOf(0, -1), 3, {}, false).events) applyInput(d, e);
  EXPECT_FALSE(d.controllerHornHeld);
  EXPECT_EQ(d.control.reverser, 1);
}

}  // namespace
}  // namespace vesk::sim
