// Warnings about the stopping mark: the station approach warning while the train cannot stop comfortably at
// the next mark, and the announcement to the passengers after a train has overrun its stop.
#include <algorithm>
#include <cmath>

#include "sim/drive.h"
#include "sim/stations.h"

namespace vesk::sim {
namespace {

bool inAnyPlatform(const Drive& drive) {
  const int count = std::min(drive.route.stationCount, data::kStationCapacity);
  for (int i = 0; i < count; ++i) {
    const data::StationRow& st = drive.route.stations[static_cast<std::size_t>(i)];
    if (static_cast<double>(st.platformStart) <= drive.state.position &&
        drive.state.position <= static_cast<double>(st.platformEnd)) {
      return true;
    }
  }
  return false;
}

// Braking at 2.5 km/h/s from the present speed would end less than 125 m before the mark.
void approachWarning(Drive& drive) {
  const TrainState& s = drive.state;
  const int channel = drive.vehicle.soundStop;
  SpriteRef& lamp = drive.stationSprites.stopAlertLamp;
  if (std::fabs(s.speed) < 1) {
    if (drive.stopWarningSounded) {
      drive.stopWarningSounded = false;
      drive.sounds.stop(channel);
      drive.sounds.set_volume(channel, 0);
    }
    lamp.show(drive.sprites, false);
    return;
  }
  if ((s.speed / 5) * (s.speed / 3.6) > s.distanceToStop / 100 - 125 && !drive.sounds.is_playing(channel)) {
    drive.sounds.play_once(channel);
    drive.stopWarningSounded = true;
  }
  // The lamp blinks once a second while the warning sounds.
  if (drive.stopWarningSounded && drive.sounds.is_playing(channel)) {
    if (s.tickCount % 10 == 0) {
      lamp.show(drive.sprites, true);
    } else if (s.tickCount % 5 == 0) {
      lamp.show(drive.sprites, false);
    }
  }
}

// A conductor-operated train standing past its mark outside every platform: the passengers hear why, once per
// departure.
void overrunAnnouncement(Drive& drive) {
  TrainState& s = drive.state;
  if (drive.route.oneMan != 0 || !(std::fabs(s.speed) < 1) || s.doorOpenCommanded != 0 || s.doorsNotClosed != 0 ||
      !(s.distanceToStop < 0) || s.overrunAnnounced == s.departureCount || inAnyPlatform(drive)) {
    return;
  }
  drive.sounds.play_once(environmentChannel(drive, drive.route.stopAnnounceSound));
  s.overrunAnnounced = s.departureCount;
}

}  // namespace

void stationWarningStep(Drive& drive) {
  approachWarning(drive);
  overrunAnnouncement(drive);
}

}  // namespace vesk::sim
