#include "sim/motion.h"

#include <algorithm>
#include <cmath>

#include "core/rounding.h"
#include "sim/drive.h"
#include "sim/protection.h"
#include "sim/side_video.h"

namespace vesk::sim {

using core::nearest;
using core::saturate32;

void applyReverser(Drive& drive) {
  TrainState& s = drive.state;
  if (drive.control.reverser == 0) s.tractiveForce = {};
  if (drive.control.reverser == -1) s.tractiveForce = -s.tractiveForce;
}

namespace {

// The recorded speed at a frame inside the row, interpolated linearly.
std::int32_t speedInRow(const data::SpeedUnitRow& row, std::int32_t frame) {
  // Multiplied before it is divided: a fraction formed first (130 / 900 x 45) misses an exact half such as 6.5
  // by a hair, and nearest() would then take it down.
  const double speed = row.speedFrom + (row.speedTo - row.speedFrom) * (static_cast<double>(frame) - row.frameFrom) /
                                           (static_cast<double>(row.frameTo) - row.frameFrom);
  return saturate32(nearest(speed));
}

}  // namespace

std::optional<FrameSpeed> lookUpFrameSpeed(const data::RouteData& route, std::int32_t frame) {
  for (int i = 0; i < route.speedUnitCount; ++i) {
    const data::SpeedUnitRow& row = route.speedUnits[static_cast<std::size_t>(i)];
    if (row.frameFrom <= frame && frame < row.frameTo) return FrameSpeed{i, speedInRow(row, frame)};
  }
  return std::nullopt;
}

std::optional<FrameSpeed> lookUpFrameSpeed(const data::RouteData& route, std::int32_t frame, int hint) {
  const int rows = std::min(route.speedUnitCount, data::kSpeedUnitCapacity);
  for (const int i : {hint, hint + 1}) {
    if (i < 0 || i >= rows) continue;
    const data::SpeedUnitRow& row = route.speedUnits[static_cast<std::size_t>(i)];
    if (row.frameFrom <= frame && frame < row.frameTo) return FrameSpeed{i, speedInRow(row, frame)};
  }
  return lookUpFrameSpeed(route, frame);
}

void advanceFrame(double speed, std::int32_t frameSpeed, std::int32_t& frame, std::int32_t& accumulator,
                  std::int32_t& remainder) {
  // |nearest(speed)|: nearest() takes halves away from zero, so it is symmetric.
  accumulator = saturate32(core::addSaturated(accumulator, nearest(std::fabs(speed))));
  std::int64_t frames = 0;
  if (frameSpeed == 0) {
    // Between a lookup that found 0 km/h and the tick that makes it 1.
    frames = 2 * static_cast<std::int64_t>(accumulator);
    accumulator = 0;
  } else if (accumulator >= frameSpeed) {
    frames = accumulator / frameSpeed;
    remainder = saturate32(accumulator - frames * frameSpeed);
    accumulator = remainder;
  }
  if (speed > 0) frame = saturate32(frame + frames);
  if (speed < 0) frame = saturate32(frame - frames);
}

namespace {

// Entering another "[SpeedUnit]" row puts the position where the video says the train is: entering forwards,
// the end of the row before; entering backwards, the end of the row entered.
void updateFrameSpeed(Drive& drive) {
  TrainState& s = drive.state;
  const auto found = lookUpFrameSpeed(drive.route, s.frame);
  if (!found) return;
  s.frameSpeed = found->speed;
  if (found->row == s.speedUnitRow) return;
  if (s.speedUnitRow >= 0) {
    const auto& rows = drive.route.speedUnits;
    if (found->row > s.speedUnitRow) {
      s.position =
          found->row == 0 ? 0.0 : static_cast<double>(rows[static_cast<std::size_t>(found->row - 1)].endDistance);
    } else {
      s.position = static_cast<double>(rows[static_cast<std::size_t>(found->row)].endDistance);
    }
  }
  s.speedUnitRow = found->row;
}

}  // namespace

void advancePosition(Drive& drive) {
  TrainState& s = drive.state;
  advanceFrame(s.speed, s.frameSpeed, s.frame, s.frameAccumulator, s.frameRemainder);
  updateFrameSpeed(drive);
  advancePrecedingTrain(drive);
  s.stepDistance = s.speed == 0 ? 0.0 : s.speed / 36000 * 33333;
  s.position += s.stepDistance;
  s.distanceToStop = s.targetPosition - s.position;
  s.clock = saturate32(static_cast<std::int64_t>(s.clock) + 1);
  if (drive.control.autoRun != 0) s.speed = s.frameSpeed;
  advanceSideFrame(drive);
}

}  // namespace vesk::sim
