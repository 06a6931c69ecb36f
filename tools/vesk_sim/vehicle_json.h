// VehicleSpec as JSON: the record's field names as keys, tables as arrays of row objects (only the rows read),
// per-notch sound tables as whole arrays so that element i belongs to notch i.
#pragma once

#include <string>

#include "data/vehicle_spec.h"
#include "vesk_sim/json_writer.h"

namespace vesk::tools {

void writeVehicleJson(JsonWriter& w, const data::VehicleSpec& spec);

}  // namespace vesk::tools
