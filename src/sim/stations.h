// The station logic of the tick: the doors and the departure signal, the platforms and stops along the line,
// the station approach warning and the overrun announcement, and the call-out items the line brings up.
#pragma once

namespace vesk::sim {

class Drive;

// Tick, with the panel lamps: the doors shutting (departure signal, departure count, the departure call-out),
// the door pilot and door-open lamps, the simple cab's door status.
void doorStateStep(Drive& drive);
// Tick, end: doors left open are closed once the train runs faster than 5 km/h.
void forcedDoorClosing(Drive& drive);
// Tick: every station in order (texts, platforms, arrival, doors, the departure announcement, the end of the
// run), then the platform sounds.
void stationStep(Drive& drive);
// Tick: the station approach warning (sound and blinking lamp) and the overrun announcement.
void stationWarningStep(Drive& drive);
// Tick: the other, speed-limit and level-crossing items waiting for the driver's call-out (Enter).
void callOutItemsStep(Drive& drive);

// The next stop after station `from` (pass stations skipped): nextStop, targetPosition and the from/to texts.
// False when none remains.
bool chooseNextStop(Drive& drive, int from);
// The state at the start of a drive standing at `startStation` (-1: the first station): doors open at a stop,
// the next stop, and the clock set so that the departure announcement ends at the departure time.
void prepareStationsAtStart(Drive& drive, int startStation);

// The bank channel of environment sound n, or -1 when the route has no such sound.
int environmentChannel(const Drive& drive, int sound);
// Its length in whole seconds (0 for none).
int environmentSeconds(const Drive& drive, int sound);

}  // namespace vesk::sim
