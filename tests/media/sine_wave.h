// Test waves made in memory: a sine tone of a given frequency, amplitude (fraction of full scale) and starting
// phase (radians).
#pragma once

#include <cmath>
#include <memory>
#include <numbers>

#include "media/wave.h"

namespace vesk::test {

inline std::shared_ptr<const media::Wave> sineWave(int rate, int frames, double hz, double amplitude = 0.25,
                                                   int channels = 1, double phase = 0) {
  auto wave = std::make_shared<media::Wave>();
  wave->sampleRate = rate;
  wave->channels = channels;
  wave->frames = frames;
  wave->samples.resize(static_cast<std::size_t>(frames) * static_cast<std::size_t>(channels));
  for (int f = 0; f < frames; ++f) {
    const double value = amplitude * 32767.0 * std::sin(2.0 * std::numbers::pi * hz * f / rate + phase);
    for (int c = 0; c < channels; ++c) {
      wave->samples[static_cast<std::size_t>(f) * static_cast<std::size_t>(channels) + static_cast<std::size_t>(c)] =
          static_cast<std::int16_t>(std::lround(value));
    }
  }
  return wave;
}

}  // namespace vesk::test
