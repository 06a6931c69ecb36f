// The lineside signal pictures: the 40 signal patterns (heads of the ten head types with their lamps lit or
// dark) and the route indicators shown beside them.
#pragma once

#include <QImage>
#include <QPoint>

namespace vesk::demo {

inline constexpr int kSignalCellWidth = 48;
inline constexpr int kSignalCellHeight = 112;
inline constexpr int kSignalCellsPerRow = 10;
inline constexpr int kRouteIndicatorCell = 32;

// The head type (0..9) whose picture pattern 1..40 is; -1 outside.
int signalHeadType(int pattern);
// Where lamp `index` (top to bottom, as in SignalPattern::lamps) sits in the pattern's cell. For a repeater
// (type 0) it is the centre of the bar, for a cab signal (type 9) the centre of its figure.
QPoint signalLampCentre(int pattern, int index);
// A repeater's bar: the centre of its outermost lamp on one side (so the bar runs from there through the centre).
QPoint repeaterBarEnd(int pattern);

// One 48 x 112 cell: pattern 0 is all transparent (key colour).
QImage signalCell(int pattern);
// The whole sheet: cells 0..40, ten to a row.
QImage signalSheet();
// Route indicators: 32 x 32 cells, 0 empty, 1 arrow up, 2 arrow left, 3 arrow right.
QImage routeIndicatorSheet();

}  // namespace vesk::demo
