// Sounds along the line: the "[Atten]" level factor, the track-side "[Sound]" rows started by the frame (or by a
// low speed within their frames), and the "[Doppler]" sources the train passes by.
#include <algorithm>
#include <bitset>
#include <cmath>
#include <cstdlib>
#include <optional>

#include "core/rounding.h"
#include "sim/drive.h"
#include "sim/sound_levels.h"
#include "sim/sound_select.h"

namespace vesk::sim {
namespace {

// A sound starts within this many frames of its first frame, and a looped one stops within so many of its last.
constexpr std::int64_t kStartReach = 15;
constexpr std::int64_t kEndReach = 10;
// A Doppler source stands 3 m beside the track; sound travels at 1220 km/h.
constexpr double kSourceOffsetCm = 300;
constexpr double kSoundSpeedKmh = 1220;

template <std::size_t N, class Row> int rowsOf(const std::array<Row, N>& /*table*/, int count) {
  return std::clamp(count, 0, static_cast<int>(N));
}

// The factor of the last "[Atten]" row whose frames hold the train strictly between them; 1.0 elsewhere.
double attenuationAt(const data::RouteData& route, std::int32_t frame) {
  double factor = 1.0;
  for (int i = 0; i < rowsOf(route.attenuations, route.attenuationCount); ++i) {
    const data::AttenuationRow& row = route.attenuations[static_cast<std::size_t>(i)];
    if (row.frameFrom < frame && frame < row.frameTo) factor = row.level / 100.0;
  }
  return factor;
}

struct Shaping {
  double rate = 1.0;
  int volume = 0;
};

// Rate and level of a "[Sound]" row at speed v: the rate follows the speed against the row's reference speed
// when its pitch flag is set (a backing train's wheels turn as fast as a forward one's), the level with the
// attenuation factor when its volume flag is 1. A reference speed of 0 or less shapes nothing.
Shaping shapingOf(const data::TrackSoundRow& row, double v, double factor) {
  Shaping s;
  if (row.refSpeed <= 0) return s;
  if (row.pitchFollowsSpeed != 0) s.rate = std::fabs(v) / row.refSpeed;
  if (row.levelFollowsSpeed == 1 && v > 0) s.volume = logVolume(5000, v * factor / row.refSpeed);
  return s;
}

void trackSoundRow(Drive& drive, int k) {
  const data::TrackSoundRow& row = drive.route.trackSounds[static_cast<std::size_t>(k)];
  std::uint8_t& started = drive.line.trackSoundStarted[static_cast<std::size_t>(k)];
  media::SoundBank& bank = drive.sounds;
  const TrainState& s = drive.state;
  const std::int64_t f = s.frame;
  const std::int64_t first = row.frameFrom;
  const std::int64_t last = row.frameTo;
  // Most rows lie far from the train: nothing to do.
  if (f <= std::min(first - kStartReach, last - kEndReach) || f >= std::max(first + kStartReach, last + kEndReach)) {
    return;
  }
  const bool inside = first < f && f < last;
  const bool nearFirst = std::llabs(first - f) < kStartReach;
  const bool nearLast = std::llabs(last - f) < kEndReach;
  const double v = s.speed;
  const int channel = environmentChannel(drive.soundLayout.driveSoundCount, row.sound);

  if (row.triggerKind == 1) {
    // Played once between the frames when the train comes through slowly enough.
    if (inside && started == 0 && core::nearest(v) <= row.refSpeed) {
      playAfresh(bank, channel);
      started = 1;
    }
    return;
  }
  if (row.triggerKind != 0) return;

  if (nearFirst || inside) {
    Shaping shaping = shapingOf(row, v, drive.state.tunnelAttenuation);
    if (inside) {
      // Within the frames a standing train hears nothing of it, and nothing sounds above its recorded level.
      if (v < 1) {
        shaping.volume = media::SoundBank::kSilent;
      } else if (shaping.volume > 0) {
        shaping.volume = 0;
      }
    }
    bank.set_rate(channel, shaping.rate);
    bank.set_volume(channel, shaping.volume);
  }
  if (nearFirst && started == 0 && row.mode >= 0) {
    bank.stop(channel);
    if (row.mode == 0) {
      bank.play_once(channel);
    } else {
      bank.play_loop(channel);
    }
    started = 1;
  }
  if (row.mode >= 1 && started != 0 && nearLast) bank.stop(channel);
}

// The pitch of a source at P heard from x at speed v: raised while approaching, lowered while moving away, as
// recorded when level with it. None when the train would outrun the sound.
std::optional<double> dopplerRate(double x, double p, double v) {
  const double apart = std::fabs(p - x);
  // cos of the angle between the track and the line to the source.
  const double w = apart / std::hypot(apart, kSourceOffsetCm);
  double rate = 1.0;
  if (x < p) rate = kSoundSpeedKmh / (kSoundSpeedKmh - w * v);
  if (x > p) rate = kSoundSpeedKmh / (kSoundSpeedKmh + w * v);
  if (!std::isfinite(rate) || rate <= 0) return std::nullopt;
  return rate;
}

void dopplerSounds(Drive& drive) {
  const data::RouteData& route = drive.route;
  media::SoundBank& bank = drive.sounds;
  const double x = drive.state.position;
  const int rows = rowsOf(route.dopplerSounds, route.dopplerCount);
  bool anyInRange = false;
  for (int i = 0; i < rows; ++i) {
    const data::DopplerRow& row = route.dopplerSounds[static_cast<std::size_t>(i)];
    const double p = static_cast<double>(row.position);
    const double apart = std::fabs(x - p);
    if (!(apart <= row.range)) continue;
    anyInRange = true;
    const int channel = environmentChannel(drive.soundLayout.driveSoundCount, row.sound);
    if (!bank.is_playing(channel) && routeConditionFlag(drive, row.stationFlag)) {
      bank.stop(channel);
      bank.play_loop(channel);
    }
    if (row.plainPitch == 0) {
      if (const auto rate = dopplerRate(x, p, drive.state.speed)) bank.set_rate(channel, *rate);
    }
    // Full level at the source, fading to silence at the edge of its range.
    const double share = row.range > 0 ? (row.range - apart) / row.range : 0.0;
    bank.set_volume(channel, logVolume(2000, share));
  }
  if (anyInRange) return;
  // Each channel once, in the order of the rows, however many sources share it.
  std::bitset<media::SoundBank::kChannelCount> seen;
  for (int i = 0; i < rows; ++i) {
    const int channel =
        environmentChannel(drive.soundLayout.driveSoundCount, route.dopplerSounds[static_cast<std::size_t>(i)].sound);
    if (channel < 0 || channel >= media::SoundBank::kChannelCount || seen.test(static_cast<std::size_t>(channel))) {
      continue;
    }
    seen.set(static_cast<std::size_t>(channel));
    stopWhenPlaying(bank, channel);
  }
}

}  // namespace

bool routeConditionFlag(const Drive& drive, int c) {
  if (c == 0) return true;
  if (c < 0 || c >= drive.route.stationCount || c >= data::kStationCapacity) return false;
  return drive.line.stations[static_cast<std::size_t>(c)].arrived != 0;
}

void routeSoundStep(Drive& drive) {
  drive.state.tunnelAttenuation = attenuationAt(drive.route, drive.state.frame);
  const int rows = rowsOf(drive.route.trackSounds, drive.route.trackSoundCount);
  for (int k = 0; k < rows; ++k) trackSoundRow(drive, k);
  dopplerSounds(drive);
}

}  // namespace vesk::sim
