// What drives the trains: the inverter and DC motors' whines, the diesel engine (idling, under load, starting,
// stopping) and its transmission's whines. The looped ones hold one steady pitch, the "recorded" one the
// simulator plays faster or slower with speed.
#pragma once

#include <optional>
#include <string>

#include "demo_line/sound_dsp.h"

namespace vesk::demo {

// The sound named by its file stem ("motor_low", "engine_idle" ...), or nothing when it is not one of these.
std::optional<dsp::Sound> engineSound(const std::string& stem);

}  // namespace vesk::demo
