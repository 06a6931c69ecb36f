// What the tick's sound rules share: logarithmic volumes, straight-line shaping, and the channel moves
// "loop when silent", "stop when playing" and "start again once".
#pragma once

#include <cstdint>
#include <limits>
#include <vector>

#include "media/sound_bank.h"

namespace vesk::sim {

// factor x log10(argument) in hundredths of a decibel, halves to even (or away from zero with `nearest`). A
// logarithm has no value at 0: an argument of 0 or less (or not a number) is silence, and nothing is quieter.
int logVolume(double factor, double argument);
int logVolumeNearest(double factor, double argument);

// The value at x on the line through (x0, y0) and (x1, y1); y0 when the two x are equal.
double alongLine(double x, double x0, double y0, double x1, double y1);

// The channel of environment sound n (after the D running sounds); a sum beyond int names no channel (-1).
inline int environmentChannel(int driveSoundCount, int n) {
  const std::int64_t channel = std::int64_t{driveSoundCount} + n;
  const bool fits = channel >= std::numeric_limits<int>::min() && channel <= std::numeric_limits<int>::max();
  return fits ? static_cast<int>(channel) : -1;
}

void loopWhenSilent(media::SoundBank& bank, int channel);
void stopWhenPlaying(media::SoundBank& bank, int channel);
// Stops the channel and plays it once from the start.
void playAfresh(media::SoundBank& bank, int channel);

// Per-row values sized to the rows the vehicle gives (new rows start at 0).
void sizeRows(std::vector<double>& values, int rows);

}  // namespace vesk::sim
