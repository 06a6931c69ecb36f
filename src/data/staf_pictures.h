// The route's three "[Staf]" pictures: the overlay beside the view (transparent), the standby picture drawn over
// the view while the drive is paused, and the picture of the secondary panel. A named picture that cannot be
// loaded ends the drive with its name followed by "が見つかりません"; an empty name leaves its picture empty.
#pragma once

#include <QImage>

#include <filesystem>

#include "data/route_data.h"

namespace vesk::data {

struct StafPictures {
  QImage overlay;  // premultiplied, its bottom-left colour transparent
  QImage standby;
  QImage subDisplay;
};

StafPictures loadStafPictures(const std::filesystem::path& programDir, const data::RouteData& route);

}  // namespace vesk::data
