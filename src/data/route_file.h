// The route file reader: the header keys, the track tables, the track-side objects and sounds, and the route's
// pictures (the forward view's sign and signal pictures with their sprites, the animation, road traffic light
// and level crossing pictures, the cab monitor). Throws DataError with the system's message on any fault;
// nothing of a failed file is kept.
#pragma once

#include <filesystem>
#include <memory>
#include <string_view>

#include "data/file_reference.h"
#include "data/route_data.h"
#include "data/ui_strings.h"
#include "media/drive_pictures.h"

namespace vesk::data {

// The route error: this text, the error label, ":" and the last line read.
inline constexpr std::string_view kRouteFileError = "路線ファイルに誤りがあります。";

// What the route reader needs besides the file: the view geometry (sign placements) and the vehicle file name
// (a "[Monitor]" block applies only to the vehicle it names).
struct RouteContext {
  const UiStrings& strings;
  std::string_view vehicleFileName;
};

// programDir: the folder of the route file; pictures are relative to it.
std::unique_ptr<RouteData> loadRouteFile(const std::filesystem::path& programDir, std::string_view routeFileName,
                                         const RouteContext& context, media::DrivePictures& pictures,
                                         const LoadOptions& options = {});

// The same on the bytes of a file already read; `fileName` names it in error reports.
std::unique_ptr<RouteData> readRouteFile(std::string_view bytes, const std::filesystem::path& programDir,
                                         std::string_view fileName, const RouteContext& context,
                                         media::DrivePictures& pictures, const LoadOptions& options = {});

}  // namespace vesk::data
