// Words for the announcements and call-outs: espeak-ng's Japanese voice reading kana, or, where espeak-ng cannot
// be run, a tone sequence standing in for the phrase.
#pragma once

#include <optional>
#include <string>

#include "demo_line/sound_dsp.h"

namespace vesk::demo {

// The phrase as espeak-ng ("espeak-ng" found on the PATH) speaks it, at kRate and trimmed of its silent ends;
// nothing when it cannot be run or says nothing. Safe to call from several threads.
std::optional<dsp::Samples> speakJapanese(const std::string& kana);

// A phrase as a tone sequence: a short tone per character pitched from it, pauses at spaces and punctuation.
dsp::Samples tonePhrase(const std::string& kana);

}  // namespace vesk::demo
