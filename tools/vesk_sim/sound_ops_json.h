// The trace's "soundOps": the sound-bank requests since the previous line, in order, as
// ["bind", ch, "wave file name" or null], ["play_once", ch], ["play_loop", ch], ["stop", ch],
// ["set_volume", ch, hundredths of a dB], ["set_rate", ch, factor].
#pragma once

#include "media/recording_sound_bank.h"
#include "vesk_sim/json_writer.h"

namespace vesk::tools {

// Writes the requests as the value of the current key and forgets them. A bank that does not record gives an
// empty list.
void writeSoundOps(JsonWriter& w, media::SoundBank& bank);

}  // namespace vesk::tools
