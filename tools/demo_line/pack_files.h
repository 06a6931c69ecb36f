// The demo pack's data files: the interface strings, the controller map, the help text, the readme, the five
// vehicle files and the twelve route files. Each writer returns false when a file cannot be written.
#pragma once

#include <filesystem>

namespace vesk::demo {

bool writeStringFiles(const std::filesystem::path& root);  // velmarix.dat, mascon.dat, operation.dat, readme.html
bool writeVehicleFiles(const std::filesystem::path& root);
bool writeRouteFiles(const std::filesystem::path& root);

}  // namespace vesk::demo
