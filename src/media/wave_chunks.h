// The chunks of a WAVE file that carry sound, taken out of whatever else the file holds.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vesk::media {

// Rebuilds a RIFF (or big-endian RIFX) WAVE file from its "fmt ", "fact" and first "data" chunks, in that order,
// with sizes that match their bodies; a chunk whose size runs past the end of the file keeps the bytes that are
// there. Everything else (lists, cue points, tags) is left out: a sound needs none of it, and a decoder's walk
// through a damaged list can take minutes. Nothing when the bytes are not a WAVE file or lack "fmt " or "data".
std::optional<std::string> soundChunksOfWave(std::string_view bytes);

}  // namespace vesk::media
