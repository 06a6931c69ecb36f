// The cab panel checks: an element whose picture is smaller than one of its pattern cells (it would draw
// nothing), or that lies partly outside the 800 x 850 drawing area. Missing and unreadable pictures are
// reported with the other files the vehicle names.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "data/vehicle_spec.h"

namespace vesk::tools {

// One message per element at fault, naming its section and picture file.
std::vector<std::string> panelFindings(const std::filesystem::path& vehicleDir, std::string_view vehicleFileName,
                                       const data::VehicleSpec& vehicle);

}  // namespace vesk::tools
