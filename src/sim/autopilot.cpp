#include "sim/autopilot.h"

#include <algorithm>
#include <cmath>

#include "sim/drive.h"
#include "sim/drive_runner.h"
#include "sim/dynamics.h"
#include "sim/handle_steps.h"
#include "sim/protection.h"
#include "sim/stations.h"

namespace vesk::sim {
namespace {

constexpr double kTickSeconds = 0.1;
constexpr double kLimitMarginKmh = 4;  // kept under a limit, so that a lag in the handles never oversteps it
constexpr double kPowerBandKmh = 3;    // coasting from the target down to this far below it
constexpr int kVigilanceTicks = 300;   // a touch of a key every half minute keeps the dead-man device quiet
constexpr double kLookAheadCm = 300000;
constexpr double kEaseNotch = 0.7;   // a notch is eased once the stop needs this much less than it gives
constexpr double kReapply = 0.7;     // of the least application: an automatic brake released is applied again
constexpr double kCrawlKmh = 15;     // coasting is not planned below this
constexpr double kEarlyS = 2;        // the timetable is planned this much early, for what the plan leaves out
constexpr double kLeastDwellS = 15;  // at a stop with doors: open, passengers, shut
constexpr double kClockUnitsPerS = 30;
constexpr double kHoldsOnGradePermil = 5;  // the starting resistance holds a train without brakes on this grade

// The force of a diesel gear at full notch (kgf), along its three points.
double gearForce(const data::GearRow& row, double v) {
  if (v < row.vFrom || v >= row.vTo) return 0;
  if (v < row.vMid) {
    const double span = row.vMid - row.vFrom;
    return span > 0 ? row.forceFrom + (v - row.vFrom) * (row.forceMid - row.forceFrom) / span : row.forceMid;
  }
  const double span = row.vTo - row.vMid;
  return span > 0 ? row.forceMid + (v - row.vMid) * (row.forceTo - row.forceMid) / span : row.forceTo;
}

}  // namespace

Autopilot::Autopilot(const Drive& drive) : vehicle_(drive.vehicle), line_(drive) {
  const data::VehicleSpec& v = vehicle_;
  // The share of the train's mass the cylinders brake, as the brake force is worked out.
  const double braked = v.motorCarMass.toDouble() + v.trailerMass.toDouble() +
                        (v.brakeForceMode == 1 || v.brakeForceMode == 2 ? v.controlTrailerMass.toDouble() : 0.0);
  const double mass = v.trainMass.toDouble();
  brakedShare_ = mass > 0 ? std::clamp(braked / mass, 0.05, 2.0) : 1.0;
  // Full service at speed; stops are planned on a part of it, leaving the rest to correct with, and limits on
  // less.
  const double service = airDecel(v.maxPressure, 100);
  serviceDecel_ = service > 0.3 && service < 20 ? service : 3.0;
  stopDecel_ = 0.55 * serviceDecel_;
  limitDecel_ = 0.45 * serviceDecel_;
  // From a brake step to its force: the handle's delay and the cylinders filling to one notch's pressure.
  const double steps = std::max(v.brakeDelay, 1) / 30.0;
  const double notchPressure = static_cast<double>(v.maxPressure) / std::max(serviceNotches(), 1);
  const double fill = v.brakeUpRate > 0 ? notchPressure / v.brakeUpRate : 0.5;
  // The automatic brake fills its cylinders only once the pipe has been reduced by "[ELBR]", at a service
  // reduction of a 4.6th of the cylinders' filling rate a second.
  const double reduce = v.brakeType == 0 && v.brakeUpRate > 0 ? 4.6 * std::max(v.elbr, 0) / v.brakeUpRate : 0.0;
  brakeLag_ = std::clamp(steps + fill + reduce, 0.1, 4.0);
  settleTicks_ = std::clamp(static_cast<int>(std::ceil(brakeLag_ / kTickSeconds)), 1, 20);
}

double Autopilot::airDecel(double pressure, double speed) const {
  if (vehicle_.ebPressure <= 0) return 0;
  const double friction = speed > 0.5 ? brakeFrictionFactor(speed, vehicle_).toDouble() : 1.0;
  return vehicle_.brakeRate[0].toDouble() * pressure / vehicle_.ebPressure * brakedShare_ * friction;
}

double Autopilot::gradeDecel(double permil) { return 9.8 * permil / 1000 * 3.6; }

double Autopilot::stoppingDistance(double speed, double pressure, double rest, double position) const {
  constexpr double kStep = 1;  // km/h
  double metres = 0;
  for (double v = speed; v > 0; v -= kStep) {
    const double lower = std::max(v - kStep, 0.0);
    const double a =
        airDecel(pressure, (v + lower) / 2) + rest + gradeDecel(line_.trainGradientAt(position + metres * 100));
    if (a <= 0.02) return 1e9;
    metres += (v * v - lower * lower) / (7.2 * a);
  }
  return metres;
}

double Autopilot::pressureToStop(const TrainState& s, double metres) const {
  const double v = s.speed;
  const double maxPressure = std::max(vehicle_.maxPressure, 1);
  const double rest = rest_;
  double low = 0;
  double high = maxPressure;
  if (stoppingDistance(v, high, rest, s.position) > metres) return high;
  for (int i = 0; i < 20; ++i) {
    const double mid = (low + high) / 2;
    (stoppingDistance(v, mid, rest, s.position) > metres ? low : high) = mid;
  }
  return high;
}

// What the other forces give now, the gradient under the train taken out: resistance, the electric brake.
void Autopilot::updateRest(const TrainState& s) {
  const double now =
      std::clamp(decel_ - airDecel(effectivePressure(s), s.speed) - gradeDecel(s.gradient.toDouble()), -1.5, 1.5);
  // Smoothed over about a second: the cylinders' gauge runs ahead of the deceleration felt.
  rest_ = 0.8 * rest_ + 0.2 * now;
}

double Autopilot::motorShare() const {
  const double braked = brakedShare_ * vehicle_.trainMass.toDouble();
  return braked > 0 ? std::clamp(vehicle_.motorCarMass.toDouble() / braked, 0.0, 1.0) : 1.0;
}

double Autopilot::effectivePressure(const TrainState& s) const {
  // While the electric brake carries the motor cars, the trailers' cylinders say what the notch asks.
  if (s.elecBrakeCurrent > 0) return s.bcTrailer.toDouble();
  const double share = motorShare();
  return s.bcMotor.toDouble() * share + s.bcTrailer.toDouble() * (1 - share);
}

int Autopilot::serviceNotches() const { return std::max(vehicle_.brakeNotches - 1, 1); }

char Autopilot::powerUpKey() const { return vehicle_.handleLayout == 1 ? 'z' : '8'; }
char Autopilot::powerDownKey() const { return vehicle_.handleLayout == 1 ? 'a' : '2'; }
char Autopilot::brakeStepKey() const { return vehicle_.handleLayout == 1 ? '.' : '2'; }
char Autopilot::brakeReleaseKey() const { return vehicle_.handleLayout == 1 ? ',' : '8'; }

int Autopilot::topNotch(const Drive& drive) const {
  const int mode = drive.control.powerMode;
  int n = modeStart(vehicle_, mode);
  while (n < vehicle_.powerNotches && rowMode(vehicle_, n) == mode) ++n;
  return std::max(n, modeStart(vehicle_, mode) + 1);
}

std::vector<InputEvent> Autopilot::decide(const Drive& drive) {
  keys_.clear();
  const TrainState& s = drive.state;
  const double v = s.speed;
  decel_ = 0.5 * decel_ + 0.5 * (lastSpeed_ - v) / kTickSeconds;
  lastSpeed_ = v;
  if (brakeWait_ > 0) --brakeWait_;
  updateRest(s);
  if (s.runEnded != 0 || drive.control.inputLocked != 0) return {};
  // Taking over a train on the move (the window's demonstration), it drives on.
  if (phase_ == Phase::Standing && v > 0.5) phase_ = Phase::Running;
  // The ATS bell is answered first and alone.
  if (protection(drive)) return std::move(keys_);
  engine(drive);
  callOut(drive);
  switch (phase_) {
  case Phase::Standing:
    stand(drive);
    break;
  case Phase::Running:
    run(drive);
    break;
  case Phase::Stopping:
    stop(drive);
    break;
  }
  gears(drive);
  if (keys_.empty() && drive.control.idleTicks >= kVigilanceTicks) press(' ');
  return std::move(keys_);
}

// A new item along the line (another item, a time check, a speed limit, a level crossing) gets its call-out.
void Autopilot::callOut(const Drive& drive) {
  const TrainState& s = drive.state;
  const std::array<int, 5> item = {s.pendingOther, s.pendingLimit, s.limitWarnPending, s.limitEndPending,
                                   s.crossingQueue[0]};
  if (item == lastItem_) return;
  lastItem_ = item;
  const bool pending =
      s.pendingOther != kNone || s.limitWarnPending != 0 || s.limitEndPending != 0 || s.crossingQueue[0] != -1;
  if (pending && s.speed > 1) keys_.push_back(InputEvent::keyDown(Key::Enter, false));
}

bool Autopilot::protection(const Drive& drive) {
  const TrainState& s = drive.state;
  const ControlState& c = drive.control;
  if (s.emergencyLatched != 0) {
    // Emergency braking: the handle to emergency, and once standing the reset.
    if (c.brakeHandle != -vehicle_.brakeNotches) press('0');
    if (std::fabs(s.speed) < 0.1) {
      press('r');
      phase_ = Phase::Running;
    }
    return true;
  }
  if (s.atsAlarm != 0 && vehicle_.atsType == 0) {
    // The ATS bell: brake (past the automatic brake's running position, where the confirmation does not
    // count), then confirm.
    const int needed = vehicle_.brakeType == 0 ? -2 : -1;
    if (c.powerHandle > 0) press('5');
    for (int h = c.powerHandle > 0 ? 0 : c.brakeHandle; h > needed; --h) press(brakeStepKey());
    press(' ');
    brakeWait_ = settleTicks_;
    return true;
  }
  return false;
}

void Autopilot::engine(const Drive& drive) {
  if (vehicle_.engineType != 0) return;
  const bool stopped = drive.state.engineRunning == 0;
  // A stopped engine is started with F2 held until it runs; then the switch is let go.
  if (stopped && !engineKeyHeld_ && std::fabs(drive.state.speed) < 0.1) {
    if (drive.control.powerHandle > 0) press('5');
    keys_.push_back(InputEvent::keyDown(Key::F2, false));
    engineKeyHeld_ = true;
  } else if (engineKeyHeld_ && drive.state.engineRunning == 1) {
    keys_.push_back(InputEvent::keyUp(Key::F2));
    engineKeyHeld_ = false;
  }
}

void Autopilot::gears(const Drive& drive) {
  if (vehicle_.engineType != 0 || vehicle_.gearType != 1 || vehicle_.gearCount < 3) return;
  const data::GearRow& first = vehicle_.gears[1];
  const data::GearRow& second = vehicle_.gears[2];
  const double v = drive.state.speed;
  // Up into the second gear where it pulls harder than the first, or at the end of the first's range; down
  // again below the second's range (a start in the top gear stalls the engine).
  double up = first.vTo - 2;
  for (double x = std::max<double>(second.vFrom, 0); x < first.vTo; x += 1) {
    if (gearForce(second, x) >= gearForce(first, x)) {
      up = x;
      break;
    }
  }
  const int lever = drive.control.gear;
  if (v > up && lever != 2) press('w');
  if (v < second.vFrom + 2 && lever != 1) press('x');
}

void Autopilot::powerTo(const Drive& drive, int notch) {
  const ControlState& c = drive.control;
  if (notch <= 0) {
    if (c.powerHandle > 0) press('5');
    return;
  }
  if (c.brakeHandle < 0 || c.holdPosition != 0) press('5');
  const int from = c.brakeHandle < 0 || c.holdPosition != 0 ? 0 : c.powerHandle;
  for (int n = from; n < notch; ++n) press(powerUpKey());
  for (int n = from; n > notch; --n) press(powerDownKey());
}

void Autopilot::brakeFor(const Drive& drive, double wanted) {
  const ControlState& c = drive.control;
  const TrainState& s = drive.state;
  if (c.powerHandle > 0) press('5');
  const int handle = c.powerHandle > 0 ? 0 : c.brakeHandle;
  const int deepest = -serviceNotches();
  const double maxPressure = std::max(vehicle_.maxPressure, 1);
  if (vehicle_.brakeType == 0) {
    // The automatic brake: service lowers the brake pipe and fills the cylinders, lap holds them, running
    // lets the motor cars' cylinders off. What the cylinders will reach is read off the pipe's gauge.
    const double feed = std::min(s.mr.toDouble(), 490.0);
    const double reach = std::clamp(maxPressure / 140 * (feed - s.bp), 0.0, maxPressure);
    const double cylinder = std::max(s.bcMotor.toDouble(), s.bcTrailer.toDouble());
    const double expected = decel_ + airDecel(reach - cylinder, s.speed);
    int position = -2;
    if (expected < wanted - 0.1) position = -3;
    if (decel_ > wanted + 0.4 && expected > wanted + 0.2) position = -1;
    for (int h = handle; h > position; --h) press(brakeStepKey());
    for (int h = handle; h < position; ++h) press(brakeReleaseKey());
    return;
  }
  // Notched brakes: each notch asks the cylinders for a share of the full service pressure.
  const double share = vehicle_.brakeType == 2 ? vehicle_.brakeNotches : serviceNotches();
  const double perNotch = std::max(airDecel(maxPressure / share, s.speed), 0.05);
  if (handle == 0) {
    const int notches = std::clamp(static_cast<int>(std::lround(wanted / perNotch)), 1, serviceNotches());
    for (int i = 0; i < notches + (vehicle_.holdMode == 1 ? 1 : 0); ++i) press(brakeStepKey());
    brakeWait_ = 2;
    return;
  }
  if (brakeWait_ > 0) return;
  const double asked = maxPressure / share * -handle;
  const double expected = decel_ + airDecel(asked - s.bcTrailer.toDouble(), s.speed);
  if (expected < wanted - 0.5 * perNotch && handle > deepest) {
    const int steps = expected < wanted - 1.5 * perNotch && handle > deepest + 1 ? 2 : 1;
    for (int i = 0; i < steps; ++i) press(brakeStepKey());
    brakeWait_ = 2;
  } else if (expected > wanted + 0.6 * perNotch && handle < -1) {
    press(brakeReleaseKey());
    brakeWait_ = 2;
  }
}

double Autopilot::targetSpeed(const Drive& drive) const {
  const double x = drive.state.position;
  const double v = std::max(drive.state.speed, 0.0);
  const double leadM = v / 3.6 * (brakeLag_ + 1.0);
  double target = kNone;
  for (const SpeedSpan& span : line_.spans(drive, x, x + kLookAheadCm)) {
    const double keep = span.kmh <= 0 ? 0 : std::max(span.kmh - kLimitMarginKmh, span.kmh * 0.5);
    if (span.from <= x) {
      target = std::min(target, keep);
    } else {
      const double metres = std::max((span.from - x) / 100 - leadM, 0.0);
      target = std::min(target, std::sqrt(keep * keep + 7.2 * limitDecel_ * metres));
    }
  }
  return target;
}

bool Autopilot::aheadOfTime(const Drive& drive) {
  if (timetableWait_ > 0) {
    --timetableWait_;
    return ahead_;
  }
  timetableWait_ = static_cast<int>(1 / kTickSeconds) - 1;
  const TrainState& s = drive.state;
  const double secondsLeft = (arrivalGoal(drive) - s.clock) / kClockUnitsPerS;
  ahead_ = coastingSeconds(drive, s.distanceToStop / 100) + kEarlyS <= secondsLeft;
  return ahead_;
}

double Autopilot::arrivalGoal(const Drive& drive) const {
  const data::RouteData& r = drive.route;
  const int count = std::min(r.stationCount, data::kStationCapacity);
  const int stop = drive.state.nextStop;
  if (stop < 0 || stop >= count) return kNone;
  const data::StationRow& row = r.stations[static_cast<std::size_t>(stop)];
  bool last = true;
  for (int j = stop + 1; j < count; ++j) {
    const int kind = r.stations[static_cast<std::size_t>(j)].kind;
    last = last && kind != 0 && kind != 2;
  }
  if (last || row.kind != 0) return row.departureTime;
  const double announcements =
      environmentSeconds(drive, row.arrivalSound) + environmentSeconds(drive, row.departureSound);
  return row.departureTime - kClockUnitsPerS * std::max(announcements, kLeastDwellS);
}

double Autopilot::coastingSeconds(const Drive& drive, double metres) const {
  constexpr double kStepS = 1;
  const double kilograms = vehicle_.trainMass.toDouble() * 1000;
  if (kilograms <= 0) return kNone;
  const double from = drive.state.position;
  const std::vector<SpeedSpan> spans = line_.spans(drive, from, from + metres * 100);
  double v = std::max(drive.state.speed, 0.0);
  double seconds = 0;
  for (double gone = 0; gone < metres;) {
    const double left = metres - gone;
    // On the braking curve into the stop: from there at an even deceleration, twice the time at this speed.
    if (v * v / (7.2 * stopDecel_) >= left) return seconds + 2 * left / (v / 3.6);
    const double x = from + gone * 100;
    const double slowing = runningResistance(v, vehicle_) / kilograms * 3.6 + gradeDecel(line_.gradientAt(x));
    v -= slowing * kStepS;
    for (const SpeedSpan& span : spans) {
      if (span.from <= x && x <= span.to) v = std::min(v, span.kmh - kLimitMarginKmh);
    }
    if (v < kCrawlKmh) return kNone;
    gone += v / 3.6 * kStepS;
    seconds += kStepS;
  }
  return seconds;
}

void Autopilot::stand(const Drive& drive) {
  const TrainState& s = drive.state;
  const ControlState& c = drive.control;
  const data::RouteData& r = drive.route;
  const int at = std::clamp(s.currentStation, 0, std::max(r.stationCount - 1, 0));
  const data::StationRow& row = r.stations[static_cast<std::size_t>(at)];
  const StationState& flags = drive.line.stations[static_cast<std::size_t>(at)];
  const bool shut = s.doorOpenCommanded == 0 && s.doorsNotClosed == 0;
  const bool atStop = flags.inPlatform == 1 && row.kind == 0;
  // An automatic brake takes seconds to let go: once the departure is announced, on track level enough for the
  // starting resistance to hold the train, the driver releases it, so that the train leaves on time.
  const bool releaseEarly = vehicle_.brakeType == 0 && atStop && flags.departureAnnounced == 1 &&
                            at + 1 < r.stationCount && std::fabs(line_.gradientAt(s.position)) < kHoldsOnGradePermil;
  // Standing, the service brake holds the train: from emergency (where a drive starts) the handle comes back
  // early, so that the cylinders have let go by the departure.
  if (c.brakeHandle == -vehicle_.brakeNotches && s.emergencyLatched == 0 && s.atsBrakeLatched == 0) press('5');
  if (releaseEarly) {
    for (int h = c.brakeHandle; h < 0 && c.brakeHandle != -vehicle_.brakeNotches; ++h) press(brakeReleaseKey());
  } else if ((c.brakeHandle == 0 || c.brakeHandle == -vehicle_.brakeNotches) && c.powerHandle == 0) {
    const int hold = vehicle_.brakeType == 0 ? 3 : (serviceNotches() + 1) / 2;
    for (int i = 0; i < hold; ++i) press(brakeStepKey());
  }
  if (vehicle_.brakeType == 0 && c.brakeHandle == -3) {
    // The automatic brake is lapped once the pipe is reduced enough to hold the train, not emptied.
    const double feed = std::min(s.mr.toDouble(), 490.0);
    if (feed - s.bp > vehicle_.elbr + 40) press(brakeReleaseKey());
  }
  if (r.oneMan >= 1 && atStop) {
    // One-man: the driver opens the doors on arriving and shuts them at the departure time.
    if (shut && flags.arrived == 0 && !doorsOpened_) {
      press('d');
      doorsOpened_ = true;
    } else if (s.doorOpenCommanded == 1 && flags.departureAnnounced == 1 && s.clock >= row.departureTime) {
      press('d');
    }
  }
  // At a stop the train leaves when the doors have shut and the departure signal has been given (never from
  // the last station); anywhere else (short of a platform, held at a signal) as soon as the line allows.
  if (!shut) return;
  if (atStop && (s.departureCount <= departures_ || at + 1 >= r.stationCount)) return;
  if (flags.inPlatform == 1 && row.kind == 2 && (s.clock < row.departureTime || at + 1 >= r.stationCount)) return;
  if (targetSpeed(drive) < 5) return;  // the signal ahead still at stop
  departures_ = s.departureCount;
  doorsOpened_ = false;
  if (c.reverser != 1) press('f');
  if (vehicle_.engineType == 0 && vehicle_.gearType == 1 && c.gear != 1) press('x');
  powerTo(drive, topNotch(drive));
  phase_ = Phase::Running;
}

void Autopilot::run(const Drive& drive) {
  const TrainState& s = drive.state;
  const ControlState& c = drive.control;
  const double v = s.speed;
  const double metres = s.distanceToStop / 100;
  const double lead = std::max(v, 0.0) / 3.6 * brakeLag_;
  const bool stopAhead = drive.route.stationCount > 0 && metres > 0;
  if (stopAhead && v > 0.5 && v * v / (7.2 * std::max(metres - lead, 0.1)) >= stopDecel_) {
    phase_ = Phase::Stopping;
    stop(drive);
    return;
  }
  const double target = targetSpeed(drive);
  if (target < 1 && v < 0.5) {
    // Held at a signal: the brake on until it clears.
    if (c.brakeHandle == 0) brakeFor(drive, serviceDecel_ * 0.5);
    return;
  }
  if (v > target + 0.5) {
    const double wanted = std::clamp(limitDecel_ * (0.6 + (v - target) / 4), 0.3, serviceDecel_);
    brakeFor(drive, wanted);
  } else if (v > target - kPowerBandKmh || (stopAhead && aheadOfTime(drive))) {
    if (c.powerHandle > 0 || c.brakeHandle < 0 || c.holdPosition != 0) press('5');
  } else if (c.powerHandle < topNotch(drive) || c.brakeHandle < 0) {
    powerTo(drive, topNotch(drive));
  }
}

void Autopilot::stop(const Drive& drive) {
  const TrainState& s = drive.state;
  const double v = s.speed;
  if (v <= 0.0) {
    phase_ = Phase::Standing;
    return;
  }
  const double metres = s.distanceToStop / 100;
  if (metres <= 0.05) {
    // At or past the mark: full service.
    brakeFor(drive, serviceDecel_);
  } else if (vehicle_.brakeType == 0) {
    automaticBrakeStop(drive, metres);
  } else {
    notchedBrakeStop(drive, metres);
  }
}

// Notched brakes: the notch whose pressure stops the train at the mark or a little before, eased a notch at a
// time as the train comes in.
void Autopilot::notchedBrakeStop(const Drive& drive, double metres) {
  const TrainState& s = drive.state;
  const ControlState& c = drive.control;
  if (c.powerHandle > 0) press('5');
  const int handle = c.powerHandle > 0 ? 0 : c.brakeHandle;
  if (handle != 0 && brakeWait_ > 0) return;
  const double share = vehicle_.brakeType == 2 ? vehicle_.brakeNotches : serviceNotches();
  const double perNotch = std::max(vehicle_.maxPressure, 1) / share;
  const double wanted = pressureToStop(s, metres);
  const int notch = std::clamp(static_cast<int>(std::ceil(wanted / perNotch - 0.2)), 1, serviceNotches());
  const int now = -handle;
  if (notch > now) {
    for (int i = now; i < notch; ++i) press(brakeStepKey());
    if (handle == 0 && vehicle_.holdMode == 1) press(brakeStepKey());
    brakeWait_ = settleTicks_;
  } else if (notch < now && wanted < (now - kEaseNotch) * perNotch) {
    press(brakeReleaseKey());
    brakeWait_ = settleTicks_;
  }
}

// The automatic brake cannot be eased a notch at a time (the trailers' cylinders only let go with a full
// release), so the driver sets the pressure that brings the train to a stand at the mark from the start,
// allowing for the shoes gripping harder as the train slows, and corrects with the motor cars' cylinders.
void Autopilot::automaticBrakeStop(const Drive& drive, double metres) {
  const TrainState& s = drive.state;
  const ControlState& c = drive.control;
  if (c.powerHandle > 0) press('5');
  const int handle = c.powerHandle > 0 ? 0 : c.brakeHandle;
  const double maxPressure = std::max(vehicle_.maxPressure, 1);
  const double now = effectivePressure(s);
  const double wanted = pressureToStop(s, metres);
  const double feed = std::min(s.mr.toDouble(), 490.0);
  const double reach = std::clamp(maxPressure / 140 * (feed - s.bp), 0.0, maxPressure);
  // The least application: the cylinders fill only once the pipe is reduced by "[ELBR]".
  const double least = std::min(maxPressure / 140 * vehicle_.elbr, maxPressure);
  const double trailers = s.bcTrailer.toDouble() * (1 - motorShare());
  const double v = s.speed;
  int position = -2;
  if (handle == 0) {
    // Released: applied again once the stop needs more than the least application.
    position = wanted >= least * kReapply ? -3 : 0;
  } else if (reach < wanted - 3) {
    position = -3;
  } else if (now > wanted + 10 && v > 2 &&
             stoppingDistance(v, trailers, rest_, s.position) < metres - std::max(1.0, v * 0.3)) {
    // The trailers alone would stop the train short: a full release, to apply again later.
    position = 0;
  } else if (now > wanted + 10 && s.bcMotor.toDouble() > 0) {
    position = -1;
  }
  for (int h = handle; h > position; --h) press(brakeStepKey());
  for (int h = handle; h < position; ++h) press(brakeReleaseKey());
}

void pressAutopilotKeys(Autopilot& autopilot, DriveRunner& runner) {
  for (InputEvent& e : autopilot.decide(runner.drive())) runner.input().push(std::move(e), runner.now() + 1);
}

}  // namespace vesk::sim
