// The title screen's choices and its menu reveal, without any window: which route file a line picture stands
// for (its variant while Shift is held), which train plates each line offers, which vehicle file a train plate
// loads on a down or an up line, and which menu items show after a number of 100 ms ticks.
#pragma once

#include <array>
#include <string>

namespace vesk::app {

// The title window's states: the opening movie, the title picture (click to start), the menu.
enum class TitleState { Opening = 0, Picture = 2, Menu = 3 };

inline constexpr int kLineCount = 6;   // line1 .. line6
inline constexpr int kTrainCount = 3;  // train1 .. train3

// Line k (0..5): down local, down rapid, down through, up local, up rapid, up through.
std::string routeForLine(int line, bool variantKey);
// The train plates line k offers: its own train, and every train while the variant key is held.
std::array<bool, kTrainCount> trainsForLine(int line, bool variantKey);
// The vehicle file of train plate k (0..2) for a route, by whether the route is a down line ("line_d...").
std::string vehicleForTrain(int train, const std::string& routeFileName);

// What the menu shows after `menuTicks` ticks of the menu state: the map at once, then one line each tick from
// the third, then the help and back buttons; the reveal is over (the timer stops) after the twelfth.
struct MenuReveal {
  bool map = false;
  std::array<bool, kLineCount> lines{};
  bool help = false;
  bool back = false;
  bool finished = false;
};
MenuReveal menuRevealAfter(int menuTicks);

// The opening state gives way to the title picture after this many ticks (160 s) when nobody clicks.
inline constexpr int kOpeningTicks = 1600;

}  // namespace vesk::app
