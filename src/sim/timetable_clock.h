// The timetable's time at a station: its own departure time, or, for a station without one, the time the
// train would pass it, interpolated by frame between the nearest stations before and after it that have times.
#pragma once

#include <cstdint>
#include <optional>

#include "data/route_data.h"

namespace vesk::sim {

// In clock units (1/30 s). With times on one side only, the nearest of them; none when no station has a time.
std::optional<std::int32_t> timetableClock(const data::RouteData& route, int station);

}  // namespace vesk::sim
