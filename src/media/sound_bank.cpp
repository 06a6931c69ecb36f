#include "media/sound_bank.h"

#include <cmath>

namespace vesk::media {

int playbackRateHz(int recordedRate, double factor) {
  constexpr double kMinRate = 100;
  constexpr double kMaxRate = 200000;
  double hz = std::trunc(recordedRate * factor);
  if (std::isnan(hz) || hz < kMinRate) hz = kMinRate;
  if (hz > kMaxRate) hz = kMaxRate;
  return static_cast<int>(hz);
}

double volumeToGain(int hundredthsOfDb) {
  if (hundredthsOfDb <= SoundBank::kSilent) return 0.0;
  return std::pow(10.0, hundredthsOfDb / 2000.0);
}

}  // namespace vesk::media
