// Traction: the tractive force of the notch in effect (notch table, motor-current notching, or a diesel's gear
// table), the power handle's delay, the diesel engine speed, the ammeter and voltmeter, automatic gear selection,
// gear shifting, and the diesel engine's start, stop and stall.
#pragma once

namespace vesk::sim {

class Drive;

// Control step.
void tractiveForceStep(Drive& drive);
void powerDelayStep(Drive& drive);
void engineSpeedStep(Drive& drive);

// Tick.
void motorCurrentStep(Drive& drive);  // the motor current, resistor steps, ammeter and voltmeter
void automaticGearStep(Drive& drive);
void gearShiftStep(Drive& drive);
void engineSwitchStep(Drive& drive);  // start, stop and stall

// No traction at or above the maximum speed, with the doors not allowing it, with the engine not running, or
// while emergency or ATS braking is latched.
bool tractionAllowed(const Drive& drive);
// "[DoorLock]" 1 allows traction only with the doors closed.
bool doorsAllowTraction(const Drive& drive);
bool doorsClosed(const Drive& drive);

}  // namespace vesk::sim
