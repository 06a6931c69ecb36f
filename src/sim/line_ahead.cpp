#include "sim/line_ahead.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "data/track_positions.h"
#include "sim/drive.h"
#include "sim/protection.h"

namespace vesk::sim {
namespace {

// A car of a regional train is about 20 m long.
constexpr double kCarLengthCm = 2000;
constexpr double kEndOfLine = std::numeric_limits<double>::max() / 4;

bool overlaps(const SpeedSpan& s, double from, double to) { return s.from <= to && s.to >= from; }

}  // namespace

LineAhead::LineAhead(const Drive& drive) {
  const data::RouteData& r = drive.route;
  trainLengthCm_ = kCarLengthCm * std::max(drive.vehicle.cars, 1);
  if (drive.vehicle.maxSpeed > 0) {
    fixed_.push_back(
        {-kEndOfLine, kEndOfLine, static_cast<double>(drive.vehicle.maxSpeed), SpeedSpan::Source::TopSpeed});
  }
  for (int i = 0; i < std::min(r.speedLimitCount, data::kSpeedLimitCapacity); ++i) {
    const data::SpeedLimitRow& row = r.speedLimits[static_cast<std::size_t>(i)];
    const auto end = data::framePosition(r, row.endFrame);
    const double from = static_cast<double>(row.position);
    const double to = std::max(from, static_cast<double>(end.value_or(row.position))) + trainLengthCm_;
    if (row.limit > 0) fixed_.push_back({from, to, static_cast<double>(row.limit), SpeedSpan::Source::Limit});
  }
  const int stations = std::min(r.stationCount, data::kStationCapacity);
  for (int i = 0; i + 1 < stations; ++i) {
    const data::StationRow& s = r.stations[static_cast<std::size_t>(i)];
    const int speed = s.sectionSpeed;
    if (speed <= 0 || speed >= kNone) continue;
    fixed_.push_back({static_cast<double>(s.position),
                      static_cast<double>(r.stations[static_cast<std::size_t>(i) + 1].position),
                      static_cast<double>(speed), SpeedSpan::Source::Section});
  }
  for (int i = 0; i < std::min(r.signalCount, data::kSignalCapacity); ++i) {
    const auto at = data::framePosition(r, r.signals[static_cast<std::size_t>(i)].visibleTo);
    signalPositions_.push_back(isRealSignal(drive, i) && at ? static_cast<double>(*at) : -1.0);
  }
  for (int i = 0; i < std::min(r.slopeCount, data::kSlopeCapacity); ++i) {
    const data::SlopeRow& row = r.slopes[static_cast<std::size_t>(i)];
    const auto from = data::framePosition(r, row.frameFrom);
    const auto to = data::framePosition(r, row.frameTo);
    if (from && to)
      gradients_.push_back({static_cast<double>(*from), static_cast<double>(*to), row.gradient.toDouble()});
  }
  for (int i = 0; i < std::min(r.speedCheck1Count, data::kSpeedCheckCapacity); ++i) {
    const data::SpeedCheck1Row& row = r.speedChecks1[static_cast<std::size_t>(i)];
    checks_.push_back({static_cast<double>(row.position), static_cast<double>(row.limit), row.signalLink});
  }
}

std::vector<SpeedSpan> LineAhead::spans(const Drive& drive, double from, double to) const {
  std::vector<SpeedSpan> out;
  for (const SpeedSpan& s : fixed_) {
    if (overlaps(s, from, to)) out.push_back(s);
  }
  // A signal's aspect holds from the signal to the next one.
  const int count = static_cast<int>(signalPositions_.size());
  for (int i = 0; i < count; ++i) {
    const double at = signalPositions_[static_cast<std::size_t>(i)];
    if (at < 0) continue;
    double next = kEndOfLine;
    for (int j = i + 1; j < count; ++j) {
      if (signalPositions_[static_cast<std::size_t>(j)] > at) {
        next = signalPositions_[static_cast<std::size_t>(j)];
        break;
      }
    }
    const int aspect = drive.line.signals[static_cast<std::size_t>(i)].aspect;
    const double speed = aspect == 0 ? 0 : signalSpeed(drive, aspect).value_or(kNone);
    const SpeedSpan span{aspect == 0 ? at - kSignalStandOffCm : at, next, speed, SpeedSpan::Source::Signal};
    if (speed < kNone && overlaps(span, from, to)) out.push_back(span);
  }
  for (const Check& c : checks_) {
    // A check linked to a signal only counts while that signal shows stop.
    if (!speedCheckApplies(drive, c.signalLink)) continue;
    const SpeedSpan span{c.position - 100, c.position + 100, c.kmh, SpeedSpan::Source::SpeedCheck};
    if (overlaps(span, from, to)) out.push_back(span);
  }
  return out;
}

double LineAhead::gradientAt(double position) const {
  for (const SpeedSpan& g : gradients_) {
    if (g.from <= position && position < g.to) return g.kmh;
  }
  return 0;
}

double LineAhead::trainGradientAt(double position) const {
  const int cars = static_cast<int>(std::lround(trainLengthCm_ / kCarLengthCm));
  double sum = 0;
  for (int car = 0; car < cars; ++car) sum += gradientAt(position - car * kCarLengthCm);
  return sum / cars;
}

SpeedSpan LineAhead::allowedAt(const Drive& drive, double position) const {
  SpeedSpan best{position, position, static_cast<double>(kNone), SpeedSpan::Source::TopSpeed};
  for (const SpeedSpan& s : spans(drive, position, position)) {
    if (s.kmh < best.kmh) best = s;
  }
  return best;
}

}  // namespace vesk::sim
