// The command lines of a serial train controller: which entries of the controller map ("mascon.dat") a line
// matches. Drive::controllerLine applies them.
#pragma once

#include <string_view>
#include <vector>

#include "data/string_file.h"

namespace vesk::sim {

// Only the first entries of the map have a meaning: power 1..6, neutral, brake 1..9, the reverser, and four
// keys of the keyboard.
inline constexpr int kControllerCommandCount = 23;
// Only this many characters of a line are compared with the map.
inline constexpr std::size_t kControllerCodeLength = 5;

struct ControllerCommand {
  enum class Kind {
    Power,      // value: the controller's power position 1..6
    Neutral,    // power off, brake released
    Brake,      // value: the controller's brake position 1..9
    Reverser,   // value: 1 forward, 0 neutral, -1 backward
    Character,  // value: the character the keyboard would type
  };
  Kind kind = Kind::Neutral;
  int value = 0;
  bool operator==(const ControllerCommand&) const = default;
};

// The command of map entry `index` (0 .. kControllerCommandCount - 1).
ControllerCommand controllerCommandOfEntry(int index);

// The commands a line gives: each map entry that equals the line's first five characters exactly (so an entry
// of another length matches only a line of exactly that text), in map order. Several entries match only when
// the map repeats a code.
std::vector<ControllerCommand> matchControllerLine(const data::ControllerCodes& codes, std::string_view line);

}  // namespace vesk::sim
