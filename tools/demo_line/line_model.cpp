#include "demo_line/line_model.h"

#include <algorithm>
#include <cmath>

#include "data/track_positions.h"

namespace vesk::demo {
namespace {

// Driving a recording run: 2.2 km/h/s of acceleration, 2.7 km/h/s of braking, 5 km/h past the stopping marks.
constexpr double kAccel = 2.2;
constexpr double kBrake = 2.7;
constexpr double kStationSpeed = 5;
constexpr double kSampleMetres = 5;

Line makeLine() {
  Line l;
  l.length = 10300;
  l.lineSpeed = 90;
  l.platformBefore = 130;
  l.platformAfter = 20;
  l.stations = {{"青葉台", "あおばだい", 300},
                {"桜川", "さくらがわ", 2700},
                {"大滝", "おおたき", 5100},
                {"北原", "きたはら", 7500},
                {"港町", "みなとまち", 10000}};
  l.tunnels = {{3500, 3950}, {8200, 8650}};
  l.bridges = {{1500, 1620}, {6800, 6880}};
  l.crossings = {1300, 6100, 9600};
  l.gradients = {{1000, 1800, 8},  {2900, 3500, 25}, {3950, 4500, -15},
                 {5600, 6300, 12}, {7800, 8200, 20}, {8650, 9400, -25}};
  l.curves = {{800, 1200, 1.0 / 600},   {2000, 2300, -1.0 / 800}, {3300, 3700, 1.0 / 500},
              {4500, 4800, -1.0 / 700}, {6500, 7000, 1.0 / 1000}, {8800, 9200, -1.0 / 600}};
  l.limits = {{3250, 3960, 60}, {6450, 7050, 75}, {8750, 9250, 45}};
  return l;
}

double mirror(const Line& l, double x) { return l.length - x; }

// The speed limit of the recording run at x (metres along the direction): line speed, permanent limits.
double limitAt(const Line& l, double x) {
  double v = l.lineSpeed;
  for (const SpeedLimit& s : l.limits) {
    if (x >= s.from - 20 && x <= s.to + 60) v = std::min(v, static_cast<double>(s.kmh));
  }
  return v;
}

// The speed of the recording run at each sample point: the least of the limit, the speed reachable by
// accelerating from the stations behind, and the speed from which the train can brake to the next station.
std::vector<double> speedProfile(const Line& l, double start, double end) {
  const int n = static_cast<int>((end - start) / kSampleMetres) + 1;
  std::vector<double> v(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) v[static_cast<std::size_t>(i)] = limitAt(l, start + i * kSampleMetres);
  auto isStop = [&](double x) {
    return std::any_of(l.stations.begin(), l.stations.end(),
                       [&](const Station& s) { return std::fabs(s.at - x) < kSampleMetres / 2; });
  };
  for (int i = 0; i < n; ++i) {
    if (isStop(start + i * kSampleMetres)) v[static_cast<std::size_t>(i)] = kStationSpeed;
  }
  v.front() = kStationSpeed;
  v.back() = kStationSpeed;
  // v^2 = v0^2 + 2 a s, with a in km/h/s and s in metres: (km/h)^2 = 2 * a * 3.6 * s.
  for (int i = 1; i < n; ++i) {
    const double reach = std::sqrt(v[static_cast<std::size_t>(i) - 1] * v[static_cast<std::size_t>(i) - 1] +
                                   2 * kAccel * 3.6 * kSampleMetres);
    v[static_cast<std::size_t>(i)] = std::min(v[static_cast<std::size_t>(i)], reach);
  }
  for (int i = n - 2; i >= 0; --i) {
    const double reach = std::sqrt(v[static_cast<std::size_t>(i) + 1] * v[static_cast<std::size_t>(i) + 1] +
                                   2 * kBrake * 3.6 * kSampleMetres);
    v[static_cast<std::size_t>(i)] = std::min(v[static_cast<std::size_t>(i)], reach);
  }
  return v;
}

}  // namespace

const Line& demoLine() {
  static const Line line = makeLine();
  return line;
}

Line lineInDirection(bool down) {
  const Line& d = demoLine();
  if (down) return d;
  Line u = d;
  u.stations.assign(d.stations.rbegin(), d.stations.rend());
  for (Station& s : u.stations) s.at = mirror(d, s.at);
  auto flip = [&](std::vector<Span>& spans) {
    for (Span& s : spans) s = {mirror(d, s.to), mirror(d, s.from)};
    std::reverse(spans.begin(), spans.end());
  };
  flip(u.tunnels);
  flip(u.bridges);
  for (double& c : u.crossings) c = mirror(d, c);
  std::reverse(u.crossings.begin(), u.crossings.end());
  for (Gradient& g : u.gradients) g = {mirror(d, g.to), mirror(d, g.from), -g.permil};
  std::reverse(u.gradients.begin(), u.gradients.end());
  for (Curve& c : u.curves) c = {mirror(d, c.to), mirror(d, c.from), c.curvature};  // right stays right ahead
  std::reverse(u.curves.begin(), u.curves.end());
  for (SpeedLimit& s : u.limits) s = {mirror(d, s.to), mirror(d, s.from), s.kmh};
  std::reverse(u.limits.begin(), u.limits.end());
  return u;
}

Recording recordingOf(bool down) {
  const Line l = lineInDirection(down);
  // From the first stopping mark to 40 m beyond the last (the buffer stops).
  const double start = l.stations.front().at;
  const double end = l.stations.back().at + 40;
  const std::vector<double> v = speedProfile(l, start, end);
  Recording r;
  r.down = down;
  r.origin = start;
  // The run is made of stretches of constant acceleration (the speed linear in time), which is exactly what a
  // "[SpeedUnit]" row describes: one row per stretch, each ending on an even frame (a whole picture).
  double time = 0;
  int frame = 0;
  std::size_t rowStart = 0;
  auto accelerationOf = [&](std::size_t i) {  // of the sample step i-1 .. i, km/h/s
    return (v[i] * v[i] - v[i - 1] * v[i - 1]) / (2 * 3.6 * kSampleMetres);
  };
  for (std::size_t i = 1; i < v.size(); ++i) {
    time += kSampleMetres / ((v[i - 1] + v[i]) / 2 / 3.6);
    const bool last = i + 1 == v.size();
    if (!last && std::fabs(accelerationOf(i + 1) - accelerationOf(i)) < 0.02) continue;
    const int to = std::max(static_cast<int>(std::lround(time * 15)) * 2, frame + 2);
    r.rows.push_back({frame, to, v[rowStart], v[i], 0});
    frame = to;
    rowStart = i;
  }
  data::RouteData route;
  route.speedUnitCount = static_cast<int>(r.rows.size());
  std::copy(r.rows.begin(), r.rows.end(), route.speedUnits.begin());
  data::computeSpeedUnitDistances(route);
  for (std::size_t i = 0; i < r.rows.size(); ++i) r.rows[i].endDistance = route.speedUnits[i].endDistance;
  return r;
}

double positionAtFrame(const Recording& r, int frame) {
  // The simulator's own conversion, over the rows of this recording.
  static thread_local data::RouteData route;
  route.speedUnitCount = static_cast<int>(r.rows.size());
  std::copy(r.rows.begin(), r.rows.end(), route.speedUnits.begin());
  const auto cm = data::framePosition(route, std::clamp(frame, 0, r.lastFrame()));
  return r.origin + static_cast<double>(cm.value_or(0)) / 100.0;
}

int frameAt(const Recording& r, double metres) {
  int lo = 0;
  int hi = r.lastFrame();
  while (lo < hi) {
    const int mid = (lo + hi) / 2;
    if (positionAtFrame(r, mid) < metres)
      lo = mid + 1;
    else
      hi = mid;
  }
  return lo;
}

}  // namespace vesk::demo
