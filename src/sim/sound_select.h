// The tick's choice of sounds: which channels of the sound bank play, at what volume and rate. Along the line
// (after the brake sounds): the "[Atten]" level factor, the track-side "[Sound]" rows, the passing "[Doppler]"
// sources and the points' "[Switch]" sounds. With the running gear (after the stations): the running sound of
// the speed band, an electric train's motor sounds, a diesel's engine, transmission and idle sounds. Last:
// the announcements near stations.
#pragma once

namespace vesk::sim {

class Drive;

// "[Atten]" factor, "[Sound]" and "[Doppler]" rows.
void routeSoundStep(Drive& drive);
// "[Switch]" rows and the vehicle's "[SwitchSound]" table.
void switchSoundStep(Drive& drive);
// The running-sound channels 0 .. 12 by speed band, cross-faded.
void runningSoundStep(Drive& drive);
// "[EngineSound1]" rows of an electric train, following speed.
void motorSoundStep(Drive& drive);
// A diesel's "[EngineSound1]" rows (engine speed), "[EngineSound3]" rows (speed) and "[EngineSound2]" idle sounds.
void engineSoundStep(Drive& drive);
// "[Announce]" rows on conductor-operated lines.
void stationAnnouncementStep(Drive& drive);

// The condition of a "[Doppler]" row: 0 always holds; c names the station with index c, and holds once the
// train has stopped there on this run (its arrival, which the station logic records). Any other number never holds.
bool routeConditionFlag(const Drive& drive, int c);

}  // namespace vesk::sim
