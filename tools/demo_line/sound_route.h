// Sounds of the line and its stations: the platform's ambience, the level crossing bell, a steel bridge and a
// tunnel (all looped); the chime before an announcement and the departure melody; the title screen's jingle and
// start chime.
#pragma once

#include <optional>
#include <string>

#include "demo_line/sound_dsp.h"

namespace vesk::demo {

// A route sound without words by its file stem ("platform", "crossing" ...), or nothing.
std::optional<dsp::Sound> routeSound(const std::string& stem);
// A title screen sound by its file stem ("28803" the jingle, "start" the chime), or nothing.
std::optional<dsp::Sound> titleSound(const std::string& stem);

// The two-note chime an announcement begins with (about 1.5 s, peak -6 dBFS).
dsp::Samples announcementChime();
// The departure melody played before "the doors are closing" (8 s, peak -6 dBFS).
dsp::Samples departureMelody();

}  // namespace vesk::demo
