#include "sim/timetable_clock.h"

#include <algorithm>

#include "core/rounding.h"

namespace vesk::sim {

std::optional<std::int32_t> timetableClock(const data::RouteData& route, int station) {
  const int count = std::min(route.stationCount, data::kStationCapacity);
  if (station < 0 || station >= count) return std::nullopt;
  const auto& rows = route.stations;
  const auto timed = [&](int i) { return rows[static_cast<std::size_t>(i)].departureTime > 0; };
  if (timed(station)) return rows[static_cast<std::size_t>(station)].departureTime;

  int before = station - 1;
  while (before >= 0 && !timed(before)) --before;
  int after = station + 1;
  while (after < count && !timed(after)) ++after;
  const bool hasBefore = before >= 0;
  const bool hasAfter = after < count;
  if (!hasBefore && !hasAfter) return std::nullopt;
  if (!hasAfter) return rows[static_cast<std::size_t>(before)].departureTime;
  if (!hasBefore) return rows[static_cast<std::size_t>(after)].departureTime;

  const data::StationRow& a = rows[static_cast<std::size_t>(before)];
  const data::StationRow& b = rows[static_cast<std::size_t>(after)];
  const data::StationRow& here = rows[static_cast<std::size_t>(station)];
  // Two stations on one frame give no slope: the earlier time.
  if (b.frame == a.frame) return a.departureTime;
  const double fraction = (static_cast<double>(here.frame) - a.frame) / (static_cast<double>(b.frame) - a.frame);
  return core::saturate32(core::nearest(a.departureTime + (b.departureTime - a.departureTime) * fraction));
}

}  // namespace vesk::sim
