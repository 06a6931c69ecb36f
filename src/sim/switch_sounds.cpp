// The points: passing a "[Switch]" row's frame sounds the vehicle's "[SwitchSound]" row for the points' kind and
// the speed, once a run.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>

#include "sim/drive.h"
#include "sim/sound_levels.h"
#include "sim/sound_select.h"

namespace vesk::sim {
namespace {

// Points sound within this many frames of their frame.
constexpr std::int64_t kSwitchReach = 15;

// The running-sound channel of the first "[SwitchSound]" row of the kind whose speed is above v; none without.
std::optional<int> switchChannel(const data::VehicleSpec& vehicle, int kind, double v) {
  const int rows = std::clamp(vehicle.switchSoundCount, 0, data::kSwitchSoundCapacity);
  for (int j = 0; j < rows; ++j) {
    const data::SwitchSoundRow& row = vehicle.switchSounds[static_cast<std::size_t>(j)];
    if (row.switchKind == kind && row.speedBelow > v) return row.sound;
  }
  return std::nullopt;
}

}  // namespace

void switchSoundStep(Drive& drive) {
  const data::RouteData& route = drive.route;
  const std::int32_t f = drive.state.frame;
  // The speed bands of the table are speeds whichever way the train runs.
  const double v = std::fabs(drive.state.speed);
  const int rows = std::clamp(route.switchCount, 0, data::kSwitchCapacity);
  for (int k = 0; k < rows; ++k) {
    std::uint8_t& sounded = drive.line.switchSoundStarted[static_cast<std::size_t>(k)];
    const data::SwitchRow& row = route.switches[static_cast<std::size_t>(k)];
    if (sounded != 0 || std::llabs(std::int64_t{row.frame} - f) >= kSwitchReach) continue;
    const auto channel = switchChannel(drive.vehicle, row.kind, v);
    if (!channel) continue;
    playAfresh(drive.sounds, *channel);
    sounded = 1;
  }
}

}  // namespace vesk::sim
