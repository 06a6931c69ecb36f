#include "sim/traction.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "core/rounding.h"
#include "sim/drive.h"

namespace vesk::sim {
namespace {

constexpr double kGravity = 9.8;

// A finite result, or 0: a data value that makes a formula divide by zero contributes nothing.
double finiteOr0(double x) { return std::isfinite(x) ? x : 0.0; }

double notchTableAcceleration(const data::NotchRow& row, double v) {
  const double a0 = row.startAccel;
  const double a1 = row.accelAtV1;
  const double v1 = row.rampEndSpeed;
  const double v2 = row.decayStartSpeed;
  if (a0 <= 0) return v1 <= v && v < v2 ? a0 : 0.0;
  if (v < v1) return finiteOr0(a0 + v * (a1 - a0) / v1);
  if (v < v2) return finiteOr0(a1 * v1 / v);
  // Above the constant-power region the force decays by an integer power of the row's base.
  const auto exponent = static_cast<int>(std::clamp<std::int64_t>(core::nearest(v) - row.decayStartSpeed, -4096, 4096));
  return finiteOr0(v1 * a1 * std::pow(row.decayExponent, exponent) / v);
}

double dieselForce(const Drive& drive, int notch, double v) {
  const data::VehicleSpec& spec = drive.vehicle;
  const int gear = drive.state.engagedGear;
  if (gear < 0 || gear >= data::kGearCapacity || spec.powerNotches == 0) return 0;
  const data::GearRow& row = spec.gears[static_cast<std::size_t>(gear)];
  const int notches = spec.powerNotches;
  // kgf of the whole train at full notch, to newtons for this notch: x 9.8 / N x notch, in that order.
  if (v < row.vMid) {
    // Below "[PowerJerk]" a notch above 2 pulls as notch 2.
    const int k = drive.state.speed < spec.powerJerk ? std::min(notch, 2) : notch;
    return finiteOr0(
        (row.forceFrom + std::fabs(v - row.vFrom) * (row.forceMid - row.forceFrom) / (row.vMid - row.vFrom)) *
        kGravity / notches * k);
  }
  if (v < row.vTo) {
    return finiteOr0((row.forceMid + std::fabs(v - row.vMid) * (row.forceTo - row.forceMid) / (row.vTo - row.vMid)) *
                     kGravity / notches * notch);
  }
  return 0;
}

int topGear(const data::VehicleSpec& spec) { return spec.gearCount - 1; }

void playOnce(Drive& drive, int channel) {
  drive.sounds.stop(channel);
  drive.sounds.play_once(channel);
}

}  // namespace

bool doorsClosed(const Drive& drive) { return drive.state.doorOpenCommanded == 0 && drive.state.doorsNotClosed == 0; }

bool doorsAllowTraction(const Drive& drive) { return drive.vehicle.doorLock != 1 || doorsClosed(drive); }

bool tractionAllowed(const Drive& drive) {
  const TrainState& s = drive.state;
  return s.speed < drive.vehicle.maxSpeed && doorsAllowTraction(drive) && s.engineRunning == 1 &&
         s.atsBrakeLatched == 0 && s.emergencyLatched == 0;
}

void tractiveForceStep(Drive& drive) {
  TrainState& s = drive.state;
  const data::VehicleSpec& spec = drive.vehicle;
  const int n = s.powerNotch;
  if (n <= 0 || !tractionAllowed(drive)) return;
  const double v = std::fabs(s.speed);
  const double mass = spec.trainMass.toDouble() * 1000;
  if (spec.engineType == 0) {
    if (s.shiftState == 0) s.tractiveForce += dieselForce(drive, n, v);
  } else if (spec.powerType == 1) {
    // The notch table gives no force unless the brake is released.
    if (drive.control.brakeHandle != 0 || n > data::kNotchRowCapacity) return;
    s.tractiveForce =
        Fixed::fromDouble(notchTableAcceleration(spec.notchRows[static_cast<std::size_t>(n - 1)], v) / 3.6 * mass);
  } else {
    if (spec.currentPLimit == 0) return;
    const double a = v < spec.currentPSpeed ? spec.currentPAccel / 3.6
                                            : finiteOr0(spec.currentPAccel / 3.6 * spec.currentPSpeed / v);
    s.tractiveForce += mass * a / spec.currentPLimit * s.motorCurrent;
  }
}

void powerDelayStep(Drive& drive) {
  TrainState& s = drive.state;
  sim::ControlState& c = drive.control;
  if (s.lineVoltageTarget > Fixed{} && c.powerChangePending != 0) {
    s.powerDelayCount += 1;
    // A delay below 1 would never let the notch follow the handle: it counts as 1.
    if (s.powerDelayCount >= std::max(drive.vehicle.powerDelay, 1)) {
      s.powerDelayCount = 0;
      c.powerChangePending = 0;
      if (s.videoMode == 0 || s.videoMode == 2) {
        const int handle = c.powerHandle;
        // Notching back stops at "[NotchBack]": between 1 and it the notch in effect stays.
        if (handle >= s.powerNotch || handle == 0 || handle >= drive.vehicle.notchBack) s.powerNotch = handle;
      }
    }
  }
  s.tractiveForceCopy = s.tractiveForce;
}

void engineSpeedStep(Drive& drive) {
  TrainState& s = drive.state;
  const data::VehicleSpec& spec = drive.vehicle;
  if (spec.engineType != 0) return;
  const bool powering = s.powerNotch > 0 && s.shiftState == 0;
  auto idleDown = [&] {
    if (s.engineRpm > 30) s.engineRpm -= 1;
  };
  if (s.engagedGear > 0) {
    if (!powering) {
      idleDown();
    } else {
      const int g = s.engagedGear;
      const data::EngineRateRow row =
          g < data::kEngineRateCapacity ? spec.engineRates[static_cast<std::size_t>(g)] : data::EngineRateRow{};
      const double target = std::fabs(s.speed) * row.ratio + row.baseRpm;
      if (g == spec.gearCount) {
        s.engineRpm = target;
      } else if (s.engineRpm < target - 5) {
        s.engineRpm += 0.6;
      } else if (s.engineRpm < target - 1) {
        s.engineRpm += 0.03;
      } else if (s.engineRpm > target + 5) {
        s.engineRpm -= 0.6;
      } else if (s.engineRpm > target + 1) {
        s.engineRpm -= 0.03;
      }
    }
  } else if (spec.gearType == 1 && powering) {
    // Free revving in neutral with manual gears.
    s.engineRpm = std::min(s.engineRpm + 0.5, 95.0);
  } else {
    // In neutral without power (or while shifting) the engine idles down, with automatic gears too: their box
    // goes to neutral whenever the power is off, and the engine must not keep its revs there.
    idleDown();
  }
  if (s.engineRunning == 0) {
    if (s.engineRpm > 0) s.engineRpm -= 3;
  } else if (s.engineRpm < 30) {
    s.engineRpm += 3;
  }
  s.engineRpm = std::max(s.engineRpm, 0.0);
}

void motorCurrentStep(Drive& drive) {
  TrainState& s = drive.state;
  const data::VehicleSpec& spec = drive.vehicle;
  const double v = std::fabs(s.speed);
  if (spec.powerType == 1 || spec.engineType == 0) {
    const double mass = spec.trainMass.toDouble() * 1000;
    s.ammeter = s.powerNotch >= 1 || s.brakeNotch < 0
                    ? core::saturate32(core::nearest(finiteOr0(s.tractiveForceCopy.toDouble() * 3.6 / mass * 50)))
                    : 0;
  } else {
    if (s.powerNotch >= 1 && doorsAllowTraction(drive) && doorsClosed(drive)) {
      // The resistor steps climb while the current is below the limit, so it hovers at the limit.
      for (int i = 0; i < spec.currentPCount; ++i) {
        const data::CurrentPRow& row = spec.currentPRows[static_cast<std::size_t>(i)];
        if (s.resistorStep < i && s.powerNotch >= row.minNotch && s.motorCurrent < spec.currentPLimit) {
          s.resistorStep += 1;
        }
        const data::CurrentPRow& at =
            spec.currentPRows[static_cast<std::size_t>(std::clamp(s.resistorStep, 0, data::kCurrentPCapacity - 1))];
        if (v - at.speedOffset != 0)
          s.motorCurrent = core::saturate32(core::nearest(at.currentFactor / (v - at.speedOffset)));
      }
    } else if (s.powerNotch == 0) {
      s.resistorStep = 0;
      s.motorCurrent = 0;
    }
    const int step = s.resistorStep;
    s.notchingLamp = 0;
    if (step >= 1 && step < spec.currentPCount) {
      const int next =
          step + 1 < data::kCurrentPCapacity ? spec.currentPRows[static_cast<std::size_t>(step) + 1].minNotch : -1;
      s.notchingLamp = spec.currentPRows[static_cast<std::size_t>(step)].minNotch != next ? 1 : 0;
    }
    s.ammeter = s.motorCurrent;
  }
  if (s.elecBrakeCurrent > 0) s.ammeter = core::saturate32(-core::nearest(s.elecBrakeCurrent));
  // The voltmeter moves 250 a tick towards its target.
  const Fixed step = Fixed::fromInt(250);
  if (s.lineVoltage < s.lineVoltageTarget) s.lineVoltage = std::min(s.lineVoltage + step, s.lineVoltageTarget);
  if (s.lineVoltage > s.lineVoltageTarget) s.lineVoltage = std::max(s.lineVoltage - step, s.lineVoltageTarget);
}

void automaticGearStep(Drive& drive) {
  TrainState& s = drive.state;
  const data::VehicleSpec& spec = drive.vehicle;
  if (spec.engineType != 0 || spec.gearType != 0 || s.shiftState != 0) return;
  sim::ControlState& c = drive.control;
  const double v = std::fabs(s.speed);
  for (int i = 0; i < spec.gearCount; ++i) {
    const data::GearRow& row = spec.gears[static_cast<std::size_t>(i)];
    if (i == c.gear && s.engagedGear < topGear(spec) && v > row.vTo) c.gear += 1;
    if (i == c.gear && v < row.vFrom) c.gear -= 1;
  }
  if (v < 10 && s.engagedGear >= 1) {
    s.engagedGear = 1;
    s.shiftState = 0;
  }
}

void gearShiftStep(Drive& drive) {
  TrainState& s = drive.state;
  if (drive.vehicle.engineType != 0) return;
  const sim::ControlState& c = drive.control;
  if (doorsAllowTraction(drive)) {
    if (s.shiftState == 0 && s.engineRunning == 1 && s.powerNotch >= 1 && s.engagedGear != c.gear &&
        s.shiftTicks == 0 && s.emergencyLatched == 0) {
      s.shiftState = 1;
      drive.masconupdate();
    } else if (s.shiftState == 0 && s.engagedGear > 0 && s.powerNotch == 0 && s.shiftTicks == 0) {
      s.engagedGear = 0;
      s.shiftState = 2;
      drive.masconupdate();
    }
  }
  if (s.shiftState == 0) return;
  s.shiftTicks += 1;
  if (s.shiftTicks < 10) return;
  // A shift takes a second.
  s.shiftTicks = 0;
  if (s.shiftState == 1 && doorsAllowTraction(drive) && s.emergencyLatched == 0 && c.gear >= 1) s.engagedGear = c.gear;
  if (s.shiftState == 2) s.engagedGear = 0;
  if (media::Sprite* gear = drive.sprites.findByPicture("img_lamp_gear")) gear->pattern = s.engagedGear;
  s.shiftState = 0;
  drive.masconupdate();
}

void engineSwitchStep(Drive& drive) {
  TrainState& s = drive.state;
  const data::VehicleSpec& spec = drive.vehicle;
  if (spec.engineType != 0) return;
  const sim::ControlState& c = drive.control;
  const int startSound = spec.engineSound2[2];
  const int stopSound = spec.engineSound2[3];
  const int held = c.engineSwitch;
  if (held == 1 || held == 2) {
    s.engineSwitchTicks += 1;
    const int ticks = s.engineSwitchTicks;
    if (s.engineRunning == 0 && held == 1 && ticks == 1) {
      playOnce(drive, startSound);
      s.engineRunning = -1;
    } else if (s.engineRunning == -1 && held == 1 && ticks == 50) {
      s.engineRunning = 1;
    } else if (s.engineRunning == 1 && held == 2 && ticks == 1 && c.powerHandle == 0) {
      s.engineRunning = -2;
    } else if (s.engineRunning == -2 && held == 2 && ticks == 40) {
      playOnce(drive, stopSound);
    } else if (s.engineRunning == -2 && held == 2 && ticks == 50) {
      s.engineRunning = 0;
      s.engineSwitchTicks = 0;
    }
  } else {
    // Letting go of the switch before 5 s breaks off a start or a stop.
    if (s.engineSwitchTicks >= 1 && s.engineSwitchTicks <= 49) {
      if (s.engineRunning == -1) {
        playOnce(drive, stopSound);
        s.engineRunning = 0;
      } else if (s.engineRunning == -2) {
        s.engineRunning = 1;
      }
    }
    s.engineSwitchTicks = 0;
  }
  // Power applied in top gear from a standstill stalls the engine.
  if (s.engineRunning == 1 && c.reverser != 0 && c.gear == s.engagedGear && s.engagedGear == topGear(spec) &&
      s.powerNotch >= 1 && std::fabs(s.speed) < 0.5) {
    s.engineRunning = 0;
    s.powerNotch = 0;
    playOnce(drive, stopSound);
  }
}

}  // namespace vesk::sim
