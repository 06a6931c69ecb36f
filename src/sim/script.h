// Scripted input for the headless runner and the window's test runs: one event per line, "#" starts a comment.
//   T char C          a typed character (space for ' ')
//   T key NAME [shift] a key pressed: F1..F12, Enter, Backspace, PageUp, PageDown, ScrollLock, Up, Down
//   T keyup NAME      a key released
//   T hold C on|off   whether '3' (horn) or '4' (buzzer) is held
//   T set FIELD VALUE a TrainState or ControlState field set directly (debugging)
// T is the virtual time in milliseconds; events at one time apply in file order, before the routines due then.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "sim/input_event.h"

namespace vesk::sim {

struct ScriptEvent {
  enum class Kind { Char, Key, KeyUp, Hold, Set };
  std::int64_t timeMs = 0;
  Kind kind = Kind::Char;
  std::string subject;  // the character, key, or field
  std::string value;    // "on"/"off", or the field's value
  bool shift = false;
  int line = 0;
};

struct ScriptError : std::runtime_error {
  ScriptError(int line, const std::string& what)
      : std::runtime_error("script line " + std::to_string(line) + ": " + what) {}
};

// Events in time order (file order within one time).
std::vector<ScriptEvent> parseScript(std::string_view text);

// The event as the drive's input. A "set" of a field that does not exist, or of a value that does not fit it,
// throws ScriptError here, before the drive runs, so that applying the event cannot fail.
InputEvent scriptInput(const ScriptEvent& event);

}  // namespace vesk::sim
