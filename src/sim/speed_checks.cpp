// The ATS speed checks: "[SpeedCheck1]" checks the speed once at a point (while its linked signal shows stop, or
// always), "[SpeedCheck2]" all along a section; too fast raises the ATS alarm with its time already run out, so
// that the emergency brake follows in the next tick unless the driver confirms. The cab signal shows the speed
// of the check in force from the vehicle's "[Lamp_signal]" speeds.
#include <algorithm>

#include "sim/drive.h"
#include "sim/protection.h"

namespace vesk::sim {
namespace {

void raiseAlarmNow(Drive& drive) {
  TrainState& s = drive.state;
  s.atsAlarm = 1;
  s.atsConfirmed = 0;
  s.atsAlarmTicks = 10 * drive.vehicle.atsTime;
}

// The cab signal picture that stands for a speed, if the vehicle has one.
std::optional<int> cabSignalPattern(const Drive& drive, int speed) {
  const data::VehicleSpec& v = drive.vehicle;
  const int count = std::min(v.cabSignalSpeedCount, data::kCabSignalSpeedCapacity);
  for (int j = 0; j < count; ++j) {
    if (v.cabSignalSpeeds[static_cast<std::size_t>(j)] == speed) return j;
  }
  return std::nullopt;
}

void checkPoints(Drive& drive) {
  TrainState& s = drive.state;
  const data::RouteData& r = drive.route;
  const int n = std::min(r.speedCheck1Count, data::kSpeedCheckCapacity);
  for (int i = 0; i < n; ++i) {
    std::uint8_t& passed = drive.line.speedChecksPassed[static_cast<std::size_t>(i)];
    const data::SpeedCheck1Row& row = r.speedChecks1[static_cast<std::size_t>(i)];
    if (passed != 0 || !(static_cast<double>(row.position) < s.position)) continue;
    // Each point checks once, when the train passes it, whatever its signal shows then.
    passed = 1;
    if (speedCheckApplies(drive, row.signalLink) && s.speed > row.limit) raiseAlarmNow(drive);
  }
}

}  // namespace

bool speedCheckApplies(const Drive& drive, int signalLink) {
  if (signalLink == 0) return true;
  if (signalLink < 0 || signalLink >= std::min(drive.route.signalCount, data::kSignalCapacity)) return false;
  return drive.line.signals[static_cast<std::size_t>(signalLink)].aspect == 0;
}

void speedCheckStep(Drive& drive) {
  if (drive.control.atsOn == 0) return;
  checkPoints(drive);

  TrainState& s = drive.state;
  const data::RouteData& r = drive.route;
  std::optional<int> pattern;
  const int n = std::min(r.speedCheck2Count, data::kSpeedCheckCapacity);
  for (int i = 0; i < n; ++i) {
    const data::SpeedCheck2Row& row = r.speedChecks2[static_cast<std::size_t>(i)];
    if (!(row.frameFrom < s.frame && s.frame < row.frameTo) || row.limit >= s.atsSpeedCode) continue;
    if (const auto j = cabSignalPattern(drive, row.limit)) pattern = j;
    if (s.speed > row.limit) raiseAlarmNow(drive);
  }
  if (!pattern && s.atsSpeedCode < kNone) pattern = cabSignalPattern(drive, s.atsSpeedCode);
  if (!pattern) s.atsSpeedCode = kNone;
  // With cab signalling the cab signal shows ATC's speeds.
  if (drive.vehicle.atsType == 2) return;
  if (media::Sprite* cab = spriteOf(drive, protectionSprites(drive).cabSignal)) {
    cab->visible = pattern.has_value();
    if (pattern) cab->pattern = *pattern;
  }
}

}  // namespace vesk::sim
