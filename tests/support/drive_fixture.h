// A drive for tests: a plain electric train on a level line whose video was recorded at a constant speed, with
// a virtual sound bank. Tests change the records before running the routines.
#pragma once

#include <cstdint>
#include <memory>

#include "data/route_data.h"
#include "data/ui_strings.h"
#include "data/vehicle_spec.h"
#include "media/drive_pictures.h"
#include "media/virtual_sound_bank.h"
#include "sim/drive.h"
#include "sim/scheduler.h"

namespace vesk::test {

// 3 cars, 100 t (Mt 60, Tt 0, Tct 40); "[BrakeRate]" 4.2, 3.5, 40; "[EBPress]" 480.
data::VehicleSpec testVehicle();
// One "[SpeedUnit]" row per kilometre, recorded at `recordedSpeed` km/h; friction 0.3; no gradients.
data::RouteData levelRoute(int kilometres, double recordedSpeed);

struct DriveFixture {
  DriveFixture(data::VehicleSpec vehicleSpec, data::RouteData routeData);

  // Runs the routines for the given virtual time.
  void runMs(std::int64_t ms);
  // Runs `n` ticks and the control steps due before each.
  void runTicks(int n);

  data::VehicleSpec vehicle;
  data::RouteData route;
  data::UiStrings strings;
  sim::Scheduler scheduler;
  media::VirtualSoundBank sounds;
  media::DrivePictures pictures;
  media::SpriteEngine& sprites = pictures.sprites;
  sim::Drive drive;
};

std::unique_ptr<DriveFixture> makeDrive(data::VehicleSpec vehicle = testVehicle(),
                                        data::RouteData route = levelRoute(10, 60));

}  // namespace vesk::test
