// How the headless runner tells about its data: a data error as the simulator's own message with, on a second
// line, where it was found and what it means (the same words vesk-check uses), and warnings about values the
// simulator accepts but a driver would not want.
#pragma once

#include <filesystem>
#include <ostream>

#include "data/data_error.h"
#include "sim/drive_setup.h"

namespace vesk::tools {

// The folder a data error's file lies in: the vehicle folder for the vehicle file, else the program folder.
std::filesystem::path folderOfError(const data::DataError& error, const sim::DriveChoice& choice);

void reportDataError(std::ostream& out, const data::DataError& error, const std::filesystem::path& folder);

// "vesk-sim: warning: FILE: ..." lines: the vehicle's values that leave a train that cannot be driven, and data
// files saved as UTF-8.
void warnAboutData(std::ostream& out, const sim::LoadedDrive& loaded, const sim::DriveChoice& choice);

}  // namespace vesk::tools
