#include "sim/joystick_layouts.h"

namespace vesk::sim {
namespace {

bool pressed(const JoystickState& s, int button) { return s.buttons[static_cast<std::size_t>(button)]; }

void postCharacterIf(JoystickReading& r, bool condition, char c) {
  if (condition) r.posted.push_back(InputEvent::typed(c));
}

// Calibrated codes: the power value against P0..P5, the brake buttons against B0..B8 and EB; the first equal
// one counts.
void readCalibrated(JoystickReading& r, const JoystickState& s, const Settings& calibration) {
  const int powerValue = s.x + buttonCodeA(s) + s.y;
  for (int position = 0; position < 6; ++position) {
    if (calibration.P[static_cast<std::size_t>(position)] == powerValue) {
      r.powerPosition = position;
      break;
    }
  }
  const int brakeValue = buttonCodeB(s);
  for (int position = 0; position <= 9; ++position) {
    const int reading = position < 9 ? calibration.B[static_cast<std::size_t>(position)] : calibration.EB;
    if (reading == brakeValue) {
      r.brakePosition = position;
      break;
    }
  }
  postCharacterIf(r, pressed(s, 9), '1');
  postCharacterIf(r, pressed(s, 1), '3');
  postCharacterIf(r, pressed(s, 2), '7');
  postCharacterIf(r, pressed(s, 3), '9');
  postCharacterIf(r, pressed(s, 8), 'r');
}

struct CodeRow {
  int codeB;
  int codeA;
  int position;
};
constexpr std::array<CodeRow, 6> kPowerCodes = {
    {{4, 16, 0}, {4, 48, 1}, {12, 0, 2}, {12, 32, 3}, {12, 16, 4}, {12, 48, 5}}};
constexpr std::array<CodeRow, 10> kBrakeCodes = {{{4, 16, 0},
                                                  {4, 32, 1},
                                                  {4, 0, 2},
                                                  {8, 48, 3},
                                                  {8, 16, 4},
                                                  {8, 32, 5},
                                                  {8, 0, 6},
                                                  {0, 48, 7},
                                                  {0, 16, 8},
                                                  {0, 32, 9}}};

template <std::size_t N> std::optional<int> lookUp(const std::array<CodeRow, N>& rows, int codeB, int codeA) {
  for (const CodeRow& row : rows) {
    if (row.codeB == codeB && row.codeA == codeA) return row.position;
  }
  return std::nullopt;
}

// Button codes: the handles from combinations of buttons 4..15, the reverser from Y.
void readButtonCodes(JoystickReading& r, const JoystickState& s) {
  const int codeA = buttonCodeA(s);
  const int codeB = buttonCodeB(s);
  r.powerPosition = lookUp(kPowerCodes, codeB, codeA);
  r.brakePosition = lookUp(kBrakeCodes, codeB, codeA);
  r.hornHeld = pressed(s, 0);
  postCharacterIf(r, pressed(s, 2), '7');
  r.posted.push_back(InputEvent::typed(s.y < 0 ? 'f' : s.y == 0 ? 'n' : 'b'));
}

// Power from Y (pushed forward is negative); an exact band boundary gives nothing.
std::optional<int> analoguePower(int y) {
  if (y >= 0) return 0;
  if (y > -5000) return 1;
  if (y < -5000 && y > -12000) return 2;
  if (y < -12000 && y > -20000) return 3;
  if (y < -20000 && y > -30000) return 4;
  if (y < -30000) return 5;
  return std::nullopt;
}

// Brake from X; an exact band boundary gives nothing.
std::optional<int> analogueBrake(int x) {
  if (x <= 0) return 0;
  static constexpr std::array<std::pair<int, int>, 8> kBands = {{{0, 1000},
                                                                 {1000, 4000},
                                                                 {4000, 6000},
                                                                 {6000, 8000},
                                                                 {8000, 9500},
                                                                 {9500, 11000},
                                                                 {11000, 12000},
                                                                 {12000, 13000}}};
  for (std::size_t i = 0; i < kBands.size(); ++i) {
    if (x > kBands[i].first && x < kBands[i].second) return static_cast<int>(i) + 1;
  }
  if (x > 13000) return 9;
  return std::nullopt;
}

void readAnalogue(JoystickReading& r, const JoystickState& s) {
  r.powerPosition = analoguePower(s.y);
  r.brakePosition = analogueBrake(s.x);
  postCharacterIf(r, pressed(s, 0), '9');
  postCharacterIf(r, pressed(s, 1), '1');
  postCharacterIf(r, pressed(s, 2), '3');
  postCharacterIf(r, pressed(s, 3), '7');
  // The call-out response.
  if (pressed(s, 4)) r.posted.push_back(InputEvent::keyDown(Key::Enter, false));
  postCharacterIf(r, pressed(s, 5), 's');
}

}  // namespace

int buttonCodeA(const JoystickState& state) {
  int code = 0;
  for (int button = 0; button < 4; ++button) code += pressed(state, button) ? 1 << button : 0;
  for (int button = 8; button < 16; ++button) code += pressed(state, button) ? 1 << (button - 4) : 0;
  return code;
}

int buttonCodeB(const JoystickState& state) {
  int code = 0;
  for (int button = 4; button < 8; ++button) code += pressed(state, button) ? 1 << (button - 4) : 0;
  return code;
}

int joystickSignature(const JoystickState& state) {
  return state.x + state.y + buttonCodeA(state) + buttonCodeB(state);
}

JoystickReading readJoystickLayout(int controllerType, const JoystickState& state, const Settings& calibration) {
  JoystickReading reading;
  switch (controllerType) {
  case kAnalogueJoystick:
    readAnalogue(reading, state);
    break;
  case kCalibratedJoystick:
    readCalibrated(reading, state, calibration);
    break;
  case kButtonCodeJoystick:
    readButtonCodes(reading, state);
    break;
  default:
    break;
  }
  return reading;
}

JoystickScan::Result JoystickScan::USBScan(const JoystickState& state, int controllerType, const Settings& calibration,
                                           bool debug) {
  Result result;
  if (controllerType < kAnalogueJoystick || controllerType >= kControllerTypeCount) return result;
  const int signature = joystickSignature(state);
  if (signature == lastJoystickSignature) return result;
  result.acted = true;
  JoystickReading reading = readJoystickLayout(controllerType, state, calibration);
  // The handles event resets the vigilance device's counter and runs masconupdate even when no position matched.
  result.events.push_back(InputEvent::handles(reading.powerPosition, reading.brakePosition));
  if (reading.hornHeld) result.events.push_back(InputEvent::controllerHorn(*reading.hornHeld));
  for (InputEvent& e : reading.posted) result.events.push_back(std::move(e));
  if (debug) result.debugTitle = "X:" + std::to_string(state.x) + " Y:" + std::to_string(state.y);
  lastJoystickSignature = signature;
  return result;
}

}  // namespace vesk::sim
