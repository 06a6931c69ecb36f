#include "sim/dynamics.h"

#include <cmath>

#include "sim/drive.h"

namespace vesk::sim {
namespace {

constexpr double kGravity = 9.8;
// m/s^2 to km/h gained over one tick of 0.1 s.
constexpr double kPerTick = 3.6 / 10;

double massKg(Fixed tonnes) { return tonnes.toDouble() * 1000; }

// mu x M x 1000 x 9.8: the weight on the rails times the adhesion, in the order the formula writes it.
double adhesionForce(double mu, Fixed tonnes) { return mu * tonnes.toDouble() * 1000 * kGravity; }

// A force of the given size against the direction of travel; nothing at rest.
double againstMotion(double speed, double force) {
  if (speed > 0) return -force;
  if (speed < 0) return force;
  return 0;
}

}  // namespace

double runningResistance(double speed, const data::VehicleSpec& vehicle) {
  const double tonnes = vehicle.trainMass.toDouble();
  const double coefficient = 0.028 + 0.0078 * (vehicle.cars - 1);
  return (1.32 * tonnes + 0.0164 * tonnes * speed + coefficient * (speed * speed)) * kGravity;
}

Fixed brakeFrictionFactor(double speed, const data::VehicleSpec& vehicle) {
  const double v = std::fabs(speed);
  const Fixed vb = vehicle.brakeRate[2];
  const double x = vehicle.brakeRate2;
  if (v == 0) return vehicle.brakeRate[0];
  // Compared on the scaled integer: speed x 10000 against the fixed value.
  if (!(vb > v)) return Fixed::fromInt(1);
  const double vbf = vb.toDouble();
  const double factor = ((1 + 0.01 * v) / (1 + x * v)) / ((1 + 0.01 * vbf) / (1 + x * vbf));
  // A "[BrakeRate2]" that makes a term vanish gives no usable factor; the shoes then act as at speed.
  if (!std::isfinite(factor)) return Fixed::fromInt(1);
  return Fixed::fromDouble(factor);
}

void brakeForceStep(Drive& drive) {
  TrainState& s = drive.state;
  const data::VehicleSpec& v = drive.vehicle;
  s.brakeFrictionFactor = brakeFrictionFactor(s.speed, v);
  const double beta = v.brakeRate[0].toDouble();
  const double f = s.brakeFrictionFactor.toDouble();
  // Cylinder pressure p acting on mass M (t): p x beta / P / 3.6 x M x 1000 x f, evaluated in that order.
  // "[EBPress]" 0 leaves the cylinders without effect.
  auto cylinder = [&](Fixed p, Fixed mass) {
    if (v.ebPressure == 0) return 0.0;
    return p.toDouble() * beta / v.ebPressure / 3.6 * mass.toDouble() * 1000 * f;
  };
  // The electric brake on mass M (t), while it carries current.
  auto electric = [&](Fixed mass) {
    if (s.elecBrakeCurrent <= 0 || v.elecBrakeMaxCurrent == 0) return 0.0;
    return s.elecBrakeCurrent * v.brakeRate[1].toDouble() / v.elecBrakeMaxCurrent / 3.6 * mass.toDouble() * 1000;
  };
  double force = 0;
  switch (v.brakeForceMode) {
  case 1:
    force = cylinder(s.bcMotor, v.motorCarMass) + cylinder(s.bcTrailer, v.trailerMass) +
            cylinder(s.bcTrailer, v.controlTrailerMass) + electric(v.motorCarMass);
    break;
  case 2:
    force = cylinder(s.bcMotor, v.motorCarMass) + cylinder(s.bcMotor, v.trailerMass) +
            cylinder(s.bcTrailer, v.controlTrailerMass) + electric(v.motorCarMass + v.trailerMass);
    break;
  default:  // 0, and any value the file should not have given: the air brake on motor cars and trailers
    force = cylinder(s.bcMotor, v.motorCarMass) + cylinder(s.bcTrailer, v.trailerMass);
    break;
  }
  s.brakeForce = Fixed::fromDouble(force);
  if (s.speed > 0) s.tractiveForce -= s.brakeForce;
  if (s.speed < 0) s.tractiveForce += s.brakeForce;
}

void adhesionStep(Drive& drive) {
  TrainState& s = drive.state;
  const data::VehicleSpec& v = drive.vehicle;
  const double speed = std::fabs(s.speed);
  const double mu0 = drive.route.friction.toDouble();
  if (s.powerNotch >= 1) {
    s.adhesion = Fixed::fromDouble(mu0 * (1 + 0.279 * speed) / (1 + 0.367 * speed));
  } else if (s.brakeNotch < 0) {
    s.adhesion = Fixed::fromDouble(mu0 / (1 + 0.0059 * speed));
  }

  // The component of the train's weight along a gradient of g per mil.
  const double g = s.gradient.toDouble();
  s.resistForce += -massKg(v.trainMass) * kGravity * g / std::sqrt(g * g + 1000.0 * 1000.0);
  if (s.inTunnel != 0) {
    s.resistForce += againstMotion(s.speed, drive.route.tunnelResistance / 10000.0 * (speed * speed) *
                                                v.trainMass.toDouble() * kGravity);
  }

  const double mu = s.adhesion.toDouble();
  bool slipping = false;
  if (s.powerNotch >= 1) {
    // Diesel trains drive every axle; electric trains only the motor cars'.
    const Fixed driven = v.engineType == 0 ? v.trainMass : v.motorCarMass;
    s.adhesionLimit = s.resistForce;
    s.adhesionLimit += adhesionForce(mu, driven);
    if (s.adhesionLimit < s.tractiveForce) {
      s.tractiveForce = Fixed::fromDouble(adhesionForce(0.5 * mu, driven));
      s.adhesionText = "空転";
      slipping = true;
    }
  }
  if (!slipping && s.brakeNotch < 0) {
    s.adhesionLimit = s.resistForce;
    s.adhesionLimit += adhesionForce(mu, v.trainMass);
    if (-s.adhesionLimit > s.tractiveForce) {
      s.tractiveForce = Fixed::fromDouble(adhesionForce(-0.66 * mu, v.trainMass));
      s.adhesionText = "滑走";
      slipping = true;
    }
  }
  if (!slipping) s.adhesionText.clear();
}

void resistanceStep(Drive& drive) {
  TrainState& s = drive.state;
  const data::VehicleSpec& v = drive.vehicle;
  const double speed = std::fabs(s.speed);
  const double tonnes = v.trainMass.toDouble();

  // Starting resistance, 8 kgf a tonne at rest falling to nothing at 8 km/h, on level or falling track. It only
  // resists: at rest it cancels the other forces up to its size, and only their excess moves the train.
  if (speed < 8 && s.resistForce >= Fixed{}) {
    const double starting = (8 - speed) * kGravity * tonnes;
    if (s.speed != 0) {
      s.resistForce += againstMotion(s.speed, starting);
    } else {
      const double others = (s.tractiveForce + s.resistForce).toDouble();
      s.resistForce += std::fabs(others) <= starting ? -others : (others > 0 ? -starting : starting);
    }
  }

  if (speed > 0.1) s.resistForce += againstMotion(s.speed, runningResistance(speed, v));

  // The hold position holds the speed on a descent.
  if (s.resistForce > Fixed{} && drive.control.holdPosition != 0 && s.gradient < Fixed{}) {
    s.tractiveForce -= s.resistForce;
  }
  if (drive.control.constantSpeed != 0) s.tractiveForce = s.resistForce < Fixed{} ? -s.resistForce : Fixed{};
  if (s.videoMode == 1) s.resistForce = {};
}

void integrateSpeed(Drive& drive) {
  TrainState& s = drive.state;
  const data::VehicleSpec& v = drive.vehicle;
  const double mass = massKg(v.trainMass);
  // A train without mass cannot be moved by any force.
  if (mass <= 0) return;

  s.predictedSpeed = Fixed::fromDouble(s.speed + (s.tractiveForce + s.resistForce).toDouble() / mass * kPerTick);
  auto stop = [&] {
    s.speed = 0;
    s.tractiveForce = {};
    s.resistForce = {};
  };
  if (s.speed == 0) {
    // The trailer cars' cylinders hold a standing train against forces smaller than their brake force.
    const double holding =
        v.ebPressure == 0 ? 0.0 : v.brakeRate[0].toDouble() * s.bcTrailer.toDouble() / v.ebPressure / 3.6 * mass;
    if (std::fabs(holding) > std::fabs(s.resistForce.toDouble())) stop();
  } else if ((s.speed > 0 && s.predictedSpeed < Fixed{}) || (s.speed < 0 && s.predictedSpeed > Fixed{})) {
    // No force reverses the train within one tick: it stops first, and the next tick decides from rest.
    stop();
  }
  if (drive.control.resistanceOff == 0) s.speed += s.resistForce.toDouble() / mass * kPerTick;
  s.speed += s.tractiveForce.toDouble() / mass * kPerTick;
}

}  // namespace vesk::sim
