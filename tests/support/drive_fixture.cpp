#include "support/drive_fixture.h"

#include "data/track_positions.h"

namespace vesk::test {

data::VehicleSpec testVehicle() {
  data::VehicleSpec v;
  v.brakeType = 1;
  v.brakeNotches = 8;
  v.powerNotches = 5;
  v.brakeRate = {core::Fixed::fromDouble(4.2), core::Fixed::fromDouble(3.5), core::Fixed::fromInt(40)};
  v.brakeRate2 = 0.03;
  v.ebPressure = 480;
  v.maxPressure = 440;
  v.elecBrakeMaxCurrent = 400;
  v.engineType = 1;
  v.motorCarMass = core::Fixed::fromInt(60);
  v.trailerMass = core::Fixed::fromInt(0);
  v.controlTrailerMass = core::Fixed::fromInt(40);
  v.trainMass = core::Fixed::fromInt(100);
  v.cars = 3;
  v.maxSpeed = 110;
  return v;
}

data::RouteData levelRoute(int kilometres, double recordedSpeed) {
  data::RouteData r;
  r.friction = core::Fixed::fromDouble(0.3);
  // Frames a kilometre at the recorded speed, 30 a second.
  const int framesPerKm = static_cast<int>(1000.0 / (recordedSpeed / 3.6) * 30);
  for (int i = 0; i < kilometres; ++i) {
    data::SpeedUnitRow& row = r.speedUnits[static_cast<std::size_t>(i)];
    row.frameFrom = i * framesPerKm;
    row.frameTo = (i + 1) * framesPerKm;
    row.speedFrom = recordedSpeed;
    row.speedTo = recordedSpeed;
  }
  r.speedUnitCount = kilometres;
  data::computeSpeedUnitDistances(r);
  return r;
}

DriveFixture::DriveFixture(data::VehicleSpec vehicleSpec, data::RouteData routeData)
    : vehicle(std::move(vehicleSpec)), route(std::move(routeData)), sounds([this] { return scheduler.now(); }),
      drive(vehicle, route, strings, sounds, pictures) {
  strings.fastStepsPerSecond = 30;
  strings.videoFrameFactor = 2;
  drive.control.reverser = 1;
}

void DriveFixture::runMs(std::int64_t ms) { scheduler.runUntil(scheduler.now() + ms, drive); }

void DriveFixture::runTicks(int n) {
  const std::int64_t target = scheduler.ticks() + n;
  while (scheduler.ticks() < target) scheduler.runUntil(scheduler.nextDue(), drive);
}

std::unique_ptr<DriveFixture> makeDrive(data::VehicleSpec vehicle, data::RouteData route) {
  return std::make_unique<DriveFixture>(std::move(vehicle), std::move(route));
}

}  // namespace vesk::test
