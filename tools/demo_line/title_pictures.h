// The title screen's pictures: the six line buttons, the three train plates, the six title pictures (the same
// scene at different times of day) and the menu background.
#pragma once

#include <QImage>

#include <vector>

#include "demo_line/picture_motifs.h"

namespace vesk::demo {

inline constexpr int kTitleScenes = 6;

// 240 x 56: button k (0..5): down local, down rapid, down through, up local, up rapid, up through.
QImage lineButtonPicture(int k, const std::vector<RouteStop>& stops);
// 220 x 40: plate k (0..2): VK500, VK700, the VK100/400 diesel cars.
QImage trainPlatePicture(int k);
// 800 x 600: scene k (0..5): morning, midday, afternoon, sunset, dusk, night.
QImage titleScenePicture(int k);
// 800 x 600: the menu background with the route map.
QImage menuBackgroundPicture(const std::vector<RouteStop>& stops);

}  // namespace vesk::demo
