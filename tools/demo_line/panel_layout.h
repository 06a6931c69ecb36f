// Where everything sits on the cab panels of the demo pack's four train families, in pixels of the 800 x 850
// drawing area (the forward view is 800 x 450 at the top; the panel picture is 800 x 400 at y 450). The vehicle
// files and the panel pictures are both made from these numbers.
#pragma once

#include <string>
#include <vector>

namespace vesk::demo {

// A round gauge: its dial is drawn on the panel picture around (cx, cy); its needle picture is a square of
// 2 r, the pointer drawn from the centre straight up (angle 0), placed at (cx - r, cy - r). The needle turns
// `scale` degrees a unit from `offset` degrees (0 = straight up, clockwise positive) at 0.
struct Gauge {
  std::string key;     // the vehicle file key, "[Needle_Speed]" ...
  std::string needle;  // the needle picture, relative to the program folder
  int cx = 0;
  int cy = 0;
  int r = 0;
  int offset = 0;       // degrees at 0
  double scale = 0;     // degrees a unit
  double maximum = 0;   // the last figure of the dial
  double step = 0;      // figures every `step` units
  std::string unit;     // "km/h", "kPa", "A", "V"
  double lowScale = 0;  // speed needle: degrees a km/h below 10 km/h (0: none)
  int ammeterMode = 0;
};

// A lamp: a lit picture drawn over the panel while the lamp is on.
struct Lamp {
  std::string key;      // "[Lamp_Door]" ...
  std::string picture;  // relative to the program folder
  int x = 0;
  int y = 0;
  int w = 56;
  int h = 24;
  std::string label;    // what the lamp says ("戸閉" ...)
  unsigned colour = 0;  // 0xRRGGBB when lit
};

// A strip of patterns: pattern k is cell k, left to right (one row).
struct Strip {
  std::string key;  // "[NotchImageP]" ...
  std::string picture;
  int x = 0;
  int y = 0;
  int cellW = 0;
  int cellH = 0;
  std::vector<std::string> cells;  // the text of each cell, from pattern 0
};

struct PanelLayout {
  std::string family;   // "vk500", "vk700", "vk103", "vk401"
  std::string panel;    // the panel picture
  std::string panel2;   // the tunnel overlay picture
  unsigned colour = 0;  // the panel's main colour
  std::vector<Gauge> gauges;
  std::vector<Lamp> lamps;
  std::vector<Strip> strips;
  // The digital speedometer: 200 cells of digiW x digiH, 20 to a row (pattern k shows k km/h).
  std::string digiSpeed;
  int digiX = 0;
  int digiY = 0;
  int digiW = 60;
  int digiH = 26;
  // The analog clock (x, y of the 50 x 50 clock picture; radius of its hands).
  int clockX = 0;
  int clockY = 0;
  int clockR = 20;
};

const std::vector<PanelLayout>& panelLayouts();
const PanelLayout& panelLayout(const std::string& family);

}  // namespace vesk::demo
