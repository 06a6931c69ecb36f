// InputEvent: one thing the driver (or a controller, or a script) did, to be applied to the drive at a moment of
// virtual time. The window, the controllers and the headless runner all feed the drive through these, so that a
// key reaches the drive the same way whoever pressed it.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "sim/keys.h"

namespace vesk::sim {

class Drive;

struct InputEvent {
  enum class Kind {
    Char,       // a typed character (AsciiDown)
    KeyDown,    // a key with `shift` meaning Shift alone (keydowns)
    KeyUp,      // a key released (keyups)
    WheelDown,  // the mouse wheel turned towards the driver
    WheelUp,    // and away
    HoldKey,    // the horn ('3') or buzzer ('4') key held down or let go
    Handles,    // absolute handle positions from a controller
    Command,    // one command line of a serial controller (controllerLine)
    HornInput,  // a controller's horn input held or let go
    Action,     // anything else (debugging commands of the tools)
  };

  Kind kind = Kind::Char;
  char character = 0;  // Char; HoldKey: '3' or '4'
  Key key = Key::Enter;
  bool shift = false;
  bool held = false;  // HoldKey, HornInput
  // Handles: a controller's power position (0 .. 6) and brake position (0 .. 9), each when it gives one.
  std::optional<int> powerPosition;
  std::optional<int> brakePosition;
  std::string text;  // Command: the line, without its carriage return
  std::function<void(Drive&)> action;

  static InputEvent typed(char c) {
    InputEvent e;
    e.character = c;
    return e;
  }
  static InputEvent keyDown(Key k, bool shiftAlone) {
    InputEvent e;
    e.kind = Kind::KeyDown;
    e.key = k;
    e.shift = shiftAlone;
    return e;
  }
  static InputEvent keyUp(Key k) {
    InputEvent e;
    e.kind = Kind::KeyUp;
    e.key = k;
    return e;
  }
  static InputEvent wheel(bool down) {
    InputEvent e;
    e.kind = down ? Kind::WheelDown : Kind::WheelUp;
    return e;
  }
  static InputEvent hold(char c, bool isHeld) {
    InputEvent e;
    e.kind = Kind::HoldKey;
    e.character = c;
    e.held = isHeld;
    return e;
  }
  static InputEvent handles(std::optional<int> power, std::optional<int> brake) {
    InputEvent e;
    e.kind = Kind::Handles;
    e.powerPosition = power;
    e.brakePosition = brake;
    return e;
  }
  static InputEvent controllerLine(std::string line) {
    InputEvent e;
    e.kind = Kind::Command;
    e.text = std::move(line);
    return e;
  }
  static InputEvent controllerHorn(bool isHeld) {
    InputEvent e;
    e.kind = Kind::HornInput;
    e.held = isHeld;
    return e;
  }
  static InputEvent call(std::function<void(Drive&)> f) {
    InputEvent e;
    e.kind = Kind::Action;
    e.action = std::move(f);
    return e;
  }
};

// Applies one event to the drive, then the input it posted (Drive::post).
void applyInput(Drive& drive, const InputEvent& event);

}  // namespace vesk::sim
