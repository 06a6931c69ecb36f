// The game controllers read as a joystick: what each of the three layouts makes of a polled state (two axes and
// 16 buttons), and the poll (USBScan) that acts on a state only when it changed. Pure logic over a polled state;
// the device that polls lives above the simulation and queues the events USBScan gives.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "sim/input_event.h"
#include "sim/settings.h"

namespace vesk::sim {

// controllerType: which input the "Controller" menu chose.
enum ControllerType : int {
  kSerialControllerOnly = 0,  // the serial port only; the joystick is not read
  kAnalogueJoystick = 1,      // power from Y, brake from X
  kCalibratedJoystick = 2,    // the calibration values P0..P5, B0..B8, EB
  kButtonCodeJoystick = 3,    // power and brake from button combinations
};
inline constexpr int kControllerTypeCount = 4;

struct JoystickState {
  int x = 0;  // in the device's range (SDL: -32768 .. 32767)
  int y = 0;
  std::array<bool, 16> buttons{};
  bool operator==(const JoystickState&) const = default;
};

// Buttons 0..3 as 1, 2, 4, 8 and buttons 8..15 as 16 .. 2048.
int buttonCodeA(const JoystickState& state);
// Buttons 4..7 as 1, 2, 4, 8.
int buttonCodeB(const JoystickState& state);
// X + Y + buttonCodeA + buttonCodeB: a poll whose signature equals the last one acted on changes nothing.
int joystickSignature(const JoystickState& state);

// What one layout reads from a state: the handle positions a controller gives (power 0..6, brake 0..9; none
// where the state gives none), the characters and keys its buttons post, in the order the layout reads its buttons, and
// the horn input.
struct JoystickReading {
  std::optional<int> powerPosition;
  std::optional<int> brakePosition;
  std::vector<InputEvent> posted;
  std::optional<bool> hornHeld;
};
JoystickReading readJoystickLayout(int controllerType, const JoystickState& state, const Settings& calibration);

// USBScan and its memory between polls (lastJoystickSignature). One per drive.
class JoystickScan {
 public:
  struct Result {
    bool acted = false;
    // In the order they are queued: the handles (a sign of life for the vigilance device, then masconupdate),
    // the horn input, then the posted characters and keys.
    std::vector<InputEvent> events;
    std::string debugTitle;  // "X:.. Y:.." when the debug option is marked and the poll acted
  };

  Result USBScan(const JoystickState& state, int controllerType, const Settings& calibration, bool debug);

  int lastJoystickSignature = 0;
};

}  // namespace vesk::sim
