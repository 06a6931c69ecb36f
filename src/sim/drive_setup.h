// Loading a drive the way the driving window does, phase by phase: the controller map and the interface
// strings, the vehicle, the route, the panel and "[Staf]" pictures, the route video, the sounds, the track
// positions and the initial state. Shared by the simulator window and the headless runner. Data faults throw
// DataError with the system's message.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "data/drive_sounds.h"
#include "data/route_data.h"
#include "data/staf_pictures.h"
#include "data/string_file.h"
#include "data/ui_strings.h"
#include "data/vehicle_spec.h"
#include "media/drive_pictures.h"
#include "media/sound_bank.h"
#include "sim/drive.h"
#include "sim/settings.h"

namespace vesk::sim {

// What the title screen chooses.
struct DriveChoice {
  std::filesystem::path programDir;
  std::filesystem::path vehicleDir;  // empty: the program folder's own trains
  std::string vehicleFileName;
  std::string routeFileName;
  int startStation = -1;  // -1: the route's "[StartPos]"
};

// What loading needs from the platform.
struct LoadServices {
  std::function<void(std::string_view)> progress;  // the text of the phase being loaded
  std::function<void(std::string_view)> notice;    // a message the drive goes on after (video, controller map)
  // The picture count of a video file; none when it cannot be opened.
  std::function<std::optional<std::int64_t>(const std::filesystem::path&)> videoFrameCount;
};

struct LoadedDrive {
  data::UiStrings strings;
  data::ControllerCodes controllerCodes;
  data::VehicleSpec vehicle;
  std::unique_ptr<data::RouteData> route;
  media::DrivePictures pictures;
  data::StafPictures staf;
  data::DriveSounds sounds;
  std::filesystem::path videoPath;  // empty when the video could not be opened
  std::unique_ptr<Drive> drive;
};

std::unique_ptr<LoadedDrive> loadDrive(const DriveChoice& choice, media::SoundBank& sounds,
                                       const LoadServices& services, const Settings& settings = {});

// The video file of a route: "[Path]" + "[DataName]" + ".avi", found case-insensitively in the program folder.
std::optional<std::filesystem::path> routeVideoPath(const std::filesystem::path& programDir,
                                                    const data::UiStrings& strings, const data::RouteData& route);

}  // namespace vesk::sim
