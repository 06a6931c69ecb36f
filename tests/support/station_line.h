// A drive along a level line with stations: the train's door, departure-signal and warning sounds and the
// route's station sounds bound to the virtual sound bank with known lengths, and a call-out wave in every slot.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "media/wave.h"
#include "support/drive_fixture.h"

namespace vesk::test {

// Channels of the station test vehicle: as in a real vehicle the running sounds come first (channels 0 to 12,
// which the tick plays by speed band), the event sounds after them.
inline constexpr int kDriveSounds = 17;
inline constexpr int kDoorOpenChannel = 13;
inline constexpr int kDoorCloseChannel = 14;
inline constexpr int kDepartureSignalChannel = 15;
inline constexpr int kStopWarningChannel = 16;
inline constexpr int kDoorSoundSeconds = 3;

// The station line's environment sounds ("[SoundData]" numbers) and their lengths in seconds.
inline constexpr int kGreetingSound = 0;
inline constexpr int kArrivalSound = 1;
inline constexpr int kDepartureSound = 2;
inline constexpr int kPlatformSound = 3;
inline constexpr int kOverrunSound = 4;
inline constexpr int kSoundSeconds[] = {2, 4, 10, 5, 3};
inline constexpr int kEnvironmentSounds = 5;
// The call-out channel: D + S + 1 (no engine sounds).
inline constexpr int kCalloutChannel = kDriveSounds + kEnvironmentSounds + 1;

// The line is recorded at 60 km/h: 1800 frames a kilometre, a frame 55.6 cm.
inline constexpr int kFramesPerKm = 1800;
// Every platform reaches 100 m either side of its stopping mark.
inline constexpr int kPlatformHalfLength = 10000;

struct StationSpec {
  std::string name;
  int kind = 0;
  int frame = 0;
  int departureTime = 0;  // 1/30 s
  int doorSide = 0;
  int doorChance = 100;
};

data::VehicleSpec stationVehicle();
// A level 10 km line with the stations given, its positions derived.
data::RouteData stationLine(const std::vector<StationSpec>& stations, int oneMan = 0);
// A wave of the given length that plays silently.
std::shared_ptr<const media::Wave> silentWave(double seconds);

// A drive on the line with its sounds bound, the interface strings the stations use, and a call-out wave (named
// "k<slot>.wav", "other<i>.wav", "limit<i>.wav") in every slot the route names.
std::unique_ptr<DriveFixture> stationDrive(const std::vector<StationSpec>& stations, int oneMan = 0,
                                           data::VehicleSpec vehicle = stationVehicle());
// The same on a line made by stationLine() and changed since (gradients, say).
std::unique_ptr<DriveFixture> stationDrive(data::RouteData line, data::VehicleSpec vehicle);
// Gives the route's call-out lists their files and the drive their waves (call after changing the lists' counts).
void loadCallOutWaves(DriveFixture& f, int otherCount, int limitCount, int kankoSound2Count = 0);
// Stands the train at a frame (position from the line's rows), speed 0, brakes released.
void standAt(DriveFixture& f, int frame);

}  // namespace vesk::test
