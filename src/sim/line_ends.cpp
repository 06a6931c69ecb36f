#include "sim/line_ends.h"

#include <algorithm>

#include "core/rounding.h"
#include "sim/brake.h"
#include "sim/drive.h"

namespace vesk::sim {
namespace {

// How far beyond the barrier frame (in frames) a train is caught and put back.
constexpr int kBarrierReach = 500;

void stopDead(Drive& drive) {
  TrainState& s = drive.state;
  s.speed = 0;
  s.frameAccumulator = 0;
  drive.control.powerHandle = 0;
  s.powerNotch = 0;
  drive.globalSoundStop();
}

}  // namespace

void lineEndBarriers(Drive& drive) {
  TrainState& s = drive.state;
  if (s.videoMode != 0) return;
  const data::RouteData& route = drive.route;

  // The end of the video, on the way to the last station.
  const bool lastStationNext = route.stationCount > 0 && s.nextStop == route.stationCount - 1;
  const std::int32_t last = drive.lastFramePosition;
  if (last > 0 && lastStationNext && ((s.speed > 0 && s.frame > last) || (s.speed < 0 && s.frame < 1))) {
    s.frame = std::clamp(s.frame, 1, last);
    stopDead(drive);
    s.engagedGear = 0;
    drive.control.gear = 1;
  }

  // The first "[MovieStop]" frame: a train is held there, going forwards, until it has been taken past it the
  // other way; then it is held there going backwards.
  if (route.movieStopCount == 0) return;
  const std::int32_t barrier = route.movieStops[0];
  const std::int64_t beyond = static_cast<std::int64_t>(s.frame) - barrier;
  if (s.reversed == 0 && s.speed > 0 && beyond > 0 && beyond <= kBarrierReach) {
    s.frame = barrier;
    stopDead(drive);
  } else if (s.reversed == 1 && s.speed < 0 && beyond < 0 && -beyond <= kBarrierReach) {
    s.frame = core::saturate32(std::int64_t{barrier} + 1);
    stopDead(drive);
  }
}

void rollBackProtection(Drive& drive) {
  TrainState& s = drive.state;
  if (drive.vehicle.backMode != 1 || drive.control.reverser != 1 || !(s.speed < -5)) return;
  s.emergencyLatched = 1;
  drive.masconupdate();
  // The brake, straight-air and electric-brake delays start again towards the emergency position.
  restartBrakeDelays(drive);
}

}  // namespace vesk::sim
