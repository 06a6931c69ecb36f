#include "sim/brake.h"

#include <algorithm>
#include <cmath>

#include "sim/drive.h"

namespace vesk::sim {
namespace {

// One control step of a brake model: the rates per second of the vehicle file become rates per step.
class BrakeStep {
 public:
  explicit BrakeStep(Drive& drive)
      : s_(drive.state), v_(drive.vehicle), c_(drive.control),
        n_(drive.strings.fastStepsPerSecond > 0 ? drive.strings.fastStepsPerSecond : 30), u_(v_.brakeUpRate),
        dn_(v_.brakeDownRate), current_(drive.state.elecBrakeCurrent) {}

  void automatic();
  void electroPneumatic();
  void notched();

 private:
  // Raise X at rate R: X += R / n.
  void raise(Fixed& x, double rate) { x += rate / n_; }
  // Release X at rate R: X -= R / n / D(X).
  void release(Fixed& x, double rate) { x -= rate / n_ / releaseDivisor(x.toDouble()); }
  double feed() const { return s_.mr < 490.0 ? s_.mr.toDouble() : 490.0; }
  // The motor cylinders of models 1 and 2: the electric brake replaces their air down to the "[ELBR]" pressure.
  void motorCylinderService(double target);

  TrainState& s_;
  const data::VehicleSpec& v_;
  const sim::ControlState& c_;
  double n_;
  double u_;
  double dn_;
  double current_;
};

void BrakeStep::automatic() {
  s_.feedPressure = feed();
  const double fp = s_.feedPressure;
  const double reduction = fp - s_.bp;
  const double target = v_.maxPressure / 140.0 * reduction;
  const double r = v_.bpReturnRate;
  Fixed* cylinders[] = {&s_.bcMotor, &s_.bcTrailer};
  if (s_.emergencyLatched != 0 || s_.atsBrakeLatched != 0) {
    for (Fixed* bc : cylinders) {
      if (*bc < static_cast<double>(v_.ebPressure)) {
        *bc += u_ / (0.3 * n_);  // U / (0.3 n) a step
        if (bc == &s_.bcTrailer) {
          s_.mr -= u_ / (3.3 * n_);
          s_.sap -= v_.sapDownRate / (3 * n_);
        }
      }
    }
    s_.er -= u_ / (0.6 * n_);
    s_.bp -= u_ / (0.6 * n_);
    if (c_.brakeHandle == 0 || c_.brakeHandle == -1) s_.mr -= u_ / (4.6 * n_);
    return;
  }
  const int notch = s_.brakeNotch;
  if (notch == 0 || (notch == -1 && v_.pullMode == 1)) {
    for (Fixed* bc : cylinders) {
      if (*bc < s_.bp) release(*bc, dn_);
    }
    // The pipe recharges fast while the trailer cylinders are at or above it, slowly once below.
    const bool fast = s_.bcTrailer >= s_.bp;
    const double step = fast ? r / n_ : r / n_ / 2.5;
    const double ceiling = fast ? fp - 1 : fp;
    if (s_.bp < ceiling) {
      s_.bp += step;
      s_.mr -= step / 5;
    }
    if (s_.er < ceiling) s_.er += step;
  } else if (notch == -1) {
    if (s_.er < fp) s_.er += dn_ / n_ / 2.5;
    if (s_.bp < fp) {
      s_.bp += dn_ / n_ / 2.5;
      s_.mr -= u_ / (20 * n_);
    }
    if (s_.bcMotor < s_.bp) release(s_.bcMotor, dn_);
  } else if (notch == -2) {
    if (reduction > v_.elbr) {
      for (Fixed* bc : cylinders) {
        if (*bc < static_cast<double>(v_.maxPressure) && *bc < target) raise(*bc, u_);
      }
    }
  } else if (notch == -3) {
    for (Fixed* bc : cylinders) {
      if (*bc < static_cast<double>(v_.maxPressure) && *bc < target && reduction > v_.elbr) {
        raise(*bc, u_);
        if (bc == &s_.bcTrailer) s_.sap -= v_.sapUpRate / n_;
      }
    }
    s_.er -= u_ / (4.6 * n_);
    s_.bp -= u_ / (4.6 * n_);
  } else if (notch == -4) {
    for (Fixed* bc : cylinders) {
      if (*bc < static_cast<double>(v_.ebPressure) && s_.bp > 0) {
        *bc += u_ / (0.3 * n_);  // U / (0.3 n) a step
        if (bc == &s_.bcTrailer) s_.sap -= v_.sapDownRate / (3 * n_);
      }
    }
    s_.er -= u_ / (4.6 * n_);
    s_.bp -= u_ / (0.6 * n_);
  } else if (notch == -5) {
    // Follow: the cylinders follow the equalizing reservoir both ways.
    for (Fixed* bc : cylinders) {
      if (*bc >= static_cast<double>(v_.maxPressure) || *bc >= target) {
        if (*bc > target + 10) release(*bc, dn_);
      } else {
        raise(*bc, u_);
      }
    }
  }
}

void BrakeStep::motorCylinderService(double target) {
  Fixed& bc = s_.bcMotor;
  const double elbr = v_.elbr;
  if (bc + Fixed::fromInt(10) < target && (current_ < 50 || bc < elbr)) {
    raise(bc, u_);
  } else if (bc > target || (current_ >= 40 && bc >= elbr + 5)) {
    release(bc, dn_);
  }
}

void BrakeStep::electroPneumatic() {
  s_.feedPressure = feed();
  const int positions = v_.brakeNotches;
  const int sapNotch = s_.sapNotch;
  if (sapNotch > -positions && sapNotch < 0 && positions > 1) {
    const double target = static_cast<double>(v_.sapPressure) / (positions - 1) * -sapNotch;
    if (s_.sap + Fixed::fromInt(10) < target) s_.sap += v_.sapUpRate / n_;
    if (s_.sap > target) s_.sap -= v_.sapDownRate / n_;
  }
  const int b = s_.brakeNotch;
  if (b > -positions && b < 0 && positions > 1) {
    const double target = static_cast<double>(v_.maxPressure) / (positions - 1) * -b;
    if (s_.bcTrailer + Fixed::fromInt(10) < target) {
      raise(s_.bcTrailer, u_);
      s_.mr -= u_ / (10 * n_);
    } else if (s_.bcTrailer > target && s_.bp >= v_.maxPressure * (1 - 1.0 / positions)) {
      release(s_.bcTrailer, dn_);
    }
    motorCylinderService(target);
  } else if (b == -positions) {
    for (Fixed* bc : {&s_.bcMotor, &s_.bcTrailer}) {
      if (*bc < static_cast<double>(v_.ebPressure)) {
        raise(*bc, 3 * u_);
        if (bc == &s_.bcTrailer) s_.mr -= u_ / (5 * n_);
      }
    }
    s_.er -= 3 * u_ / n_;
    s_.bp -= 3 * u_ / n_;
    s_.sap -= 3.0 * v_.sapUpRate / n_;
  } else if (b == 0 && positions != 0 && s_.er >= v_.ebPressure * (1 - 1.0 / positions)) {
    if (s_.bcTrailer > Fixed{} || s_.sap > Fixed{}) {
      release(s_.bcTrailer, dn_);
      release(s_.sap, v_.sapDownRate);
    }
    if (s_.bcMotor > Fixed{}) release(s_.bcMotor, dn_);
  }
  if (b >= 1 - positions) {
    // Outside emergency the equalizing reservoir and the brake pipe recharge, never above the feed pressure.
    const double fp = s_.feedPressure;
    const double step = dn_ / (5 * n_);
    if (s_.er < fp) {
      s_.er += step;
      s_.er = std::min(s_.er, Fixed::fromDouble(fp));
    }
    if (s_.bp < fp) s_.bp = std::min(s_.bp + step, fp);
  }
}

void BrakeStep::notched() {
  const int positions = v_.brakeNotches;
  const int b = s_.brakeNotch;
  if (b > -positions && b < 0 && positions != 0) {
    // The notched brake divides by the number of positions, not by the service notches.
    const double target = static_cast<double>(v_.maxPressure) / positions * -b;
    if (s_.bcTrailer < target - 10) {
      raise(s_.bcTrailer, u_);
      s_.mr -= u_ / (10 * n_);
    } else if (s_.bcTrailer > target) {
      release(s_.bcTrailer, dn_);
    }
    motorCylinderService(target);
  } else if (b == -positions) {
    for (Fixed* bc : {&s_.bcMotor, &s_.bcTrailer}) {
      if (*bc < static_cast<double>(v_.ebPressure)) raise(*bc, 1.3 * u_);
    }
  } else if (b == 0) {
    for (Fixed* bc : {&s_.bcMotor, &s_.bcTrailer}) {
      if (*bc > Fixed{}) release(*bc, dn_);
    }
  }
}

void clampAtZero(TrainState& s) {
  for (Fixed* p : {&s.bcMotor, &s.bcTrailer, &s.er, &s.mr, &s.sap}) {
    if (*p < Fixed{}) *p = Fixed{};
  }
  s.bp = std::max(s.bp, 0.0);
}

// The target of the notches in effect: emergency while it is latched; full service (or emergency, when the
// handle is there) while ATS braking is latched; else the handle.
int brakeTarget(const Drive& drive) {
  const int emergency = -drive.vehicle.brakeNotches;
  if (drive.state.emergencyLatched != 0) return emergency;
  if (drive.state.atsBrakeLatched != 0) return drive.control.brakeHandle == emergency ? emergency : 1 + emergency;
  return drive.control.brakeHandle;
}

}  // namespace

double releaseDivisor(double pressure) { return 10 * std::pow(1.4, -pressure / 10) + 1; }

void brakePressureStep(Drive& drive) {
  BrakeStep step(drive);
  switch (drive.vehicle.brakeType) {
  case 0:
    step.automatic();
    break;
  case 1:
    step.electroPneumatic();
    break;
  default:
    step.notched();
    break;
  }
  clampAtZero(drive.state);
  const double n = drive.strings.fastStepsPerSecond > 0 ? drive.strings.fastStepsPerSecond : 30;
  drive.state.mr -= 0.2 / n;
  clampAtZero(drive.state);
}

void brakeDelayStep(Drive& drive) {
  TrainState& s = drive.state;
  sim::ControlState& c = drive.control;
  const data::VehicleSpec& v = drive.vehicle;
  const int target = brakeTarget(drive);
  // Each delay must be at least 1; a file's 0 counts as 1.
  if (c.brakeChangePending != 0) {
    s.brakeDelayCount += 1;
    const int delay = std::max(v.brakeDelay, 1);
    // With pressure in the cylinders a change takes 70 % of the delay.
    const bool due = s.bcTrailer == Fixed{} ? s.brakeDelayCount >= delay : s.brakeDelayCount >= 0.7 * delay;
    if (due) {
      s.brakeNotch = target;
      c.brakeChangePending = 0;
      s.brakeDelayCount = 0;
    }
  }
  if (c.sapChangePending != 0) {
    s.sapDelayCount += 1;
    if (s.sapDelayCount >= std::max(v.sapDelay, 1)) {
      s.sapNotch = target;
      c.sapChangePending = 0;
      s.sapDelayCount = 0;
    }
  }
  if (c.elecBrakeChangePending != 0) {
    s.elecBrakeDelayCount += 1;
    if (s.elecBrakeDelayCount >= std::max(v.elecBrakeDelay, 1)) {
      s.elecBrakeNotch = target;
      c.elecBrakeChangePending = 0;
      s.elecBrakeDelayCount = 0;
    }
  }
}

void restartBrakeDelays(Drive& drive) {
  drive.control.brakeChangePending = 1;
  drive.control.sapChangePending = 1;
  drive.control.elecBrakeChangePending = 1;
  drive.state.brakeDelayCount = 0;
  drive.state.sapDelayCount = 0;
  drive.state.elecBrakeDelayCount = 0;
}

}  // namespace vesk::sim
