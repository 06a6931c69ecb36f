// What a jump of the train to another place of the line resets, shared by the "Move" menu's jump to a station and
// the restore of a saved state: what the run passed and played belongs to the place the train has left.
#pragma once

#include <cstdint>

namespace vesk::sim {

class Drive;

// Forgets what this run passed, played and has pending, silences every sound channel but the first, and ends a
// side video (the route video shows again).
void leaveCurrentPlace(Drive& drive);
// The train's frame, with the frame advance started afresh from the recorded speed there.
void placeAtFrame(Drive& drive, std::int32_t frame);
// Signal, speed-limit and ATS state back to none, unless a signal's or a speed limit's section holds the frame
// (there the tick carries on with what it showed).
void resetProtectionOutsideSections(Drive& drive);
// Power handle and power notch 0; brake handle, brake notch and straight-air notch at `brakeNotch`, in effect at
// once.
void setHandlesInEffect(Drive& drive, std::int32_t brakeNotch);

}  // namespace vesk::sim
