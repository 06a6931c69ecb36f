// LineState: the run-time state of the line's objects during a drive (signals, stations and the other
// per-row flags), kept apart from the route's data, which the drive only reads. The per-run tables (call-outs
// played, signs and limits passed, stops made) are cleared when the driver jumps to a station or restores a
// saved state.
#pragma once

#include <array>
#include <cstdint>

#include "data/route_data.h"

namespace vesk::sim {

struct SignalState {
  std::int32_t aspect = 0;  // 0 stop .. the highest aspect of the line
  std::int32_t image = 0;   // the signal picture index it shows
};

// A road traffic light's cycle: the phase in force (0-5 for phases 1-6) and the ticks it has left.
struct TrafficLightState {
  std::int32_t phase = 0;
  std::int32_t counter = 0;
};

struct StationState {
  std::uint8_t inPlatform = 0;
  std::uint8_t arrived = 0;
  std::uint8_t stopNoticed = 0;
  std::uint8_t departureAnnounced = 0;
  std::uint8_t served = 0;
};

struct LineState {
  std::array<SignalState, data::kSignalCapacity> signals{};
  std::array<StationState, data::kStationCapacity> stations{};
  // Sounds along the line, per route row: "[Sound]" rows started, "[Switch]" rows sounded, "[Announce]" rows
  // played (from row 1, as the route stores them).
  std::array<std::uint8_t, data::kTrackSoundCapacity> trackSoundStarted{};
  std::array<std::uint8_t, data::kSwitchCapacity> switchSoundStarted{};
  std::array<std::uint8_t, data::kAnnounceCapacity> announceDone{};
  // "[SpeedCheck1]" rows the train has passed (each checks once).
  std::array<std::uint8_t, data::kSpeedCheckCapacity> speedChecksPassed{};
  std::array<TrafficLightState, data::kTrafficSignalCapacity> trafficLights{};
  // The level crossings that have entered the call-out queue this run ("[Cross]" rows).
  std::array<std::uint8_t, data::kCrossingCapacity> crossingEntered{};
  // "[MovieSwitch]" rows whose side video has played (once a window, not cleared by a station jump).
  std::array<std::uint8_t, data::kMovieSwitchCapacity> movieSwitchDone{};

  // Forgets what this run has passed and played.
  void clearPerRunTables();
};

}  // namespace vesk::sim
