// The doors: Door_operate, the one door command of the keys and of the station logic, and what the tick makes
// of the door state (the departure signal once the doors have shut, the door lamps, forced closing).
#include <cmath>

#include "sim/drive.h"
#include "sim/stations.h"

namespace vesk::sim {

void Drive::Door_operate() {
  TrainState& s = state;
  const bool wereOpen = s.doorOpenCommanded != 0;
  s.doorOpenCommanded = 0;
  if (route.oneMan >= 1) texts.StationNoticeText.clear();
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

void doorStateStep(Drive& drive) {
  TrainState& s = drive.state;
  const data::VehicleSpec& v = drive.vehicle;
  StationSprites& lamps = drive.stationSprites;
  // The doors have shut once they are commanded closed and their sounds have ended. The pilot lamp's state is
  // kept whether or not the panel has the lamp, so that a panel without it still ends the stop (and lets a
  // train with a door interlock take power again).
  if (s.doorOpenCommanded == 0 && s.doorPilotDark == 1 && !drive.sounds.is_playing(v.soundDoorOpen) &&
      !drive.sounds.is_playing(v.soundDoorClose)) {
    s.doorPilotDark = 0;
    s.doorsNotClosed = 0;
    drive.sounds.play_once(v.soundDepartureSignal);
    s.departureCount += 1;
    // The departure call-out ("doors closed") and the station's rows for it.
    drive.stationCallOut(3);
  }
  if (s.doorsNotClosed == 1) s.doorPilotDark = 1;
  lamps.pilotLamp.show(drive.sprites, s.doorPilotDark == 0);

  // The door-open lamp of the side the platform is on.
  const int station = s.currentStation;
  const bool otherSide = station >= 0 && station < data::kStationCapacity &&
                         drive.line.stations[static_cast<std::size_t>(station)].inPlatform == 1 &&
                         drive.route.stations[static_cast<std::size_t>(station)].doorSide == 1;
  const bool open = s.doorOpenCommanded == 1;
  lamps.doorLamp1.show(drive.sprites, open && !otherSide);
  lamps.doorLamp2.show(drive.sprites, open && otherSide);

  const char* status = open ? "ドアが開いています" : s.doorsNotClosed == 1 ? "ドアを閉めています" : "";
  if (drive.doorStatusText != status) drive.doorStatusText = status;
}

void forcedDoorClosing(Drive& drive) {
  const TrainState& s = drive.state;
  if (std::fabs(s.speed) > 5 && s.doorOpenCommanded == 1 && s.doorsNotClosed == 1) drive.Door_operate();
}

}  // namespace vesk::sim
