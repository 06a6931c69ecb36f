// The pictures laid over the forward view beside the track: sign boards, stop position lines, the
// remaining-distance bar, the wind turbine animation and the level crossing.
#pragma once

#include <QColor>
#include <QImage>

#include <vector>

namespace vesk::demo {

inline constexpr int kSignCell = 64;
inline constexpr int kStopTargets = 10;
inline constexpr int kRemainWidth = 16;
inline constexpr int kRemainHeight = 900;
inline constexpr int kAnimWidth = 100;
inline constexpr int kAnimHeight = 75;
inline constexpr int kAnimPhases = 14;

// 64 x 64 cells in one row, cell 0 empty.
QImage stopTargetSheet();                                     // cell k: a stop target board numbered k (k <= 10)
QImage gradientPostSheet(const std::vector<double>& permil);  // cell k + 1: gradient permil[k]
QImage speedLimitSheet(const std::vector<int>& limits);       // cell k + 1: limits[k]; then the end of limit
QImage otherSignSheet();                                      // cells 1..7: the other boards

// An 800 x 4 stop position line of one colour.
QImage stopLinePicture(QColor colour);
// 4 cells of 16 x 900 in one row: the bar in green, yellow, orange and red in the lower half of each cell,
// everything else black (the bar's transparent colour).
QImage remainingDistanceSheet();

// 100 x 75: phase 0..13 of a wind turbine turning a third of a revolution.
QImage windTurbinePicture(int phase);
// 100 x 75: a level crossing signal with its lights off or flashing.
QImage levelCrossingPicture(bool lightsOn);

}  // namespace vesk::demo
