#include "sim/sound_levels.h"

#include <algorithm>
#include <cmath>

#include "core/rounding.h"

namespace vesk::sim {
namespace {

template <class Round> int logVolumeBy(double factor, double argument, Round round) {
  constexpr int kSilent = media::SoundBank::kSilent;
  if (!(argument > 0) || !std::isfinite(argument)) return kSilent;
  const std::int64_t v = round(factor * std::log10(argument));
  return core::saturate32(std::max<std::int64_t>(v, kSilent));
}

}  // namespace

int logVolume(double factor, double argument) { return logVolumeBy(factor, argument, core::even); }

int logVolumeNearest(double factor, double argument) { return logVolumeBy(factor, argument, core::nearest); }

double alongLine(double x, double x0, double y0, double x1, double y1) {
  if (x1 == x0) return y0;
  return y0 + (x - x0) * (y1 - y0) / (x1 - x0);
}

void loopWhenSilent(media::SoundBank& bank, int channel) {
  if (!bank.is_playing(channel)) bank.play_loop(channel);
}

void stopWhenPlaying(media::SoundBank& bank, int channel) {
  if (bank.is_playing(channel)) bank.stop(channel);
}

void playAfresh(media::SoundBank& bank, int channel) {
  bank.stop(channel);
  bank.play_once(channel);
}

void sizeRows(std::vector<double>& values, int rows) {
  const auto n = static_cast<std::size_t>(std::max(rows, 0));
  if (values.size() != n) values.resize(n, 0.0);
}

}  // namespace vesk::sim
