// The cab's signalling sounds: ATS and ATC bells, chimes and beeps, the vigilance ringer, buzzers, the horns and
// the whistle.
#pragma once

#include <optional>
#include <string>

#include "demo_line/sound_dsp.h"

namespace vesk::demo {

// The sound named by its file stem ("ats_bell", "horn" ...), or nothing when it is not one of these. A diesel
// railcar (`diesel`) has an air horn, an electric train an electric one.
std::optional<dsp::Sound> signalSound(const std::string& stem, bool diesel);

}  // namespace vesk::demo
