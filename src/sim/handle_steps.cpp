#include "sim/handle_steps.h"

namespace vesk::sim {

int modeStart(const data::VehicleSpec& v, int mode) {
  return mode >= 0 && mode < data::kPowerModeStartCapacity ? v.notchModeStart[static_cast<std::size_t>(mode)] : 0;
}

int rowMode(const data::VehicleSpec& v, int row) {
  return row >= 0 && row < data::kNotchRowCapacity ? v.notchRows[static_cast<std::size_t>(row)].mode : 0;
}

void powerUp(ControlState& c, const data::VehicleSpec& v, bool checkBrake) {
  if (checkBrake && (c.brakeHandle != 0 || c.holdPosition != 0)) return;
  if (c.powerHandle >= v.powerNotches) return;
  if (rowMode(v, c.powerHandle) == c.powerMode) {
    c.powerHandle += 1;
  } else if (c.powerHandle == 0 && c.powerMode > 0) {
    // From off, the handle goes to the first notch of the selected mode.
    c.powerHandle = modeStart(v, c.powerMode) + 1;
  }
}

void powerDownFromFirstNotch(ControlState& c, const data::VehicleSpec& v) {
  if (c.powerHandle > 0 && c.powerHandle == modeStart(v, c.powerMode) + 1) c.powerHandle = 0;
}

void powerDown(ControlState& c, const data::VehicleSpec& v) {
  if (c.powerHandle > 1 && rowMode(v, c.powerHandle - 2) == c.powerMode) {
    c.powerHandle -= 1;
  } else {
    powerDownFromFirstNotch(c, v);
  }
}

void brakeStep(ControlState& c, const data::VehicleSpec& v, bool checkPower) {
  // Leaving the hold position goes to B1 in one step.
  if (c.holdPosition == 1) {
    c.holdPosition = 0;
    c.brakeHandle = -1;
    c.holdJustLeft = 1;
  }
  const int deepestService = -(v.brakeNotches - 1);
  if ((!checkPower || c.powerHandle == 0) && c.brakeHandle > deepestService && c.holdPosition == 0) {
    if (v.holdMode == 1 && c.brakeHandle == 0) {
      c.holdPosition = 1;
    } else if (v.holdMode != 1 || (c.brakeHandle < 0 && c.holdJustLeft == 0)) {
      c.brakeHandle -= 1;
    }
  }
  if (v.holdMode == 1) c.holdJustLeft = 0;
}

void brakeRelease(ControlState& c, const data::VehicleSpec& v, bool checkPower) {
  if (c.holdPosition == 1) c.holdPosition = 0;
  if ((!checkPower || c.powerHandle == 0) && c.brakeHandle < 0 && c.holdPosition == 0) {
    c.brakeHandle += 1;
    if (v.holdMode == 1 && c.brakeHandle == 0) c.holdPosition = 1;
  }
}

void emergency(ControlState& c, const data::VehicleSpec& v, bool powerOff) {
  c.holdPosition = 0;
  c.brakeHandle = -v.brakeNotches;
  if (powerOff) c.powerHandle = 0;
}

}  // namespace vesk::sim
