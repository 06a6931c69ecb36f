// Door_operate: the one door command of the keys and of the station logic.
#include <cmath>

#include "sim/drive.h"

namespace vesk::sim {

void Drive::Door_operate() {
  TrainState& s = state;
  const bool wereOpen = s.doorOpenCommanded != 0;
  s.doorOpenCommanded = 0;
  // On one-man trains the door sounds play only as often as the station's chance says.
  const int station = s.currentStation;
  const bool soundsPlay =
      route.oneMan < 1 || (station >= 0 && station < data::kStationCapacity &&
                           route.stations[static_cast<std::size_t>(station)].doorSoundChance >= s.doorChanceRoll);
  if (!wereOpen) {
    // Doors open only at a standstill.
    if (std::fabs(s.speed) >= 0.1) return;
    s.doorOpenCommanded = 1;
    s.doorsNotClosed = 1;
    if (soundsPlay) sounds.play_once(vehicle.soundDoorOpen);
  } else if (soundsPlay) {
    sounds.play_once(vehicle.soundDoorClose);
  }
}

}  // namespace vesk::sim
