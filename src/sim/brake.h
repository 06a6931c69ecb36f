// The air brakes and the electric brake. In the control step: the pressures of the vehicle's brake model
// ("[BrakeType]" 0 automatic air brake, 1 electro-pneumatic, 2 notched), the main reservoir's drain, and the
// handle delays. In the tick: the electric brake current, the compressor, and the brake sounds.
#pragma once

namespace vesk::sim {

class Drive;

// Control step.
void brakePressureStep(Drive& drive);
void brakeDelayStep(Drive& drive);

// Tick.
void brakeSoundStep(Drive& drive);
void electricBrakeStep(Drive& drive);
void compressorStep(Drive& drive);

// The divisor that slows a release as the pressure falls: D(p) = 10 x 1.4^(-p/10) + 1.
double releaseDivisor(double pressure);

// Starts the brake, straight-air and electric-brake delays again (after forced braking changes their target).
void restartBrakeDelays(Drive& drive);

}  // namespace vesk::sim
