// FrameLoop: what one cycle of the driving window's frame loop does, decided from a snapshot of the drive: whether
// to draw at all (not while paused, not while the train is held at the barrier), which video to have open, which
// picture of it to show (asked for only when the frame position changes, and never outside the video), and the
// closing fade. The window carries the decisions out; the loop keeps what is on screen.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "sim/drive_snapshot.h"

namespace vesk::present {

struct FramePlan {
  bool draw = false;                    // compose and show a picture this cycle
  std::optional<std::int64_t> picture;  // the video picture to show; none keeps the one on screen
  int direction = 1;                    // the direction the pictures will be wanted in next (read-ahead)
  int fadeLevel = 0;                    // the closing fade to draw (0 none .. 256)
  bool closeWindow = false;             // the fade has ended: close once this picture is shown
};

class FrameLoop {
 public:
  // `movieStopFrame`: the route's first "[MovieStop]" frame, none when the route has no barrier.
  explicit FrameLoop(std::optional<std::int32_t> movieStopFrame);

  // First in each cycle: the video the drive shows when it is not the one open, a side video's name or empty for
  // the route's. The caller opens it and tells videoOpened().
  std::optional<std::string> videoToOpen(const sim::DriveSnapshot& shot);
  // The video has been opened, with this many pictures (0 when it could not be opened).
  void videoOpened(std::int64_t pictures);
  // Then the cycle itself. `running`: the drive is not paused.
  FramePlan plan(const sim::DriveSnapshot& shot, bool running);
  // The picture the last plan asked for is on screen now (the window calls this once the reader has it).
  void pictureShown() { lastDrawnFrame_ = wantedFrame_; }
  // Draws the current frame's picture again on the next cycle (after a pause, a jump to a station).
  void invalidate() { lastDrawnFrame_ = -1; }
  // The back button: the view darkens over the next cycles and the window closes.
  void startFade() {
    if (fadeLevel_ == 0) fadeLevel_ = 1;
  }
  bool fading() const { return fadeLevel_ > 0; }
  std::int32_t lastDrawnFrame() const { return lastDrawnFrame_; }

 private:
  bool heldAtBarrier(const sim::DriveSnapshot& shot) const;

  std::optional<std::int32_t> movieStopFrame_;
  std::optional<std::string> openVideo_;  // none until the first cycle opens the route video
  std::int64_t videoPictures_ = 0;
  std::int32_t lastDrawnFrame_ = -1;
  std::int32_t wantedFrame_ = -1;  // the frame position of the picture asked for
  int fadeLevel_ = 0;
};

}  // namespace vesk::present
