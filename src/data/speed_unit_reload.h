// Reading a route file's "[SpeedUnit]" rows again while it is driven (the value display's "SU再読込"): a route
// author tunes the speeds the video was recorded at and sees the train's frame follow the new table at once.
#pragma once

#include <filesystem>
#include <optional>
#include <vector>

#include "data/route_data.h"

namespace vesk::data {

// The rows of the file's first "[SpeedUnit]" section, up to the line starting with "#". Nothing when the file
// cannot be read, has no such section, or a row is damaged (the route then keeps the table it has).
std::optional<std::vector<SpeedUnitRow>> rereadSpeedUnits(const std::filesystem::path& routeFile);

// Puts the rows in place of the route's table (at most its capacity) with their distances worked out anew; the
// positions derived from the old table at loading stay as they are.
void replaceSpeedUnits(RouteData& route, const std::vector<SpeedUnitRow>& rows);

}  // namespace vesk::data
