// What the driver information shows outside the forward view: the driving window's labels of the text mode,
// the simple cab window's notch lamps and the value display window's readouts. The tick writes them; the
// windows only show them.
#pragma once

#include <array>
#include <string>
#include <utility>
#include <vector>

namespace vesk::sim {

// The simple cab window's notch lamps: lit (yellow, lime, red) or white.
struct SimpleCabLamps {
  std::array<bool, 5> KP{};  // lit while the power handle is at least 1 .. 5 (yellow)
  bool KN = false;           // lit while both handles are at 0 (lime)
  std::array<bool, 8> KB{};  // lit while the brake handle is at or below -1 .. -8 (red)
};

struct DriverDisplays {
  // Label0 .. Label14 of the text mode; they keep their last texts while the text mode is off.
  std::array<std::string, 15> labels;
  bool subDispShown = false;  // the secondary panel picture shows with the text mode
  SimpleCabLamps simpleCab;
  // The value display's readouts, by label name ("Label1", "Bar_Press0", ...), in a fixed order; written every
  // tick while that window is shown.
  std::vector<std::pair<std::string, std::string>> valueDisplay;
};

}  // namespace vesk::sim
