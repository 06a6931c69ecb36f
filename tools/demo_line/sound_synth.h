// Synthesizes the demo pack's sounds (sound_catalog.h) as WAVE files through libsndfile: 22 050 Hz, 16-bit,
// mono. Looped sounds are made to loop without a click; voiced sounds are spoken by espeak-ng's Japanese voice
// from their kana.
#pragma once

#include <filesystem>

#include "demo_line/sound_catalog.h"

namespace vesk::demo {

// Writes one sound under `root` (its file name is relative to it, '\' separating folders).
bool writeSound(const std::filesystem::path& root, const SoundSpec& sound);
// Writes every sound of allSounds().
bool writeSounds(const std::filesystem::path& root);

}  // namespace vesk::demo
