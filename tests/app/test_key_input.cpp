// The window's keys as the drive's input: named keys with Shift alone, typed characters, the keypad's digits
// with or without Num Lock, the horn and buzzer keys held, repeats as presses, and the wheel in notches.
#include <gtest/gtest.h>

#include "app/key_input.h"

namespace vesk::app {
namespace {

using sim::InputEvent;
using sim::Key;
using Kind = InputEvent::Kind;

// An event written short: "char 8", "key F5 shift", "key F5", "keyup F2", "hold 3 on", "wheel down".
std::string describe(const InputEvent& e) {
  switch (e.kind) {
  case Kind::Char:
    return std::string("char ") + e.character;
  case Kind::KeyDown:
    return "key " + std::string(sim::keyName(e.key)) + (e.shift ? " shift" : "");
  case Kind::KeyUp:
    return "keyup " + std::string(sim::keyName(e.key));
  case Kind::HoldKey:
    return std::string("hold ") + e.character + (e.held ? " on" : " off");
  case Kind::WheelDown:
    return "wheel down";
  case Kind::WheelUp:
    return "wheel up";
  default:
    return "other";
  }
}

std::vector<std::string> describe(const std::vector<InputEvent>& events) {
  std::vector<std::string> out;
  for (const InputEvent& e : events) out.push_back(describe(e));
  return out;
}

struct PressCase {
  const char* name;
  int key;
  Qt::KeyboardModifiers modifiers;
  const char* text;
  bool autoRepeat;
  std::vector<std::string> want;
};

class KeyPress : public testing::TestWithParam<PressCase> {};

TEST_P(KeyPress, BecomesTheDrivesInput) {
  const PressCase& c = GetParam();
  const KeyInput keys;
  EXPECT_EQ(describe(keys.pressed(c.key, c.modifiers, QString::fromLatin1(c.text), c.autoRepeat)), c.want);
}

const Qt::KeyboardModifiers kNone = Qt::NoModifier;
const Qt::KeyboardModifiers kPad = Qt::KeypadModifier;

INSTANTIATE_TEST_SUITE_P(
    Cases, KeyPress,
    testing::Values(
        PressCase{"Digit", Qt::Key_8, kNone, "8", false, {"char 8"}},
        PressCase{"Letter", Qt::Key_F, kNone, "f", false, {"char f"}},
        // Upper case reaches the drive, which matches it to nothing.
        PressCase{"UpperCase", Qt::Key_F, Qt::ShiftModifier, "F", false, {"char F"}},
        PressCase{"Space", Qt::Key_Space, kNone, " ", false, {"char  "}},
        PressCase{"Comma", Qt::Key_Comma, kNone, ",", false, {"char ,"}},
        PressCase{"ControlLetterTypesNothing", Qt::Key_A, Qt::ControlModifier, "\x01", false, {}},
        PressCase{"FunctionKey", Qt::Key_F5, kNone, "", false, {"key F5"}},
        PressCase{"ShiftFunctionKey", Qt::Key_F12, Qt::ShiftModifier, "", false, {"key F12 shift"}},
        // Shift with Ctrl is not "Shift+".
        PressCase{
            "ShiftControlFunctionKey", Qt::Key_F12, Qt::ShiftModifier | Qt::ControlModifier, "", false, {"key F12"}},
        PressCase{"Return", Qt::Key_Return, kNone, "\r", false, {"key Enter"}},
        PressCase{"KeypadEnter", Qt::Key_Enter, kPad, "\r", false, {"key Enter"}},
        PressCase{"Backspace", Qt::Key_Backspace, kNone, "\b", false, {"key Backspace"}},
        PressCase{"ShiftUp", Qt::Key_Up, Qt::ShiftModifier, "", false, {"key Up shift"}},
        PressCase{"ScrollLock", Qt::Key_ScrollLock, kNone, "", false, {"key ScrollLock"}},
        PressCase{"KeypadDigit", Qt::Key_8, kPad, "8", false, {"char 8"}},
        // Num Lock off: the keypad's arrows still drive as the digits they carry.
        PressCase{"KeypadUpWithoutNumLock", Qt::Key_Up, kPad, "", false, {"char 8"}},
        PressCase{"KeypadInsertWithoutNumLock", Qt::Key_Insert, kPad, "", false, {"char 0"}},
        PressCase{"KeypadMinus", Qt::Key_Minus, kPad, "-", false, {"char -"}},
        PressCase{"Horn", Qt::Key_3, kNone, "3", false, {"hold 3 on", "char 3"}},
        PressCase{"KeypadHornWithoutNumLock", Qt::Key_PageDown, kPad, "", false, {"hold 3 on", "char 3"}},
        PressCase{"Buzzer", Qt::Key_4, kPad, "4", false, {"hold 4 on", "char 4"}},
        // A held key repeats as presses; it was held already.
        PressCase{"HornRepeat", Qt::Key_3, kNone, "3", true, {"char 3"}},
        PressCase{"DigitRepeat", Qt::Key_2, kNone, "2", true, {"char 2"}}),
    [](const auto& info) { return std::string(info.param.name); });

struct ReleaseCase {
  const char* name;
  int key;
  Qt::KeyboardModifiers modifiers;
  bool autoRepeat;
  std::vector<std::string> want;
};

class KeyRelease : public testing::TestWithParam<ReleaseCase> {};

TEST_P(KeyRelease, BecomesTheDrivesInput) {
  const ReleaseCase& c = GetParam();
  const KeyInput keys;
  EXPECT_EQ(describe(keys.released(c.key, c.modifiers, c.autoRepeat)), c.want);
}

INSTANTIATE_TEST_SUITE_P(Cases, KeyRelease,
                         testing::Values(ReleaseCase{"EngineSwitch", Qt::Key_F2, kNone, false, {"keyup F2"}},
                                         ReleaseCase{"Horn", Qt::Key_3, kNone, false, {"hold 3 off"}},
                                         ReleaseCase{"KeypadBuzzer", Qt::Key_Left, kPad, false, {"hold 4 off"}},
                                         ReleaseCase{"Letter", Qt::Key_F, kNone, false, {}},
                                         // Between repeats the key is still held.
                                         ReleaseCase{"HornRepeat", Qt::Key_3, kNone, true, {}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Wheel, TurnsInWholeNotches) {
  KeyInput keys;
  EXPECT_EQ(describe(keys.wheel(-120)), std::vector<std::string>{"wheel down"});
  EXPECT_EQ(describe(keys.wheel(240)), (std::vector<std::string>{"wheel up", "wheel up"}));
  // A fine-stepping wheel: two halves make one notch.
  EXPECT_TRUE(keys.wheel(60).empty());
  EXPECT_EQ(describe(keys.wheel(60)), std::vector<std::string>{"wheel up"});
  EXPECT_TRUE(keys.wheel(-60).empty());
  EXPECT_EQ(describe(keys.wheel(-60)), std::vector<std::string>{"wheel down"});
}

}  // namespace
}  // namespace vesk::app
