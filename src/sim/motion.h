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
// Moves a frame by the speed summed over control steps: one frame per recorded km/h (`frameSpeed`), so at 30
// steps a second the video plays at (speed / recorded speed) x 30 frames a second. The train and the preceding
// train both move this way.
void advanceFrame(double speed, std::int32_t frameSpeed, std::int32_t& frame, std::int32_t& accumulator,
                  std::int32_t& remainder);

// The video's recorded speed at a frame: the row whose [frameFrom, frameTo) holds it, interpolated linearly.
std::optional<FrameSpeed> lookUpFrameSpeed(const data::RouteData& route, std::int32_t frame);
// The same, looking first at row `hint` (the row of the previous lookup) and the row after it: the same answer on
// a route whose rows do not overlap, without walking the table.
std::optional<FrameSpeed> lookUpFrameSpeed(const data::RouteData& route, std::int32_t frame, int hint);

}  // namespace vesk::sim
