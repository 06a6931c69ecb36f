// The running sound: one looped recording per 10 km/h band on running-sound channels 0 .. 12, the band's channel
// and the next one playing together and cross-faded by where the speed lies in the band; above 120 km/h the
// last band's recording alone.
#include <algorithm>
#include <cmath>

#include "core/rounding.h"
#include "sim/drive.h"
#include "sim/sound_levels.h"
#include "sim/sound_select.h"

namespace vesk::sim {
namespace {

constexpr int kTopSpeed = 120;
constexpr int kTopChannel = 12;

}  // namespace

void runningSoundStep(Drive& drive) {
  media::SoundBank& bank = drive.sounds;
  // Only the vehicle's running sounds answer to the bands: a vehicle with fewer recordings leaves the channels
  // after them (the line's own sounds) alone.
  const int driveSounds = drive.soundLayout.driveSoundCount;
  const auto running = [&](int channel) { return channel >= 0 && channel < driveSounds; };
  const auto n = static_cast<int>(std::min<std::int64_t>(std::llabs(core::even(drive.state.speed)), 1000));
  const int p = n / 10;
  if (n >= kTopSpeed) {
    if (running(kTopChannel) && !bank.is_playing(kTopChannel)) {
      bank.play_loop(kTopChannel);
      bank.set_volume(kTopChannel, 0);
    }
    return;
  }
  if (n >= 11 && p >= 2 && running(p - 1)) stopWhenPlaying(bank, p - 1);
  if (n < 110 && running(p + 2)) stopWhenPlaying(bank, p + 2);
  if (running(p)) loopWhenSilent(bank, p);
  if (p < 11 && running(p + 1)) loopWhenSilent(bank, p + 1);
  // The lower band fades out as the speed climbs through the band, the upper one in; a share of 0 counts as 1 %.
  const int lower = std::max((10 - n % 10) * 10, 1);
  const int upper = std::max((n % 10) * 10, 1);
  if (p >= 1 && running(p)) bank.set_volume(p, logVolume(2000, lower / 100.0));
  if (running(p + 1)) bank.set_volume(p + 1, logVolume(2000, upper / 100.0));
}

}  // namespace vesk::sim
