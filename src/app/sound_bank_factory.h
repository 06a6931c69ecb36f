// The sound bank the driving window plays through: one place to choose it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "media/sound_bank.h"

namespace vesk::app {

// Makes the bank of a drive. `virtualNowMs` is the drive's virtual time, for a bank that keeps time by it instead of
// by a device.
using SoundBankFactory =
    std::function<std::unique_ptr<media::SoundBank>(const std::function<std::int64_t()>& virtualNowMs)>;

// The window's own: the output device through OpenAL Soft (silent, and the drive going on, without a device).
std::unique_ptr<media::SoundBank> makeSoundBank(const std::function<std::int64_t()>& virtualNowMs);
// A bank without a device that keeps time by the drive (tests; the headless runner's kind).
std::unique_ptr<media::SoundBank> makeVirtualSoundBank(const std::function<std::int64_t()>& virtualNowMs);

}  // namespace vesk::app
