// The vehicle definition file reader. Fills VehicleSpec, loads the pattern pictures the file names into the cab
// panel's image list and creates their panel sprites. Throws DataError with the system's message on any fault;
// nothing of a failed file is kept.
#pragma once

#include <filesystem>
#include <string_view>

#include "data/file_reference.h"
#include "data/vehicle_spec.h"
#include "media/image_list.h"
#include "media/sprite_engine.h"

namespace vesk::data {

// Messages, exactly as the driver sees them.
inline constexpr std::string_view kVehicleFileError = "車両ファイルに誤りがあります";
inline constexpr std::string_view kDieselWithNotchError = "動力が気動車なのにNotch指定があります";
inline constexpr std::string_view kElectricWithEngineError = "動力が電車なのにEngine指定があります";
inline constexpr std::string_view kTooFewBrakeNotchesError = "ブレーキの段数を3段以上に設定してください";

// vehicleDir: the folder of the vehicle file (empty = the working folder); pictures are relative to it.
VehicleSpec loadVehicleFile(const std::filesystem::path& vehicleDir, std::string_view vehicleFileName,
                            media::ImageList& panelImages, media::SpriteEngine& panelSprites,
                            const LoadOptions& options = {});

// The same on the bytes of a file already read; `fileName` names it in error reports.
VehicleSpec readVehicleFile(std::string_view bytes, const std::filesystem::path& vehicleDir, std::string_view fileName,
                            media::ImageList& panelImages, media::SpriteEngine& panelSprites,
                            const LoadOptions& options = {});

// The corrections made when the drive is set up, after both data files are read: an automatic air brake always
// has four positions; a notched brake needs at least three.
void applyPostLoadChecks(VehicleSpec& spec);

}  // namespace vesk::data
