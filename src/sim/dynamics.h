// The tick's running dynamics: brake force, adhesion with wheel spin and slide, gradient and tunnel forces,
// starting and running resistance, and the integration of the speed over 0.1 s.
#pragma once

#include "core/fixed.h"
#include "data/vehicle_spec.h"

namespace vesk::sim {

class Drive;

// Brake friction factor, brake force from the cylinder pressures and the electric brake, subtracted from the
// tractive force against the direction of travel.
void brakeForceStep(Drive& drive);
// Adhesion coefficient, gradient force, tunnel resistance, and the adhesion limit with wheel spin and slide.
void adhesionStep(Drive& drive);
// Starting and running resistance, hold brake and constant-speed compensation.
void resistanceStep(Drive& drive);
// Stop detection and the speed change of this tick.
void integrateSpeed(Drive& drive);

// The speed-dependent brake shoe factor: the first "[BrakeRate]" value at rest, rising towards low speed below
// the third "[BrakeRate]" value (km/h), 1 from there on.
core::Fixed brakeFrictionFactor(double speed, const data::VehicleSpec& vehicle);

// The running resistance (N) of the whole train at `speed` km/h, on level open track.
double runningResistance(double speed, const data::VehicleSpec& vehicle);

}  // namespace vesk::sim
