#include "sim/line_ends.h"

#include <cstdint>

#include "core/rounding.h"
#include "sim/brake.h"
#include "sim/drive.h"

namespace vesk::sim {
namespace {

// How far beyond the barrier frame (in frames) a train is caught and put back.
constexpr int kBarrierReach = 500;

// The train stops where the line (or the barrier) holds it. The debugging auto-run ends there too: it would set
// the recorded speed again every control step and push the position on while the frame stays put.
void stopDead(Drive& drive) {
  TrainState& s = drive.state;
  s.speed = 0;
  s.frameAccumulator = 0;
  drive.control.powerHandle = 0;
  s.powerNotch = 0;
  drive.control.autoRun = 0;
  drive.globalSoundStop();
}

void stopAtLineEnd(Drive& drive, std::int32_t frame) {
  drive.state.frame = frame;
  stopDead(drive);
  drive.state.engagedGear = 0;
  drive.control.gear = 1;
}

}  // namespace

void lineEndBarriers(Drive& drive) {
  TrainState& s = drive.state;
  if (s.videoMode != 0) return;
  const data::RouteData& route = drive.route;

  // The ends of the line hold whatever the next stop is: below frame 1 going backwards always, past the video's
  // last frame going forwards whenever a video is open.
  const std::int32_t last = drive.lastFramePosition;
  if (s.speed < 0 && s.frame < 1) {
    stopAtLineEnd(drive, 1);
  } else if (last > 0 && s.speed > 0 && s.frame > last) {
    stopAtLineEnd(drive, last);
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
