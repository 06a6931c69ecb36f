// Feeds arbitrary bytes to the WAVE decoder and puts whatever comes out on OpenAL sound channels (OpenAL Soft's
// null output, which mixes in real time without a sound card): bound on two channels that share its buffer,
// played once and looped at some rate and volume, paused and resumed, then let go.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "media/openal_sound_bank.h"
#include "media/wave.h"

namespace {

vesk::media::OpenAlSoundBank* bank = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("ALSOFT_DRIVERS", "null", 1);
  bank = new vesk::media::OpenAlSoundBank({"No Output", [](const std::string&) {}});
  if (!bank->working()) std::abort();
  std::atexit([] { delete bank; });  // closes the device
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto wave = vesk::media::decodeWave(std::string_view(reinterpret_cast<const char*>(data), size));
  // The last byte picks a rate and a volume, so that they vary with the input.
  const int pick = size > 0 ? data[size - 1] : 0;
  bank->bind_wave(0, wave);
  bank->bind_wave(1, wave);
  bank->play_once(0);
  bank->set_rate(0, 0.25 + pick / 64.0);
  bank->set_volume(0, -40 * pick);
  bank->play_loop(1);
  if (pick % 4 == 0) {
    bank->pause_all();
    bank->play_once(1);
    bank->resume_all();
  }
  (void)bank->is_playing(0);
  bank->stop(1);
  bank->bind_wave(1, nullptr);
  // Channel 0 keeps its wave until the next input replaces it, while the mixer plays it.
  return 0;
}
