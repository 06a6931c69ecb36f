// Plain English for data faults, shared by vesk-check and vesk-sim so that both say the same: what the
// simulator's own (Japanese) message means for the file at hand and how to mend it, and the values a data file
// may hold that the simulator accepts but that leave a train that cannot be driven.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "data/data_error.h"
#include "data/vehicle_spec.h"

namespace vesk::tools {

// Route files are named line_*.dat, vehicle files train_*.dat, in any letter case (packs are made on Windows).
bool isRouteFileName(std::string_view name);
bool isVehicleFileName(std::string_view name);

inline constexpr std::string_view kUtf8Advice = "the file is UTF-8, not Shift-JIS: save it as Shift-JIS (CP932)";

// Whether the data file `name` (found in `folder` as the simulator finds it) was saved as UTF-8 by mistake.
bool isUtf8DataFile(const std::filesystem::path& folder, std::string_view name);

// One short sentence on what is wrong and what to do; empty when there is nothing to add to the message.
// `folder` is where the error's file lies (the vehicle folder for a vehicle file, else the program folder).
std::string explainDataError(const data::DataError& error, const std::filesystem::path& folder);

// Values read as the data files always allowed, but that the simulator has to correct or that leave the train
// unable to move; a file with none of a train's keys gets one warning saying so.
std::vector<std::string> vehicleWarnings(const data::VehicleSpec& spec);

}  // namespace vesk::tools
