#include "present/frame_loop.h"

#include "core/rounding.h"

namespace vesk::present {
namespace {

// How far past the barrier (in frames) a train is held there.
constexpr std::int64_t kBarrierReach = 500;
constexpr int kFadeStep = 10;
// Visual effects off: the fade is black at once.
constexpr int kFadeAtOnce = 256;

}  // namespace

FrameLoop::FrameLoop(std::optional<std::int32_t> movieStopFrame) : movieStopFrame_(movieStopFrame) {}

std::optional<std::string> FrameLoop::videoToOpen(const sim::DriveSnapshot& shot) {
  if (shot.videoMode > 2 || openVideo_ == shot.sideVideo) return std::nullopt;
  openVideo_ = shot.sideVideo;
  videoPictures_ = 0;
  return shot.sideVideo;
}

void FrameLoop::videoOpened(std::int64_t pictures) {
  videoPictures_ = pictures;
  lastDrawnFrame_ = -1;
}

bool FrameLoop::heldAtBarrier(const sim::DriveSnapshot& shot) const {
  if (!movieStopFrame_ || shot.videoMode != 0) return false;
  const std::int64_t beyond = std::int64_t{shot.frame} - *movieStopFrame_;
  if (shot.speed > 0 && shot.reversed == 0) return beyond > 0 && beyond < kBarrierReach;
  if (shot.speed < 0 && shot.reversed == 1) return beyond < 0 && -beyond < kBarrierReach;
  return false;
}

FramePlan FrameLoop::plan(const sim::DriveSnapshot& shot, bool running) {
  FramePlan plan;
  // The closing fade goes on while paused or held, so that leaving the drive always ends.
  const bool fading = fadeLevel_ > 0;
  if (!fading && (!running || heldAtBarrier(shot))) return plan;
  plan.draw = true;

  if (shot.videoMode <= 2 && shot.frame >= 0) {
    const bool side = shot.videoMode != 0;
    const std::int32_t position = side ? shot.sideFrame : shot.frame;
    const bool inVideo = side || shot.frame <= shot.lastFramePosition;
    if (inVideo && position != lastDrawnFrame_ && position >= 0) {
      // Positions 2n - 1 and 2n show picture n, whatever the frame factor of the strings says.
      const std::int64_t picture = core::nearest(position / 2.0);
      // A position outside the video keeps the last picture on screen.
      if (picture < videoPictures_) {
        plan.picture = picture;
        wantedFrame_ = position;
      }
    }
    plan.direction = !side && shot.speed < 0 ? -1 : 1;
  }

  if (fading) {
    if (shot.settings.Tunnel == 1) fadeLevel_ = kFadeAtOnce;
    plan.fadeLevel = fadeLevel_;
    fadeLevel_ += kFadeStep;
    if (fadeLevel_ > 255) {
      fadeLevel_ = 0;
      plan.closeWindow = true;
    }
  }
  return plan;
}

}  // namespace vesk::present
