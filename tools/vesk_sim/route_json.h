// RouteData and UiStrings as JSON: the records' field names as keys, tables as arrays of row objects (only the
// rows read), derived positions and the ATS-P beacons included.
#pragma once

#include "data/route_data.h"
#include "data/ui_strings.h"
#include "vesk_sim/json_writer.h"

namespace vesk::tools {

void writeRouteJson(JsonWriter& w, const data::RouteData& route);
void writeStringsJson(JsonWriter& w, const data::UiStrings& strings);

}  // namespace vesk::tools
