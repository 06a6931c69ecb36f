// The five steps of the handles: power up, power down, brake step, brake release and emergency. Power notches
// step within the selected power mode; the brake steps through the service notches (and the hold position where
// the vehicle has one) and never reaches emergency by stepping.
#pragma once

#include "data/vehicle_spec.h"
#include "sim/control_state.h"

namespace vesk::sim {

// checkBrake: the power handle moves only with the brake released and out of the hold position (the separate
// power handle of "[Handle]" 1 ignores the brake).
void powerUp(ControlState& c, const data::VehicleSpec& v, bool checkBrake = true);
void powerDown(ControlState& c, const data::VehicleSpec& v);
// Only the rule that returns the first notch of the selected mode to 0.
void powerDownFromFirstNotch(ControlState& c, const data::VehicleSpec& v);
// checkPower: the brake moves only with the power off (the separate brake handle ignores the power handle).
void brakeStep(ControlState& c, const data::VehicleSpec& v, bool checkPower = true);
void brakeRelease(ControlState& c, const data::VehicleSpec& v, bool checkPower = true);
void emergency(ControlState& c, const data::VehicleSpec& v, bool powerOff);

// The first notch row of power mode m (element 0 of notchModeStart is 0); 0 outside the table.
int modeStart(const data::VehicleSpec& v, int mode);
// The power mode of notch row r (the notch r + 1); 0 outside the table.
int rowMode(const data::VehicleSpec& v, int row);

}  // namespace vesk::sim
