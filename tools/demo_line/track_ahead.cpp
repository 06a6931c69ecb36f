#include "demo_line/track_ahead.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vesk::demo {
namespace {

// The camera: 2.4 m above the rail head, its axis a little above the picture's middle.
constexpr double kFocal = kFocalLength;
constexpr double kCentreX = kViewWidth / 2.0;
constexpr double kCentreY = 200;
constexpr double kEyeHeight = 2.4;
constexpr double kNearest = 1.0;        // the nearest distance drawn; the picture's bottom edge is about 6 m ahead
constexpr double kHalfCabLength = 7.0;  // the cab pitches with the chord between its bogies

double overlap(double a, double b, double from, double to) {
  return std::max(0.0, std::min(b, to) - std::max(a, from));
}

}  // namespace

bool seenFromUpCab(const Line& line) {
  const Line& down = demoLine();
  return line.stations.size() >= 2 && down.stations.size() >= 2 &&
         line.stations.front().name == down.stations.back().name &&
         line.stations.back().name == down.stations.front().name;
}

double TrackAhead::curvatureAt(double position) const {
  double k = 0;
  for (const Curve& c : line_.curves) {
    if (position >= c.from && position < c.to) k += c.curvature;
  }
  return up_ ? -k : k;
}

double TrackAhead::gradientAt(double position) const {
  double g = 0;
  for (const Gradient& r : line_.gradients) {
    if (position >= r.from && position < r.to) g += r.permil;
  }
  return g;
}

TrackAhead::TrackAhead(const Line& line, double position, double distance)
    : line_(line), up_(seenFromUpCab(line)), distance_(distance) {
  // Turning (radians, clockwise as the cab sees it) and rising (metres) between two positions, exactly.
  auto turn = [&](double a, double b) {
    double t = 0;
    for (const Curve& c : line_.curves) t += c.curvature * overlap(a, b, c.from, c.to);
    return up_ ? -t : t;
  };
  auto rise = [&](double a, double b) {
    double r = 0;
    for (const Gradient& g : line_.gradients) r += g.permil / 1000 * overlap(a, b, g.from, g.to);
    return r;
  };
  const double pitch = rise(position - kHalfCabLength, position + kHalfCabLength) / (2 * kHalfCabLength);
  horizonY_ = kCentreY + kFocal * pitch;
  heading_ = turn(0, position) + (up_ ? std::numbers::pi : 0);

  for (double s = kNearest; s < distance;) {
    sampleS_.push_back(s);
    s += s < 10 ? 0.5 : s < 30 ? 1.0 : s < 80 ? 2.5 : s < 200 ? 5.0 : 10.0;
  }
  sampleS_.push_back(distance);

  double x = 0;
  double z = 0;
  double previous = 0;
  for (double s : sampleS_) {
    const double mid = turn(position, position + (previous + s) / 2);
    x += std::sin(mid) * (s - previous);
    z += std::cos(mid) * (s - previous);
    x_.push_back(x);
    z_.push_back(z);
    y_.push_back(rise(position, position + s) - pitch * s);
    course_.push_back(turn(position, position + s));
    previous = s;
  }
}

CameraPoint TrackAhead::at(double s, double side, double height) const {
  double x = 0, y = 0, z = 0, course = 0;
  if (s <= sampleS_.front()) {
    // Near the cab the track runs straight ahead of the camera.
    const double f = s / sampleS_.front();
    x = x_.front() * f;
    y = y_.front() * f;
    z = z_.front() * f;
    course = course_.front() * f;
  } else if (s >= sampleS_.back()) {
    const double beyond = s - sampleS_.back();
    course = course_.back();
    x = x_.back() + std::sin(course) * beyond;
    y = y_.back();
    z = z_.back() + std::cos(course) * beyond;
  } else {
    const auto next = std::upper_bound(sampleS_.begin(), sampleS_.end(), s);
    const auto i = static_cast<std::size_t>(next - sampleS_.begin());
    const double f = (s - sampleS_[i - 1]) / (sampleS_[i] - sampleS_[i - 1]);
    auto mix = [&](const std::vector<double>& v) { return v[i - 1] + (v[i] - v[i - 1]) * f; };
    x = mix(x_);
    y = mix(y_);
    z = mix(z_);
    course = mix(course_);
  }
  return {x + side * std::cos(course), y + height, z - side * std::sin(course)};
}

QPointF TrackAhead::project(const CameraPoint& p) {
  const double z = std::max(p.z, 0.05);
  return {kCentreX + kFocal * p.x / z, kCentreY + kFocal * (kEyeHeight - p.y) / z};
}

double TrackAhead::scaleAt(double z) { return kFocal / std::max(z, 0.05); }

}  // namespace vesk::demo
