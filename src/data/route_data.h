// RouteData: the tables of the line that the running dynamics use, with their capacities and counts and the
// positions derived from them (in cm). Frames are positions in the route video, 30 a second.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/fixed.h"

namespace vesk::data {

using core::Fixed;

struct SpeedUnitRow {
  int frameFrom = 0;
  int frameTo = 0;
  double speedFrom = 0;  // km/h
  double speedTo = 0;
  std::int64_t endDistance = 0;  // derived: cm from the start of the line to the end of this row
};

struct SlopeRow {
  Fixed gradient;  // per mil, + rising
  int frameFrom = 0;
  int frameTo = 0;
};

struct TunnelRow {
  int frameFrom = 0;
  int frameTo = 0;
  int overlayLevel = 0;
  std::int64_t positionFrom = 0;  // derived, cm
  std::int64_t positionTo = 0;
};

struct StationRow {
  std::string name;
  int kind = 0;  // 0 stop, 1 pass, 2 stop of another kind, 3 special
  int frame = 0;
  int platformHalfLength = 0;
  int arrivalSound = 0;
  int departureSound = 0;
  int ambientSound = 0;
  int departureTime = 0;
  int sectionSpeed = 0;
  int atsBeacon = 0;
  int doorSide = 0;
  std::array<int, 3> values12to14{};
  int doorSoundChance = 0;
  std::int64_t position = 0;  // derived: the stopping mark, cm
  std::int64_t platformStart = 0;
  std::int64_t platformEnd = 0;
};

inline constexpr int kSpeedUnitCapacity = 501;
inline constexpr int kSlopeCapacity = 501;
inline constexpr int kTunnelCapacity = 501;
inline constexpr int kStationCapacity = 501;
inline constexpr int kMovieStopCapacity = 100;

struct RouteData {
  Fixed friction;            // base adhesion coefficient
  int tunnelResistance = 0;  // tunnel air-resistance coefficient
  std::array<SpeedUnitRow, kSpeedUnitCapacity> speedUnits{};
  int speedUnitCount = 0;
  std::array<SlopeRow, kSlopeCapacity> slopes{};
  int slopeCount = 0;
  std::array<TunnelRow, kTunnelCapacity> tunnels{};
  int tunnelCount = 0;
  std::array<StationRow, kStationCapacity> stations{};
  int stationCount = 0;
  std::array<int, kMovieStopCapacity> movieStops{};
  int movieStopCount = 0;  // rows read; without any the line has no barrier
};

}  // namespace vesk::data
