// The sound bank the driving window plays through: one place to choose it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "media/sound_bank.h"

namespace vesk::app {

// `virtualNowMs`: the drive's virtual time, for a bank that follows it instead of a device.
std::unique_ptr<media::SoundBank> makeSoundBank(std::function<std::int64_t()> virtualNowMs);

}  // namespace vesk::app
