#include "sim/track.h"

#include <algorithm>
#include <cmath>

#include "core/rounding.h"
#include "sim/drive.h"

namespace vesk::sim {
namespace {

constexpr double kCarLengthCm = 2000;
constexpr double kTunnelRampCm = 1500;

// The gradient at the head of the train: a row's value strictly inside the row, 0 between rows and after the
// last; exactly on a row boundary (and before the first row) it keeps its previous value. The gradient post
// shows the row's number (from 1), or 0 on level track, whenever the value changes.
void lookUpHeadGradient(Drive& drive) {
  TrainState& s = drive.state;
  const data::RouteData& route = drive.route;
  for (int i = 0; i < route.slopeCount; ++i) {
    const data::SlopeRow& row = route.slopes[static_cast<std::size_t>(i)];
    const bool last = i + 1 == route.slopeCount;
    Fixed value;
    int post = 0;
    if (row.frameFrom < s.frame && s.frame < row.frameTo) {
      value = row.gradient;
      post = value == Fixed{} ? 0 : i + 1;
    } else if (!(s.frame > row.frameTo &&
                 (last || s.frame < route.slopes[static_cast<std::size_t>(i) + 1].frameFrom))) {
      continue;
    }
    if (value != s.headGradient) {
      s.headGradient = value;
      if (media::Sprite* sign = drive.sprites.findByPicture("img_unten_slope")) sign->pattern = post;
    }
    return;
  }
}

}  // namespace

void sampleGradient(Drive& drive) {
  TrainState& s = drive.state;
  lookUpHeadGradient(drive);
  if (!(std::fabs(s.position - s.gradientSamplePosition) > kCarLengthCm)) return;
  s.gradientSamplePosition = s.position;
  // One sample per car; a vehicle file without cars counts as one car, and no train has more than 30.
  const int cars = std::clamp(drive.vehicle.cars, 1, kMaxGradientSamples);
  for (int i = cars - 1; i > 0; --i)
    s.gradientSamples[static_cast<std::size_t>(i)] = s.gradientSamples[static_cast<std::size_t>(i - 1)];
  s.gradientSamples[0] = core::saturate32(core::even(s.headGradient.toDouble()));
  std::int64_t sum = 0;
  for (int i = 0; i < cars; ++i) sum += s.gradientSamples[static_cast<std::size_t>(i)];
  s.gradient = Fixed::fromDouble(static_cast<double>(sum) / cars);
}

void updateTunnel(Drive& drive) {
  TrainState& s = drive.state;
  s.inTunnel = 0;
  s.tunnelDepth = 0;
  for (int i = 0; i < drive.route.tunnelCount; ++i) {
    const data::TunnelRow& row = drive.route.tunnels[static_cast<std::size_t>(i)];
    const double from = static_cast<double>(row.positionFrom);
    const double to = static_cast<double>(row.positionTo);
    if (!(from < s.position && s.position < to)) continue;
    s.inTunnel = 1;
    // The darkening ramps in over the first and out over the last 15 m.
    const double nearerEnd = std::min(s.position - from, to - s.position);
    if (nearerEnd >= kTunnelRampCm || row.overlayLevel == 0) {
      s.tunnelDepth = row.overlayLevel;
    } else {
      s.tunnelDepth = core::saturate32(core::even(nearerEnd / (kTunnelRampCm / row.overlayLevel)));
    }
  }
}

}  // namespace vesk::sim
