// Sounds of the cab's machinery: brake air (puffs, hisses, the emergency dump, valve exhaust and feed), the
// controller's clicks, brake shoe squeal, the doors and the air compressor.
#pragma once

#include <optional>
#include <string>

#include "demo_line/sound_dsp.h"

namespace vesk::demo {

// The sound named by its file stem ("brake_step", "cp_run" ...), or nothing when it is not one of these.
std::optional<dsp::Sound> cabSound(const std::string& stem);

}  // namespace vesk::demo
