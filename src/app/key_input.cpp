#include "app/key_input.h"

#include <array>
#include <optional>
#include <utility>

namespace vesk::app {
namespace {

using sim::InputEvent;
using sim::Key;

std::optional<Key> namedKey(int key) {
  static constexpr std::array<std::pair<int, Key>, 20> kKeys = {{
      {Qt::Key_F1, Key::F1},
      {Qt::Key_F2, Key::F2},
      {Qt::Key_F3, Key::F3},
      {Qt::Key_F4, Key::F4},
      {Qt::Key_F5, Key::F5},
      {Qt::Key_F6, Key::F6},
      {Qt::Key_F7, Key::F7},
      {Qt::Key_F8, Key::F8},
      {Qt::Key_F9, Key::F9},
      {Qt::Key_F10, Key::F10},
      {Qt::Key_F11, Key::F11},
      {Qt::Key_F12, Key::F12},
      {Qt::Key_Return, Key::Enter},
      {Qt::Key_Enter, Key::Enter},
      {Qt::Key_Backspace, Key::Backspace},
      {Qt::Key_PageUp, Key::PageUp},
      {Qt::Key_PageDown, Key::PageDown},
      {Qt::Key_ScrollLock, Key::ScrollLock},
      {Qt::Key_Up, Key::Up},
      {Qt::Key_Down, Key::Down},
  }};
  for (const auto& [qt, k] : kKeys) {
    if (qt == key) return k;
  }
  return std::nullopt;
}

// The digit a keypad key stands for: with Num Lock off the keypad sends movement keys, which drive the train
// like the digits they carry.
std::optional<char> keypadDigit(int key) {
  static constexpr std::array<std::pair<int, char>, 10> kPad = {{
      {Qt::Key_Insert, '0'},
      {Qt::Key_End, '1'},
      {Qt::Key_Down, '2'},
      {Qt::Key_PageDown, '3'},
      {Qt::Key_Left, '4'},
      {Qt::Key_Clear, '5'},
      {Qt::Key_Right, '6'},
      {Qt::Key_Home, '7'},
      {Qt::Key_Up, '8'},
      {Qt::Key_PageUp, '9'},
  }};
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return static_cast<char>('0' + (key - Qt::Key_0));
  for (const auto& [qt, digit] : kPad) {
    if (qt == key) return digit;
  }
  return std::nullopt;
}

bool shiftAlone(Qt::KeyboardModifiers modifiers) {
  const Qt::KeyboardModifiers held =
      modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
  return held == Qt::ShiftModifier;
}

// The horn ('3') and buzzer ('4') keys, on the main keyboard or the keypad, are held as long as they are down.
std::optional<char> holdKey(int key, Qt::KeyboardModifiers modifiers) {
  const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
  if (key == Qt::Key_3 || (keypad && key == Qt::Key_PageDown)) return '3';
  if (key == Qt::Key_4 || (keypad && key == Qt::Key_Left)) return '4';
  return std::nullopt;
}

}  // namespace

std::vector<InputEvent> KeyInput::pressed(int key, Qt::KeyboardModifiers modifiers, const QString& text,
                                          bool autoRepeat) const {
  std::vector<InputEvent> events;
  const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
  if (const auto held = holdKey(key, modifiers); held && !autoRepeat) events.push_back(InputEvent::hold(*held, true));

  if (keypad && key != Qt::Key_Enter) {
    if (const auto digit = keypadDigit(key)) {
      events.push_back(InputEvent::typed(*digit));
      return events;
    }
  }
  if (const auto k = namedKey(key)) {
    events.push_back(InputEvent::keyDown(*k, shiftAlone(modifiers)));
    return events;
  }
  // A typed character: printable ASCII only (Ctrl combinations type control codes, which drive nothing).
  if (text.size() == 1) {
    const char16_t c = text.at(0).unicode();
    if (c >= 0x20 && c < 0x7f) events.push_back(InputEvent::typed(static_cast<char>(c)));
  }
  return events;
}

std::vector<InputEvent> KeyInput::released(int key, Qt::KeyboardModifiers modifiers, bool autoRepeat) const {
  std::vector<InputEvent> events;
  if (autoRepeat) return events;
  if (const auto held = holdKey(key, modifiers)) events.push_back(InputEvent::hold(*held, false));
  if (modifiers.testFlag(Qt::KeypadModifier) && keypadDigit(key)) return events;
  if (const auto k = namedKey(key)) events.push_back(InputEvent::keyUp(*k));
  return events;
}

std::vector<InputEvent> KeyInput::wheel(int angleDelta) {
  constexpr int kNotch = 120;
  std::vector<InputEvent> events;
  wheelRest_ += angleDelta;
  while (wheelRest_ >= kNotch) {
    events.push_back(InputEvent::wheel(false));
    wheelRest_ -= kNotch;
  }
  while (wheelRest_ <= -kNotch) {
    events.push_back(InputEvent::wheel(true));
    wheelRest_ += kNotch;
  }
  return events;
}

}  // namespace vesk::app
