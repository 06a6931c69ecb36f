// Settings: the driver's preferences and the calibration of an external controller, kept between drives.
#pragma once

#include <array>

namespace vesk::sim {

struct Settings {
  int Kanko = 0;           // 1: call-outs off
  int Information = 0;     // 1: explanatory texts on the view hidden
  int ATS = 0;             // 1: beginner mode, the ATS off
  int Tunnel = 0;          // 1: visual effects off
  int Moji = 0;            // 1: text readouts shown
  std::array<int, 6> P{};  // controller readings of power positions 0..5
  std::array<int, 9> B{};  // brake positions 0..8
  int EB = 0;              // emergency position
};

}  // namespace vesk::sim
