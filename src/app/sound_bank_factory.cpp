#include "app/sound_bank_factory.h"

#include "media/openal_sound_bank.h"
#include "media/virtual_sound_bank.h"

namespace vesk::app {

std::unique_ptr<media::SoundBank> makeSoundBank(const std::function<std::int64_t()>& /*virtualNowMs*/) {
  return std::make_unique<media::OpenAlSoundBank>();
}

std::unique_ptr<media::SoundBank> makeVirtualSoundBank(const std::function<std::int64_t()>& virtualNowMs) {
  auto bank = std::make_unique<media::VirtualSoundBank>(virtualNowMs);
  bank->setRecording(false);
  return bank;
}

}  // namespace vesk::app
