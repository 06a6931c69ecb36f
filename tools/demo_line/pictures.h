// The pictures of the demo pack, drawn from code: the cab panels of the four train families, the track-side sign
// and signal sheets, the cab monitor, the "[Staf]" pictures, animation and level-crossing pictures, and the
// title screen's pictures. Every file is written relative to the program folder `root`, with '\' in the names
// below meaning a sub-folder. BMP files are 24-bit uncompressed; JPEG files are written by libjpeg.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace vesk::demo {

// What the route-dependent sheets show.
struct PictureInputs {
  // "[Slope]" rows of each direction in route-file order: pattern k + 1 of that direction's gradient post sheet
  // shows row k's gradient (per mil, + rising); pattern 0 is empty.
  std::vector<double> slopesDown;
  std::vector<double> slopesUp;
  // Station names in down order (the monitor and the stop target).
  std::vector<std::string> stations;
  // The speed limits signed by the limit sheet: pattern k + 1 shows limits[k] km/h; the pattern after the last
  // shows the end of a limit.
  std::vector<int> limits;
};

// Writes every picture:
//
// Cab panels, for each family of panelLayouts() (panel_layout.h): the panel picture (800 x 400) with a dial
// face for every gauge (ticks and figures every `step` units from 0 to `maximum`, the needle at `offset` +
// value x `scale` degrees, 0 = straight up, clockwise), a dark label under each lamp's place, the strips' frames;
// the tunnel overlay `panel2` (800 x 400, a dark version of the panel); each gauge's needle (a square of 2 r,
// the pointer from the centre upwards, the bottom-left pixel a colour used nowhere else: the transparent colour);
// each lamp's lit picture (w x h, its label on its colour); each strip (cells left to right, the text of cell k,
// the active one highlighted); the digital speedometer (200 cells of digiW x digiH, 20 to a row, cell k showing
// "k" in seven-segment style digits); the clock is drawn by the program.
//
// Track side ("image\track\"): "teimoku.bmp" (64 x 64 cells: 0 empty, k = a stop target board with the number
// k); "line_s.bmp", "line_m.bmp", "line_e.bmp" (800 x 4 stop position lines: yellow, red, white); "slope_down.bmp"
// and "slope_up.bmp" (64 x 64 cells, gradient posts as above); "limit.bmp" (64 x 64 cells, limit signs as above);
// "remain.bmp" (16 x 900 cells, 4 of them: the remaining-distance bar in green, yellow, orange, red, drawn in the
// lower half of the cell, the upper half black = transparent); "other.bmp" (64 x 64 cells: 0 empty, 1 a time
// check board "時", 2 a station approach board, 3 a whistle board "汽", 4 a level crossing warning, 5 a "stop
// ahead" board, 6-7 spare boards); "signal.bmp" (48 x 112 cells, 10 to a row, patterns 1-40 as in
// signalPatterns() below); "signal_s.bmp" (32 x 32 cells: 0 empty, 1 a white arrow up, 2 left, 3 right: route
// indicators), "signal_l.bmp" and "signal_r.bmp" (same cells as signal_s); "anim_0.bmp" .. "anim_13.bmp" (100 x
// 75, the 14 phases of a turning wind turbine beside the line); "cross_0.bmp" (a level crossing with its lights
// off) and "cross_1.bmp" (lights on).
//
// Monitor ("image\monitor.bmp"): 240 x 150 cells, one per station k (0..4): a route strip listing the station
// names with station k highlighted; and cell 5: all plain.
//
// "[Staf]" pictures ("image\staf\"): "overlay.bmp" (460 x 497, the line's name and a small map), "standby.bmp"
// (800 x 450, "一時停止中 / PAUSED" over a dimmed view), "subdisp.bmp" (480 x 360, the route map with the stations).
//
// Title screen ("image\title\"): "line01.bmp" .. "line06.bmp" (240 x 56 buttons: 下り 各駅停車, 下り 快速, 下り 直通,
// 上り 各駅停車, 上り 快速, 上り 直通), "train01.bmp" .. "train03.bmp" (220 x 40: VK500形, VK700形, VK100/400形気動車),
// "title01.jpg" .. "title06.jpg" (800 x 600 title pictures: the line's name "港湾線" and a railway scene, each a
// different time of day), "title2.jpg" (800 x 600, the menu background with a route map).
void writePictures(const std::filesystem::path& root, const PictureInputs& inputs);

// The signal picture of each pattern 1..40: its head (number of lamps) and which lamps are lit, by the signal
// picture table (head type x aspect): stop patterns 1, 4, 7, 10, 13, 17, 21, 26, 30, 35 are red.
struct SignalPattern {
  int pattern = 0;
  std::string lamps;  // lamp colours top to bottom of the head: "R", "Y", "G", "-" (dark); type 9: a speed
};
std::vector<SignalPattern> signalPatterns();

}  // namespace vesk::demo
