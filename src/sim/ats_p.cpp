// ATS-P: beacons tell the train the speed it must keep to at a point ahead (a stop signal, a stopping mark, a
// speed limit); from the distance the train works out two braking curves, the warning pattern P2 and the braking
// pattern P1. Above P2 the pattern warning sounds; above P1 the full service brake is latched until the train is
// 10 km/h below the target (for targets below 16 km/h, until the driver resets it). Without a beacon near, the
// station section's speed (or the line's) is the pattern.
#include <algorithm>
#include <cmath>

#include "core/rounding.h"
#include "sim/brake.h"
#include "sim/drive.h"
#include "sim/protection.h"

namespace vesk::sim {
namespace {

constexpr double kSearchReach = 60000;  // cm: beacons this far ahead and more are not read
constexpr int kSignalRelease = 998;     // the target while standing before a signal that has cleared

struct Target {
  int speed = 0;
  double distance = 0;  // cm
  int beacon = -1;
  int kind = 0;
};

struct Patterns {
  int p1 = kNone;
  int p2 = kNone;
};

// The patterns without a beacon: the line's fifth "[Speed_Signal]" speed (or its last, on a shorter list), or
// the section speed of the station the train has left.
Patterns defaultPatterns(const Drive& drive) {
  const data::RouteData& r = drive.route;
  std::optional<int> line = signalSpeed(drive, 4);
  if (!line) line = signalSpeed(drive, std::min(r.signalSpeedCount, data::kSignalSpeedCapacity) - 1);
  Patterns p;
  p.p1 = line.value_or(kNone);
  p.p2 = p.p1 - 5;
  const int stations = std::min(r.stationCount, data::kStationCapacity);
  const double position = drive.state.position;
  for (int i = 0; i + 1 < stations; ++i) {
    const data::StationRow& here = r.stations[static_cast<std::size_t>(i)];
    if (static_cast<double>(here.position) <= position &&
        position < static_cast<double>(r.stations[static_cast<std::size_t>(i) + 1].position)) {
      p.p1 = here.sectionSpeed + 5;
      p.p2 = here.sectionSpeed;
    }
  }
  return p;
}

// The first beacon within reach that asks something of the train.
Target searchBeacons(const Drive& drive, const Patterns& defaults) {
  const data::RouteData& r = drive.route;
  const TrainState& s = drive.state;
  Target found{defaults.p1 - 5, 0, -1, 0};
  const int n = std::min(r.atsBeaconCount, data::kAtsBeaconCapacity);
  // The beacons are sorted by position: those behind the train only give the defaults again.
  const auto* first =
      std::lower_bound(r.atsBeacons.data(), r.atsBeacons.data() + n, s.position,
                       [](const data::AtsBeacon& b, double p) { return static_cast<double>(b.position) < p; });
  for (int i = static_cast<int>(first - r.atsBeacons.data()); i < n; ++i) {
    const data::AtsBeacon& b = r.atsBeacons[static_cast<std::size_t>(i)];
    const double d = static_cast<double>(b.position) - s.position;
    if (d < 0 || d >= kSearchReach) {
      found = {defaults.p1 - 5, 0, -1, 0};
      continue;
    }
    std::optional<int> speed;
    if (b.kind == 2 && b.signalIndex >= 0 && b.signalIndex < std::min(r.signalCount, data::kSignalCapacity)) {
      const int aspect = drive.line.signals[static_cast<std::size_t>(b.signalIndex)].aspect;
      if (isRealSignal(drive, b.signalIndex) && aspect == 0) {
        speed = b.speed;
      } else if (aspect != 0 && core::nearest(s.speed) == 0 && s.atspState == 1) {
        speed = kSignalRelease;
      }
    } else if (b.kind == 3 && b.stationIndex >= 0 &&
               b.stationIndex < std::min(r.stationCount, data::kStationCapacity)) {
      if (s.speed != 0 && drive.line.stations[static_cast<std::size_t>(b.stationIndex)].served == 0) speed = b.speed;
    } else if (b.kind == 1) {
      speed = b.speed + 10;
    }
    if (speed) return {*speed, d, i, b.kind};
  }
  return found;
}

// A braking curve reaching `target` `margin` metres before the beacon, at 80 % of the train's rate less one
// second of it.
int curve(double target, double beta, double metres, double margin) {
  if (metres <= margin) return static_cast<int>(target);
  const double v = std::sqrt(std::max(0.0, target * target + 5.76 * beta * (metres - margin))) - beta;
  return core::saturate32(core::even(v));
}

// Service braking latched or released; the pattern lamps of each state.
void enterState(Drive& drive, int state, int previous) {
  TrainState& s = drive.state;
  const ProtectionSprites& ids = protectionSprites(drive);
  const int atc = drive.vehicle.soundAtc;
  if (state == 1) {
    drive.sounds.play_once(atc);
    showSprite(drive, ids.lampAtsp1, true);
    showSprite(drive, ids.lampAtsp2, false);
  }
  if (previous < 2 && state >= 2) {
    drive.sounds.play_once(atc);
    s.atsBrakeLatched = 1;
    restartBrakeDelays(drive);
    showSprite(drive, ids.lampAtsp1, true);
    showSprite(drive, ids.lampAtsp2, true);
  }
  if (state == 0) {
    drive.sounds.play_once(atc);
    s.atsBrakeLatched = 0;
    restartBrakeDelays(drive);
    showSprite(drive, ids.lampAtsp1, false);
    showSprite(drive, ids.lampAtsp2, false);
  }
  drive.masconupdate();
}

}  // namespace

void atsPStep(Drive& drive) {
  TrainState& s = drive.state;
  if (drive.vehicle.atsType != 1 || drive.control.atsOn == 0) {
    s.atspTarget = kNone;
    s.atspDistance = 0;
    s.atspBeacon = -1;
    return;
  }
  Patterns p = defaultPatterns(drive);
  const Target t = searchBeacons(drive, p);
  if (t.speed < kNone && t.distance > 0) {
    const double beta = drive.vehicle.brakeRate[0].toDouble();
    const double metres = t.distance / 100;
    p.p1 = curve(t.speed, beta, metres, 10);
    p.p2 = curve(t.speed, beta, metres, 50);
    if (t.kind == 2) p.p1 = std::max(p.p1, 10);
    if (t.kind == 3) p.p1 = std::max(p.p1, 1);
  }

  int state = s.atspState;
  const bool latched = s.atsBrakeLatched != 0;
  const double v = s.speed;
  if (t.speed < 16 && v > t.speed && v > p.p1) {
    state = 3;
  } else if (t.speed >= 16 && v > t.speed && v > p.p1) {
    state = 2;
  } else if (!latched && v >= p.p2 - 0.5) {
    state = 1;
  } else if (t.speed != kSignalRelease) {
    if (state == 2 && t.speed >= 15 && core::nearest(v) < t.speed - 10) state = 0;
    if (!latched) state = 0;
  } else if (v != 0 && t.distance < 1500) {
    state = 0;
  }

  s.atspTarget = t.speed;
  s.atspDistance = t.distance;
  s.atspBeacon = t.beacon;
  s.atspP1 = p.p1;
  s.atspP2 = p.p2;
  const int previous = s.atspPrevState;
  s.atspState = state;
  if (state != previous) enterState(drive, state, previous);
  s.atspPrevState = state;
}

}  // namespace vesk::sim
