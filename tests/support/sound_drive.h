// A drive for the tests of the tick's sounds: the plain test train and line with running sounds, environment
// sounds and engine sounds on their channels, each channel holding a one-second wave at 22050 Hz.
#pragma once

#include <memory>

#include "support/drive_fixture.h"

namespace vesk::test {

inline constexpr int kTestWaveRate = 22050;

// `vehicle.driveSoundCount`, `route.soundDataCount` and the engine-sound counts decide the channels bound.
std::unique_ptr<DriveFixture> makeSoundDrive(data::VehicleSpec vehicle, data::RouteData route);

}  // namespace vesk::test
