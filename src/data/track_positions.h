// Frame-to-position conversion over the "[SpeedUnit]" rows: the video was recorded at the speeds the rows give,
// changing linearly over each row, 30 frames a second. Positions are centimetres, rounded halves to even.
#pragma once

#include <cstdint>
#include <optional>

#include "data/route_data.h"

namespace vesk::data {

// Fills every row's endDistance (cumulative cm at the end of the row).
void computeSpeedUnitDistances(RouteData& route);
// Position of frame F (frameFrom <= F <= frameTo); on a boundary between two rows the later row's result.
// None when no row holds the frame.
std::optional<std::int64_t> framePosition(const RouteData& route, int frame);

// The first "[SpeedUnit]" row whose speeds carry positions to the ends of the int64 range, where they are held
// (an absurd speed such as 1e25 km/h); none when every position fits.
std::optional<int> firstSaturatingSpeedUnitRow(const RouteData& route);

// Fills every derived position of the route and builds the ATS-P beacons, sorted by position (beacons at one
// position keep the order signals, limits, stations). Returns how many beacons did not fit the table.
int computeTrackPositions(RouteData& route);

}  // namespace vesk::data
