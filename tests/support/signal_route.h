// A signalled line for tests and benchmarks: level, recorded at one speed, with stations, block signals, speed
// limits, speed checks, road traffic lights and a preceding train, its positions and ATS-P beacons computed.
#pragma once

#include "data/route_data.h"
#include "data/vehicle_spec.h"

namespace vesk::test {

// `kilometres` of line recorded at `recordedSpeed` km/h: a station every 2 km (section speed 100 km/h, an ATS-P
// stop beacon), a block signal of head type 4 every 500 m (its ATS points 200 m and 30 m before it), a 60 km/h
// limit (ATS-P beacon kind 1) for 400 m every 3 km, a 45 km/h speed check 150 m before each station, a road
// traffic light every 4 km, and a preceding train running at 80 km/h from 1 km ahead. "[Speed_Signal]" 0, 25,
// 45, 65, 110.
data::RouteData signalledRoute(int kilometres, double recordedSpeed);

// The test train (testVehicle) with ATS-P (or ATS-S with `atsS`), a vigilance device and ATS sound channels 1-3.
data::VehicleSpec protectedVehicle(bool atsS = false);

}  // namespace vesk::test
