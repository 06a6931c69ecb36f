#include "data/track_positions.h"

#include "core/rounding.h"

namespace vesk::data {
namespace {

// Offset (cm) of frame F inside a row, the speed changing linearly from speedFrom to speedTo over the row.
std::int64_t offsetInRow(const SpeedUnitRow& row, int frame) {
  const double d = static_cast<double>(frame) - row.frameFrom;
  const double n = static_cast<double>(row.frameTo) - row.frameFrom;
  // A row of no length holds only its first frame, at offset 0.
  if (n == 0) return 0;
  return core::even(((row.speedTo - row.speedFrom) / n * d + 2 * row.speedFrom) / 7.2 * (d / 30) * 100);
}

std::int64_t startDistance(const RouteData& route, int row) {
  return row == 0 ? 0 : route.speedUnits[static_cast<std::size_t>(row - 1)].endDistance;
}

}  // namespace

void computeSpeedUnitDistances(RouteData& route) {
  std::int64_t distance = 0;
  for (int i = 0; i < route.speedUnitCount; ++i) {
    SpeedUnitRow& row = route.speedUnits[static_cast<std::size_t>(i)];
    // Average speed (km/h) over frames at 30 a second, in cm: km/h / 3.6 x frames / 30 x 100.
    distance = core::addSaturated(distance, core::even((row.speedFrom + row.speedTo) *
                                                       (static_cast<double>(row.frameTo) - row.frameFrom) / 2.16));
    row.endDistance = distance;
  }
}

std::optional<std::int64_t> framePosition(const RouteData& route, int frame) {
  std::optional<std::int64_t> position;
  for (int i = 0; i < route.speedUnitCount; ++i) {
    const SpeedUnitRow& row = route.speedUnits[static_cast<std::size_t>(i)];
    if (row.frameFrom <= frame && frame <= row.frameTo)
      position = core::addSaturated(startDistance(route, i), offsetInRow(row, frame));
  }
  return position;
}

void computeTunnelPositions(RouteData& route) {
  for (int i = 0; i < route.tunnelCount; ++i) {
    TunnelRow& row = route.tunnels[static_cast<std::size_t>(i)];
    row.positionFrom = framePosition(route, row.frameFrom).value_or(0);
    row.positionTo = framePosition(route, row.frameTo).value_or(0);
  }
}

}  // namespace vesk::data
