#include "app/sound_bank_factory.h"

#include "media/virtual_sound_bank.h"

namespace vesk::app {

std::unique_ptr<media::SoundBank> makeSoundBank(std::function<std::int64_t()> virtualNowMs) {
  // Until the device bank is ready the window's sounds are kept in time but not heard.
  auto bank = std::make_unique<media::VirtualSoundBank>(std::move(virtualNowMs));
  bank->setRecording(false);
  return bank;
}

}  // namespace vesk::app
