#include "data/staf_pictures.h"

#include "core/path_resolver.h"
#include "data/data_error.h"
#include "media/picture_loader.h"

namespace vesk::data {
namespace {

QImage loadNamed(const std::filesystem::path& programDir, const std::string& name) {
  if (name.empty()) return {};
  const auto path = core::resolveDataFile(programDir, name);
  const auto picture = path ? media::loadPicture(*path) : std::nullopt;
  if (!picture) throw data::DataError(name + "が見つかりません");
  return *picture;
}

}  // namespace

StafPictures loadStafPictures(const std::filesystem::path& programDir, const data::RouteData& route) {
  StafPictures pictures;
  const QImage overlay = loadNamed(programDir, route.stafImages[0]);
  if (!overlay.isNull()) pictures.overlay = media::applyColourKey(overlay, media::bottomLeftColour(overlay));
  pictures.standby = loadNamed(programDir, route.stafImages[1]);
  pictures.subDisplay = loadNamed(programDir, route.stafImages[2]);
  return pictures;
}

}  // namespace vesk::data
