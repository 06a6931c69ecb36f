// The pictures that tell the driver where the train is: the cab monitor and the "[Staf]" pictures (the
// overlay beside the view, the pause picture and the route map of the side display).
#pragma once

#include <QImage>

#include <vector>

#include "demo_line/picture_motifs.h"

namespace vesk::demo {

inline constexpr int kMonitorWidth = 240;
inline constexpr int kMonitorHeight = 150;

// One 240 x 150 cell per station (that station highlighted) and a last cell with none, in one row.
QImage monitorSheet(const std::vector<RouteStop>& stops);
// 460 x 497: the line's name and its stations top to bottom; transparent around the card.
QImage stafOverlayPicture(const std::vector<RouteStop>& stops);
// 800 x 450: a dimmed view along the line with the pause message.
QImage standbyPicture();
// 480 x 360: the route map with the stations and, on the demo line, its profile.
QImage routeMapPicture(const std::vector<RouteStop>& stops);

}  // namespace vesk::demo
