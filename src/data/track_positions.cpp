#include "data/track_positions.h"

#include <algorithm>
#include <cmath>

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

bool holds(const SpeedUnitRow& row, int frame) { return row.frameFrom <= frame && frame <= row.frameTo; }

std::int64_t positionIn(const RouteData& route, int row, int frame) {
  return core::addSaturated(startDistance(route, row),
                            offsetInRow(route.speedUnits[static_cast<std::size_t>(row)], frame));
}

// Calls f(unitRow) for every "[SpeedUnit]" row; the passes below walk the unit rows outside and a table inside.
template <class F> void forEachUnitRow(const RouteData& route, F f) {
  for (int k = 0; k < route.speedUnitCount; ++k) f(k, route.speedUnits[static_cast<std::size_t>(k)]);
}

class BeaconTable {
 public:
  explicit BeaconTable(RouteData& route) : route_(route) { route_.atsBeaconCount = 0; }
  void append(const AtsBeacon& beacon) {
    if (route_.atsBeaconCount >= kAtsBeaconCapacity) {
      ++dropped_;
      return;
    }
    route_.atsBeacons[static_cast<std::size_t>(route_.atsBeaconCount++)] = beacon;
  }
  int dropped() const { return dropped_; }

 private:
  RouteData& route_;
  int dropped_ = 0;
};

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

std::optional<int> firstSaturatingSpeedUnitRow(const RouteData& route) {
  // Worked out in floating point, which does not overflow: a row whose positions come near the end of the int64
  // range (2^63 cm) is the culprit. No real line comes within a factor of a million of it.
  constexpr double kLimit = 9.2e18;
  double start = 0;
  for (int k = 0; k < route.speedUnitCount; ++k) {
    const SpeedUnitRow& row = route.speedUnits[static_cast<std::size_t>(k)];
    const double n = std::fabs(static_cast<double>(row.frameTo) - row.frameFrom);
    // Inside the row the offset never exceeds (|speedTo - speedFrom| + 2 |speedFrom|) x n / 2.16.
    const double reach = (std::fabs(row.speedTo) + 3 * std::fabs(row.speedFrom)) * n / 2.16;
    const double end =
        start + (row.speedFrom + row.speedTo) * (static_cast<double>(row.frameTo) - row.frameFrom) / 2.16;
    if (!std::isfinite(reach) || !std::isfinite(end) || std::fabs(start) + reach >= kLimit ||
        std::fabs(end) >= kLimit) {
      return k;
    }
    start = end;
  }
  return std::nullopt;
}

std::optional<std::int64_t> framePosition(const RouteData& route, int frame) {
  std::optional<std::int64_t> position;
  forEachUnitRow(route, [&](int k, const SpeedUnitRow& row) {
    if (holds(row, frame)) position = positionIn(route, k, frame);
  });
  return position;
}

int computeTrackPositions(RouteData& route) {
  computeSpeedUnitDistances(route);
  BeaconTable beacons(route);
  auto each = [](auto& table, int count, auto f) {
    for (int i = 0; i < count; ++i) f(i, table[static_cast<std::size_t>(i)]);
  };

  // 1. Signals: a beacon at the second ATS point.
  forEachUnitRow(route, [&](int k, const SpeedUnitRow& unit) {
    each(route.signals, route.signalCount, [&](int i, const SignalRow& s) {
      if (holds(unit, s.atsPoint2)) beacons.append({positionIn(route, k, s.atsPoint2), 10, i, 0, 2});
    });
  });
  // 2. Speed limits: a beacon at the start of the section, of the limit's own kind.
  forEachUnitRow(route, [&](int k, const SpeedUnitRow& unit) {
    each(route.speedLimits, route.speedLimitCount, [&](int, SpeedLimitRow& l) {
      if (!holds(unit, l.frame)) return;
      l.position = positionIn(route, k, l.frame);
      beacons.append({l.position, l.limit, 0, 0, l.beaconKind});
    });
  });
  // 3. Speed checks at one point.
  forEachUnitRow(route, [&](int k, const SpeedUnitRow& unit) {
    each(route.speedChecks1, route.speedCheck1Count, [&](int, SpeedCheck1Row& c) {
      if (holds(unit, c.frame)) c.position = positionIn(route, k, c.frame);
    });
  });
  // 4. Stops with a stop beacon: 20 m beyond the station's frame.
  forEachUnitRow(route, [&](int k, const SpeedUnitRow& unit) {
    each(route.stations, route.stationCount, [&](int i, const StationRow& s) {
      if (s.kind == 0 && s.atsBeacon == 1 && holds(unit, s.frame)) {
        beacons.append({core::addSaturated(positionIn(route, k, s.frame), 2000), 10, 0, i, 3});
      }
    });
  });
  // 5. Stations: the stopping mark and the platform around it.
  forEachUnitRow(route, [&](int k, const SpeedUnitRow& unit) {
    each(route.stations, route.stationCount, [&](int, StationRow& s) {
      if (!holds(unit, s.frame)) return;
      s.position = positionIn(route, k, s.frame);
      // A saturated position stays at the end of the range: the platform around it must not wrap round.
      s.platformStart = core::addSaturated(s.position, -static_cast<std::int64_t>(s.platformHalfLength));
      s.platformEnd = core::addSaturated(s.position, s.platformHalfLength);
    });
  });
  // 6. Road traffic lights, Doppler sources and tunnels.
  forEachUnitRow(route, [&](int k, const SpeedUnitRow& unit) {
    each(route.trafficSignals, route.trafficSignalCount, [&](int, TrafficSignalRow& t) {
      if (holds(unit, t.frameA)) t.positionA = positionIn(route, k, t.frameA);
      if (holds(unit, t.frameB)) t.positionB = positionIn(route, k, t.frameB);
    });
    each(route.dopplerSounds, route.dopplerCount, [&](int, DopplerRow& d) {
      if (holds(unit, d.frame)) d.position = positionIn(route, k, d.frame);
    });
    each(route.tunnels, route.tunnelCount, [&](int, TunnelRow& t) {
      if (holds(unit, t.frameFrom)) t.positionFrom = positionIn(route, k, t.frameFrom);
      if (holds(unit, t.frameTo)) t.positionTo = positionIn(route, k, t.frameTo);
    });
  });
  // 7. Sorted by position; beacons at one position keep the order they were appended in.
  std::stable_sort(route.atsBeacons.begin(), route.atsBeacons.begin() + route.atsBeaconCount,
                   [](const AtsBeacon& a, const AtsBeacon& b) { return a.position < b.position; });
  return beacons.dropped();
}

}  // namespace vesk::data
