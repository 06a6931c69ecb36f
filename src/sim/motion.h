// The control step's motion: the reverser applied to the tractive force, and the advance of the video frame,
// the position and the clock.
#pragma once

#include <cstdint>
#include <optional>

#include "data/route_data.h"

namespace vesk::sim {

class Drive;

// Neutral gives no force; backward reverses it.
void applyReverser(Drive& drive);
// Frame, recorded speed (with re-synchronisation of the position at "[SpeedUnit]" row changes), position,
// distance to the stop, clock, and the debugging auto-run.
void advancePosition(Drive& drive);

struct FrameSpeed {
  int row = 0;  // the "[SpeedUnit]" row holding the frame
  std::int32_t speed = 0;
};
// The video's recorded speed at a frame: the row whose [frameFrom, frameTo) holds it, interpolated linearly.
std::optional<FrameSpeed> lookUpFrameSpeed(const data::RouteData& route, std::int32_t frame);

}  // namespace vesk::sim
