#include "demo_line/video.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QString>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "demo_line/avi_writer.h"
#include "demo_line/track_ahead.h"

namespace vesk::demo {
namespace {

constexpr double kViewDistance = 400;
constexpr double kNearest = 1.0;
constexpr double kRailCentre = 1.067 / 2 + 0.033;  // the gauge is between the rails' inner faces
constexpr double kSleeperSpacing = 0.6;
constexpr double kSleeperReach = 45;  // beyond this the sleepers blur into the bed
constexpr double kPoleSpacing = 50;
constexpr double kPoleSide = 2.9;  // from the track centre, on the side away from the platforms
constexpr double kContactWire = 5.0;
constexpr double kMessengerWire = 6.3;
constexpr double kPlatformEdge = 1.55;
constexpr double kPlatformWidth = 5.0;
constexpr double kPlatformHeight = 0.92;
constexpr double kGround = -0.9;      // the ground beside the track bed, below the rail head
constexpr double kLiningSpacing = 5;  // a tunnel's lining rings
constexpr double kTunnelLightSpacing = 25;
// Extended things (platforms, canopies, girders) are drawn in pieces no longer than the distance bands below,
// so that the far-to-near order also holds between them and what stands beside them.
constexpr double kBandEdges[] = {1, 4, 8, 12, 18, 25, 35, 50, 70, 100, 140, 200, 280, 400};

// The tunnel's inside, as a cross-section (metres to the right, metres above the rail head).
constexpr int kArchSegments = 12;
constexpr double kArchHalfWidth = 2.6;
constexpr double kArchSpring = 3.2;  // where the vault starts

const QColor kBallast(150, 141, 128);
const QColor kShoulder(112, 104, 92);
const QColor kSleeper(178, 175, 168);
const QColor kRailFoot(96, 74, 58);
const QColor kRailHead(208, 208, 212);
const QColor kGroundFar(140, 152, 118);
const QColor kGroundNear(86, 116, 58);

QColor shade(const QColor& c, double f) {
  auto ch = [&](int v) { return std::clamp(static_cast<int>(std::lround(v * f)), 0, 255); };
  return QColor(ch(c.red()), ch(c.green()), ch(c.blue()));
}

QColor mix(const QColor& a, const QColor& b, double f) {
  auto ch = [&](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * f)); };
  return QColor(ch(a.red(), b.red()), ch(a.green(), b.green()), ch(a.blue(), b.blue()));
}

// Stable pseudo-random numbers for the scenery: the same tree stands in the same place in every picture.
std::uint32_t hash(std::uint32_t x) {
  x ^= x >> 16;
  x *= 0x7feb352dU;
  x ^= x >> 15;
  x *= 0x846ca68bU;
  x ^= x >> 16;
  return x;
}

double unit(std::int64_t k, std::uint32_t salt) {
  return hash(static_cast<std::uint32_t>(k) * 0x9e3779b9U + salt * 0x85ebca6bU) / 4294967296.0;
}

bool within(double x, const Span& s, double margin = 0) { return x >= s.from - margin && x <= s.to + margin; }

// The sky, clouds and the distant hills all round the horizon, in pixels at the camera's focal length.
constexpr int kPanoramaHorizon = 260;  // its row of the horizon

const QImage& panorama() {
  static const QImage image = [] {
    const int width = static_cast<int>(std::lround(2 * std::numbers::pi * kFocalLength));
    QImage im(width, kPanoramaHorizon + 40, QImage::Format_RGB32);
    QPainter p(&im);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, kPanoramaHorizon);
    sky.setColorAt(0, QColor(62, 112, 186));
    sky.setColorAt(0.7, QColor(146, 182, 220));
    sky.setColorAt(1, QColor(200, 214, 226));
    p.fillRect(0, 0, width, kPanoramaHorizon, sky);
    p.fillRect(0, kPanoramaHorizon, width, 40, kGroundFar);
    // Clouds drawn three times over so that they wrap round.
    p.setPen(Qt::NoPen);
    for (int k = 0; k < 26; ++k) {
      const double x = unit(k, 1) * width;
      const double y = 20 + unit(k, 2) * 130;
      const double w = 60 + unit(k, 3) * 160;
      for (int puff = 0; puff < 5; ++puff) {
        const double px = x + (unit(k * 7 + puff, 4) - 0.5) * w;
        const double py = y + (unit(k * 7 + puff, 5) - 0.5) * 14;
        const double r = 12 + unit(k * 7 + puff, 6) * 18;
        p.setBrush(QColor(255, 255, 255, 70 + puff * 12));
        for (int wrap = -1; wrap <= 1; ++wrap) p.drawEllipse(QPointF(px + wrap * width, py), r * 1.8, r);
      }
    }
    // Two ranges of hills, the far one hazy; whole numbers of waves round the circle so that they wrap too.
    auto range = [&](const QColor& colour, auto height) {
      QPolygonF hills;
      // Beyond both ends, so that no antialiased edge shows where the panorama wraps.
      hills << QPointF(-8, kPanoramaHorizon + 2);
      for (int x = -8; x <= width + 8; x += 4) {
        const double a = 2 * std::numbers::pi * x / width;
        hills << QPointF(x, kPanoramaHorizon - height(a));
      }
      hills << QPointF(width + 8, kPanoramaHorizon + 2);
      p.setBrush(colour);
      p.drawPolygon(hills);
    };
    range(QColor(128, 148, 168), [](double a) {
      return 38 + 24 * std::sin(2 * a + 0.5) + 14 * std::sin(5 * a + 1.3) + 7 * std::sin(13 * a + 2.1) +
             3 * std::sin(31 * a);
    });
    range(QColor(92, 122, 84), [](double a) {
      return std::max(3.0, 12 + 11 * std::sin(3 * a + 2) + 8 * std::sin(7 * a + 0.3) + 4 * std::sin(19 * a + 1) +
                               2 * std::sin(43 * a + 0.7));
    });
    return im;
  }();
  return image;
}

class CabView {
 public:
  CabView(const Line& line, double position, QPainter& p)
      : line_(line), position_(position), track_(line, position, kViewDistance), p_(p),
        platformSide_(track_.up() ? 1 : -1) {}

  void draw();

 private:
  struct Item {
    double distance;
    std::function<void()> draw;
  };

  QPointF at(double s, double side, double height) const { return TrackAhead::project(track_.at(s, side, height)); }
  double scale(double s) const { return TrackAhead::scaleAt(track_.at(s, 0, 0).z); }
  bool inTunnel(double s) const {
    return std::any_of(line_.tunnels.begin(), line_.tunnels.end(),
                       [&](const Span& t) { return within(position_ + s, t); });
  }
  // Scenery stands at fixed places on the down direction's map; the up cab sees it from the other side.
  double mapPosition(double s) const { return track_.up() ? line_.length - (position_ + s) : position_ + s; }
  double aheadOf(double mapAt) const { return (track_.up() ? line_.length - mapAt : mapAt) - position_; }
  double sideOf(double mapSide) const { return track_.up() ? -mapSide : mapSide; }
  // Whether scenery `side` metres from the track at `s` would stand on a tunnel's hill, in a river, on a road or on
  // a platform.
  bool inTheWay(double s, double side, double tunnelMargin) const;

  QPolygonF along(double a, double b, double side, double height) const;
  QPolygonF strip(double a, double b, double side1, double height1, double side2, double height2) const;
  QPolygonF crossSection(double s, const std::vector<QPointF>& shape) const;
  QPolygonF arch(double s) const;
  void fill(const QPolygonF& polygon, const QBrush& brush) const;
  void post(double s, double side, double width, double from, double to, const QColor& colour) const;
  void stripedPost(double s, double side, double width, double from, double to) const;
  void lettering(double s, double centre, double top, double size, const std::u32string& text) const;
  void pieces(double from, double to, const std::function<void(double, double)>& piece);

  void background() const;
  QBrush lit(const QColor& colour, bool headlight) const;
  void trackBed(double a, double b, bool headlight) const;
  void rails(double a, double b, bool headlight) const;
  double stagger(double s) const;
  void wires(double a, double b, const QColor& colour) const;
  void fields() const;
  void tunnelInside(double from, double exit) const;

  void addPoles();
  void addStations();
  void addCrossings();
  void addBridges();
  void addTunnelMouth();
  void tunnelCutting(double d) const;
  void addTrees();
  void addHouses();

  const Line& line_;
  double position_;
  TrackAhead track_;
  QPainter& p_;
  double platformSide_;  // -1 left, +1 right, as the cab sees it
  double reach_ = kViewDistance;
  std::vector<Item> items_;
};

// A line along the track from a to b metres ahead, through the course's samples between.
QPolygonF CabView::along(double a, double b, double side, double height) const {
  const std::vector<double>& ss = track_.samples();
  const auto first = std::upper_bound(ss.begin(), ss.end(), a);
  const auto last = std::lower_bound(first, ss.end(), b);
  QPolygonF line;
  line.reserve(last - first + 2);
  line << at(a, side, height);
  for (auto i = first; i != last; ++i) line << at(*i, side, height);
  line << at(b, side, height);
  return line;
}

// A band along the track between two lines beside it.
QPolygonF CabView::strip(double a, double b, double side1, double height1, double side2, double height2) const {
  QPolygonF polygon = along(a, b, side1, height1);
  const QPolygonF other = along(a, b, side2, height2);
  std::copy(other.rbegin(), other.rend(), std::back_inserter(polygon));
  return polygon;
}

QPolygonF CabView::crossSection(double s, const std::vector<QPointF>& shape) const {
  QPolygonF polygon;
  for (const QPointF& q : shape) polygon << at(s, q.x(), q.y());
  return polygon;
}

QPolygonF CabView::arch(double s) const {
  QPolygonF polygon;
  polygon << at(s, -kArchHalfWidth, -0.3);
  for (int k = 0; k <= kArchSegments; ++k) {
    const double a = std::numbers::pi * k / kArchSegments;
    polygon << at(s, -kArchHalfWidth * std::cos(a), kArchSpring + kArchHalfWidth * std::sin(a));
  }
  polygon << at(s, kArchHalfWidth, -0.3);
  return polygon;
}

void CabView::fill(const QPolygonF& polygon, const QBrush& brush) const {
  p_.setPen(Qt::NoPen);
  p_.setBrush(brush);
  p_.drawPolygon(polygon);
}

// A vertical post facing the cab.
void CabView::post(double s, double side, double width, double from, double to, const QColor& colour) const {
  fill(QPolygonF() << at(s, side - width / 2, from) << at(s, side + width / 2, from) << at(s, side + width / 2, to)
                   << at(s, side - width / 2, to),
       colour);
}

// The black-and-yellow bands of a level crossing's posts.
void CabView::stripedPost(double s, double side, double width, double from, double to) const {
  constexpr double kBand = 0.25;
  int k = 0;
  for (double h = from; h < to; h += kBand, ++k) {
    post(s, side, width, h, std::min(to, h + kBand), k % 2 ? QColor(24, 24, 24) : QColor(238, 196, 20));
  }
}

void CabView::pieces(double from, double to, const std::function<void(double, double)>& piece) {
  from = std::max(from, kNearest);
  to = std::min(to, reach_);
  for (std::size_t i = 0; i + 1 < std::size(kBandEdges); ++i) {
    const double a = std::max(from, kBandEdges[i]);
    const double b = std::min(to, kBandEdges[i + 1]);
    // Each piece reaches a little into the nearer band, which is drawn over it, so no seam shows between them.
    const double overlapped = std::max(from, a - 0.5 * (b - a));
    if (a < b) items_.push_back({b + 1e-3, [=] { piece(overlapped, b); }});
  }
}

bool CabView::inTheWay(double s, double side, double tunnelMargin) const {
  const double x = position_ + s;
  auto platform = [&](const Station& st) {
    return side * platformSide_ > 0 && std::abs(side) < 14 &&
           within(x, {st.at - line_.platformBefore, st.at + line_.platformAfter}, 8);
  };
  return std::any_of(line_.tunnels.begin(), line_.tunnels.end(),
                     [&](const Span& t) { return within(x, t, tunnelMargin); }) ||
         std::any_of(line_.bridges.begin(), line_.bridges.end(), [&](const Span& b) { return within(x, b, 6); }) ||
         std::any_of(line_.crossings.begin(), line_.crossings.end(), [&](double c) { return std::abs(x - c) < 8; }) ||
         std::any_of(line_.stations.begin(), line_.stations.end(), platform);
}

// Fields beside the line lie flat and pass by with the train.
void CabView::fields() const {
  constexpr double kSlot = 30;
  constexpr double kFieldReach = 220;
  const double lo = std::min(mapPosition(kNearest), mapPosition(std::min(reach_, kFieldReach)));
  const double hi = std::max(mapPosition(kNearest), mapPosition(std::min(reach_, kFieldReach)));
  for (auto k = static_cast<std::int64_t>(std::floor(lo / kSlot)) - 1; k <= static_cast<std::int64_t>(hi / kSlot);
       ++k) {
    for (int mapSide : {-1, 1}) {
      const std::uint32_t salt = mapSide > 0 ? 500 : 600;
      if (unit(k, salt) > 0.6) continue;
      const double mapFrom = k * kSlot + unit(k, salt + 1) * 4;
      const double length = 16 + unit(k, salt + 2) * 10;
      const double near = aheadOf(track_.up() ? mapFrom + length : mapFrom);
      const double side = sideOf(mapSide) * (4.5 + unit(k, salt + 3) * 6);
      const double width = 10 + unit(k, salt + 4) * 30;
      const double a = std::max(near, 3.0);
      const double b = std::min({near + length, reach_, kFieldReach});
      if (a >= b || inTheWay(a, side, 50) || inTheWay(b, side, 50)) continue;
      const QColor colour = mix(QColor(96, 130, 62), QColor(150, 156, 84), unit(k, salt + 5));
      fill(strip(a, b, side, kGround, side + (side > 0 ? width : -width), kGround), colour);
    }
  }
}

void CabView::background() const {
  const QImage& sky = panorama();
  const int horizon = static_cast<int>(std::lround(track_.horizonY()));
  const int width = sky.width();
  // The picture's left edge looks half a picture width to the left of the heading.
  int left = static_cast<int>(std::lround(track_.heading() * kFocalLength)) - kViewWidth / 2;
  left = ((left % width) + width) % width;
  const int top = horizon - kPanoramaHorizon;
  const int first = std::min(kViewWidth, width - left);
  p_.drawImage(QPoint(0, top), sky, QRect(left, 0, first, kPanoramaHorizon + 1));
  if (first < kViewWidth) p_.drawImage(QPoint(first, top), sky, QRect(0, 0, kViewWidth - first, kPanoramaHorizon + 1));
  QLinearGradient ground(0, horizon, 0, kViewHeight);
  ground.setColorAt(0, kGroundFar);
  ground.setColorAt(0.35, mix(kGroundFar, kGroundNear, 0.7));
  ground.setColorAt(1, kGroundNear);
  p_.fillRect(QRectF(0, horizon, kViewWidth, kViewHeight - horizon + 1), ground);
}

// In a tunnel only the headlight lights the track: bright near the cab, fading with distance. The distance
// ahead grows steadily up the picture, so a vertical gradient does it.
QBrush CabView::lit(const QColor& colour, bool headlight) const {
  if (!headlight) return colour;
  constexpr double kStops[] = {4, 8, 15, 30, 60, 120, 240};
  const double nearY = at(kStops[0], 0, -0.2).y();
  const double farY = at(kStops[std::size(kStops) - 1], 0, -0.2).y();
  QLinearGradient gradient(0, farY, 0, nearY);
  for (double s : kStops) {
    const double t = (at(s, 0, -0.2).y() - farY) / std::max(1.0, nearY - farY);
    gradient.setColorAt(std::clamp(t, 0.0, 1.0), shade(colour, 0.05 + 0.75 * 6 / (s + 6)));
  }
  return gradient;
}

// The ballast bed and its sleepers between a and b metres ahead.
void CabView::trackBed(double a, double b, bool headlight) const {
  if (!headlight) {
    // The shoulder slopes down to the ground; a bridge carries the bed on a narrower deck instead.
    std::vector<std::pair<double, double>> open{{a, b}};
    for (const Span& bridge : line_.bridges) {
      const double from = bridge.from - position_;
      const double to = bridge.to - position_;
      if (to <= a || from >= b) continue;
      std::vector<std::pair<double, double>> cut;
      for (const auto& [x, y] : open) {
        if (from > x) cut.push_back({x, std::min(y, from)});
        if (to < y) cut.push_back({std::max(x, to), y});
      }
      open = cut;
      fill(strip(std::max(a, from), std::min(b, to), -1.9, -0.45, 1.9, -0.45), QColor(88, 84, 80));
    }
    for (const auto& [x, y] : open) {
      if (x < y) fill(strip(x, y, -2.8, kGround, 2.8, kGround), kShoulder);
    }
  }
  fill(strip(a, b, -1.6, -0.2, 1.6, -0.2), lit(kBallast, headlight));
  if (b > kSleeperReach) {
    fill(strip(std::max(a, kSleeperReach), b, -1.0, -0.17, 1.0, -0.17), lit(mix(kBallast, kSleeper, 0.45), headlight));
  }
  // Sleepers lie at fixed places along the line, so they stream towards the cab as it moves.
  const double nearest = std::max(a, 5.0);
  const double farthest = std::min(b, kSleeperReach);
  p_.setPen(Qt::NoPen);
  p_.setBrush(lit(kSleeper, headlight));
  for (double k = std::ceil((position_ + nearest) / kSleeperSpacing);; ++k) {
    const double s = k * kSleeperSpacing - position_;
    if (s > farthest) break;
    const QPointF quad[] = {at(s - 0.11, -1.0, -0.17), at(s - 0.11, 1.0, -0.17), at(s + 0.11, 1.0, -0.17),
                            at(s + 0.11, -1.0, -0.17)};
    p_.drawPolygon(quad, 4);
  }
}

void CabView::rails(double a, double b, bool headlight) const {
  for (double side : {-kRailCentre, kRailCentre}) {
    fill(strip(a, b, side - 0.075, -0.14, side + 0.075, -0.14), lit(kRailFoot, headlight));
    fill(strip(a, b, side - 0.034, 0, side + 0.034, 0), lit(kRailHead, headlight));
  }
}

// The contact wire zigzags 0.2 m either side of the centre from pole to pole, to spread the pantograph's wear.
double CabView::stagger(double s) const {
  const double u = (position_ + s) / kPoleSpacing;
  const double k = std::floor(u);
  const double sign = std::fmod(k, 2.0) == 0 ? 1 : -1;
  return 0.2 * sign * (1 - 2 * (u - k));
}

void CabView::wires(double a, double b, const QColor& colour) const {
  if (a >= b) return;
  p_.setBrush(Qt::NoBrush);
  p_.setPen(QPen(colour, 1.2));
  p_.drawPolyline(along(a, b, 0, kMessengerWire));
  std::vector<double> bends{a, b};
  for (double s : track_.samples()) {
    if (s > a && s < b) bends.push_back(s);
  }
  for (double k = std::ceil((position_ + a) / kPoleSpacing); k * kPoleSpacing - position_ < b; ++k) {
    bends.push_back(k * kPoleSpacing - position_);
  }
  std::sort(bends.begin(), bends.end());
  QPolygonF contact;
  for (double s : bends) contact << at(s, stagger(s), kContactWire);
  p_.drawPolyline(contact);
  // Droppers hang the contact wire from the messenger every 5 m.
  p_.setPen(QPen(colour, 1.0));
  for (double k = std::ceil((position_ + std::max(a, 4.0)) / 5);; ++k) {
    const double s = k * 5 - position_;
    if (s > std::min(b, 120.0)) break;
    p_.drawLine(at(s, stagger(s), kContactWire), at(s, 0, kMessengerWire));
  }
}

// The inside of a tunnel from `from` metres ahead to its far mouth at `exit`: lining rings lit by the headlight,
// the lights on the walls, the track, and daylight through the far mouth.
void CabView::tunnelInside(double from, double exit) const {
  auto wall = [](double s, bool joint) {
    const double light = 5 / (s + 5) * (joint ? 0.8 : 1.0);
    return QColor::fromRgbF(0.03 + 0.26 * light, 0.03 + 0.25 * light, 0.035 + 0.23 * light);
  };
  const double end = std::min(exit, 300.0);
  fill(arch(from), wall(from, false));
  int ring = static_cast<int>(std::ceil((position_ + from) / kLiningSpacing));
  for (double s = ring * kLiningSpacing - position_; s < end; s += kLiningSpacing, ++ring) {
    if (s > from) fill(arch(s), wall(s, ring % 2 == 0));
  }
  if (exit <= 300) {
    // Daylight through the far mouth.
    p_.save();
    QPainterPath mouth;
    mouth.addPolygon(arch(exit));
    p_.setClipPath(mouth, Qt::IntersectClip);
    background();
    trackBed(exit, kViewDistance, false);
    rails(exit, kViewDistance, false);
    wires(exit, kViewDistance, QColor(40, 40, 42));
    p_.restore();
  } else {
    fill(arch(end), QColor(6, 6, 7));
  }
  trackBed(from, end, true);
  rails(from, end, true);
  wires(from, std::min(end, 160.0), QColor(70, 70, 70));
  // Lamps on both walls, passing by.
  p_.setPen(Qt::NoPen);
  // Those on the right sit halfway between those on the left.
  for (double k = std::floor((position_ + from) / kTunnelLightSpacing);; ++k) {
    const double s = k * kTunnelLightSpacing - position_;
    if (s >= end) break;
    for (double side : {-1.0, 1.0}) {
      const double lampAt = side < 0 ? s : s + kTunnelLightSpacing / 2;
      if (lampAt >= end || lampAt <= from) continue;
      const QPointF lamp = at(lampAt, side * (kArchHalfWidth - 0.1), 2.6);
      const double r = std::max(0.8, scale(lampAt) * 0.09);
      p_.setBrush(QColor(255, 210, 140, 60));
      p_.drawEllipse(lamp, r * 3, r * 3);
      p_.setBrush(QColor(255, 240, 205));
      p_.drawEllipse(lamp, r, r * 0.7);
    }
  }
}

void CabView::addPoles() {
  const double side = -platformSide_ * kPoleSide;
  for (double k = std::ceil((position_ + 2) / kPoleSpacing);; ++k) {
    const double s = k * kPoleSpacing - position_;
    if (s >= reach_) break;
    if (inTunnel(s)) continue;
    items_.push_back(
        {s, [=, this] {
           const double w = std::max(0.8, scale(s) * 0.07);
           post(s, side, 0.32, kGround, 7.4, QColor(150, 148, 140));
           p_.setPen(QPen(QColor(70, 72, 74), w));
           // The cross arm holding the messenger, the registration arm holding the contact wire.
           p_.drawLine(at(s, side, kMessengerWire + 0.15), at(s, side > 0 ? -0.4 : 0.4, kMessengerWire + 0.15));
           p_.drawLine(at(s, side, kContactWire + 0.5), at(s, stagger(s), kContactWire));
           p_.setPen(QPen(QColor(210, 200, 190), w * 1.5));
           p_.drawLine(at(s, side * 0.85, kMessengerWire + 0.05), at(s, side * 0.85, kMessengerWire + 0.3));
         }});
  }
}

void CabView::addStations() {
  const double e = platformSide_;
  for (const Station& station : line_.stations) {
    const double mark = station.at - position_;
    const double start = mark - line_.platformBefore;
    const double end = mark + line_.platformAfter;
    if (end < kNearest || start > reach_) continue;
    // The platform: a concrete slab along the track with a yellow line near its edge.
    pieces(start, end, [=, this](double a, double b) {
      fill(strip(a, b, e * kPlatformEdge, -0.2, e * kPlatformEdge, kPlatformHeight), QColor(118, 115, 108));
      fill(strip(a, b, e * kPlatformEdge, kPlatformHeight, e * (kPlatformEdge + kPlatformWidth), kPlatformHeight),
           QColor(174, 172, 166));
      fill(strip(a, b, e * kPlatformEdge, kPlatformHeight, e * (kPlatformEdge + 0.12), kPlatformHeight),
           QColor(214, 212, 204));
      fill(strip(a, b, e * (kPlatformEdge + 0.8), kPlatformHeight, e * (kPlatformEdge + 1.1), kPlatformHeight),
           QColor(232, 192, 36));
      if (std::abs(b - end) < 1e-6) {
        fill(crossSection(end, {{e * kPlatformEdge, -0.2},
                                {e * kPlatformEdge, kPlatformHeight},
                                {e * (kPlatformEdge + kPlatformWidth), kPlatformHeight},
                                {e * (kPlatformEdge + kPlatformWidth), kGround}}),
             QColor(140, 137, 130));
      }
    });
    // The canopy over the platform's middle, its roof seen from below.
    const double roof = kPlatformHeight + 3.4;
    const double canopyStart = mark - 75;
    const double canopyEnd = mark + 8;
    pieces(canopyStart, canopyEnd, [=, this](double a, double b) {
      fill(strip(a, b, e * 2.0, roof, e * 6.4, roof + 0.4), QColor(96, 99, 106));
      fill(strip(a, b, e * 2.0, roof, e * 2.0, roof + 0.45), QColor(214, 214, 218));
    });
    for (double s = canopyStart + 4; s < canopyEnd; s += 10) {
      if (s > kNearest && s < reach_) {
        items_.push_back({s, [=, this] { post(s, e * 4.2, 0.22, kPlatformHeight, roof, QColor(84, 90, 98)); }});
      }
    }
    // The name board at the stopping mark's end, facing the cab: the name, its reading below, a blue band.
    const double board = mark + 12;
    if (board > kNearest && board < reach_) {
      const std::u32string name = QString::fromStdString(station.name).toStdU32String();
      const std::u32string kana = QString::fromStdString(station.kana).toStdU32String();
      items_.push_back({board, [=, this] {
                          const double centre = e * 3.6;
                          const double bottom = kPlatformHeight + 1.3;
                          const double top = bottom + 0.95;
                          post(board, centre - 0.9, 0.08, kPlatformHeight, bottom, QColor(70, 70, 75));
                          post(board, centre + 0.9, 0.08, kPlatformHeight, bottom, QColor(70, 70, 75));
                          post(board, centre, 2.4, bottom, top, QColor(246, 246, 242));
                          post(board, centre, 2.4, bottom, bottom + 0.14, QColor(24, 96, 170));
                          const double nameSize = std::min(0.5, 2.0 / std::max<std::size_t>(1, name.size()));
                          lettering(board, centre, top - 0.06, nameSize, name);
                          lettering(board, centre, top - 0.1 - nameSize,
                                    std::min(0.15, 2.0 / std::max<std::size_t>(1, kana.size())), kana);
                        }});
    }
  }
}

// Lettering suggested by strokes: each character a few bars picked by its code, as writing looks from afar.
void CabView::lettering(double s, double centre, double top, double size, const std::u32string& text) const {
  const QColor ink(30, 30, 34);
  const double width = size * text.size();
  if (scale(s) * size < 3) {
    post(s, centre, width * 0.9, top - size * 0.8, top - size * 0.1, QColor(150, 150, 152));
    return;
  }
  const double g = size * 0.8;       // the character's box
  const double t = size * 0.11;      // a stroke's thickness
  const double at[] = {0, 0.45, 1};  // where the bars may run, across the box
  for (std::size_t c = 0; c < text.size(); ++c) {
    std::uint32_t bits = hash(text[c]);
    if (std::popcount(bits & 0x3fU) < 3) bits |= 0x12U;  // at least a cross
    const double left = centre - width / 2 + c * size + (size - g) / 2;
    const double bottom = top - g;
    for (int i = 0; i < 3; ++i) {
      const bool half = bits >> (6 + i) & 1U;  // some bars run only half way
      if (bits >> i & 1U) {
        const double y = bottom + at[i] * (g - t);
        post(s, left + (half ? g * 0.7 : g / 2), half ? g * 0.6 : g, y, y + t, ink);
      }
      if (bits >> (3 + i) & 1U) {
        const double x = left + t / 2 + at[i] * (g - t);
        post(s, x, t, half ? bottom + g * 0.4 : bottom, top, ink);
      }
    }
  }
}

void CabView::addCrossings() {
  for (double crossing : line_.crossings) {
    const double c = crossing - position_;
    if (c + 4 < kNearest || c - 4 > reach_) continue;
    // Posts with the crossbuck, the lamps and the raised barrier, at both road edges on both sides.
    for (double edge : {c - 3.8, c + 3.8}) {
      if (edge < kNearest || edge > reach_) continue;
      for (double side : {-2.9, 2.9}) {
        items_.push_back({edge, [=, this] {
                            const double px = std::max(0.8, scale(edge));
                            stripedPost(edge, side, 0.12, kGround, 3.3);
                            stripedPost(edge, side + (side > 0 ? 0.35 : -0.35), 0.1, 0.6, 4.6);
                            p_.setPen(Qt::NoPen);
                            p_.setBrush(QColor(120, 18, 14));
                            for (double lamp : {-0.3, 0.3})
                              p_.drawEllipse(at(edge, side + lamp, 2.35), px * 0.13, px * 0.13);
                            p_.setPen(QPen(QColor(238, 196, 20), std::max(1.0, px * 0.14)));
                            p_.drawLine(at(edge, side - 0.5, 2.7), at(edge, side + 0.5, 3.3));
                            p_.drawLine(at(edge, side - 0.5, 3.3), at(edge, side + 0.5, 2.7));
                          }});
      }
    }
  }
}

void CabView::addBridges() {
  for (const Span& bridge : line_.bridges) {
    const double from = bridge.from - position_;
    const double to = bridge.to - position_;
    if (to < kNearest || from > reach_) continue;
    // Through plate girders on both sides, stiffened every 2 m.
    pieces(from, to, [=, this](double a, double b) {
      for (double side : {-2.0, 2.0}) {
        fill(strip(a, b, side, -0.6, side, 1.3), QColor(132, 62, 48));
        fill(strip(a, b, side, 1.3, side * 1.08, 1.36), QColor(170, 92, 74));
        p_.setPen(QPen(QColor(96, 42, 32), 1));
        for (double k = std::ceil((position_ + a) / 2);; ++k) {
          const double s = k * 2 - position_;
          if (s > b) break;
          p_.drawLine(at(s, side, -0.6), at(s, side, 1.3));
        }
      }
    });
    if (from < reach_ && from > kNearest) {
      items_.push_back({from, [=, this] {
                          for (double side : {-2.0, 2.0}) post(from, side, 0.3, -0.6, 1.4, QColor(150, 74, 58));
                        }});
    }
  }
}

void CabView::addTunnelMouth() {
  for (const Span& tunnel : line_.tunnels) {
    const double d = tunnel.from - position_;
    if (d <= 0 || d >= reach_) continue;
    reach_ = d;  // the hill hides all beyond the mouth
    const double exit = tunnel.to - position_;
    items_.push_back(
        {d, [=, this] {
           // The hillside the tunnel enters, the cutting leading to it, the concrete portal.
           std::vector<QPointF> hill;
           for (int k = -20; k <= 20; ++k) {
             const double f = 1 - std::pow(k / 20.0, 2);
             hill.push_back({k * 4.5, kGround + 28 * std::pow(f, 0.7) + 2.5 * std::sin(k * 0.45 + 1)});
           }
           hill.push_back({90, kGround});
           hill.push_back({-90, kGround});
           fill(crossSection(d, hill), QColor(74, 98, 56));
           tunnelCutting(d);
           fill(crossSection(d, {{-5.8, kGround}, {-5.8, 8.4}, {5.8, 8.4}, {5.8, kGround}}), QColor(162, 158, 148));
           fill(crossSection(d, {{-6.1, 8.4}, {-6.1, 8.9}, {6.1, 8.9}, {6.1, 8.4}}), QColor(128, 124, 116));
           fill(crossSection(d, {{-1.2, 6.5}, {1.2, 6.5}, {1.2, 7.3}, {-1.2, 7.3}}), QColor(58, 60, 64));
           p_.save();
           QPainterPath mouth;
           mouth.addPolygon(arch(d));
           p_.setClipPath(mouth);
           tunnelInside(d, exit);
           p_.restore();
         }});
    break;
  }
}

// The slopes of the cutting that leads into a tunnel mouth `d` metres ahead, rising towards the hill.
void CabView::tunnelCutting(double d) const {
  constexpr double kLength = 60;
  constexpr int kSteps = 6;
  for (double sign : {-1.0, 1.0}) {
    QPolygonF foot;
    QPolygonF top;
    const double nearest = std::max(d - kLength, 1.5);
    for (int i = 0; i <= kSteps; ++i) {
      const double s = nearest + (d - nearest) * i / kSteps;
      const double t = 1 - (d - s) / kLength;
      foot << at(s, sign * (3.4 + 2.4 * t), kGround);
      top.prepend(at(s, sign * (9 + 31 * t), kGround + 22 * t * t));
    }
    fill(foot + top, QColor(64, 88, 48));
  }
}

void CabView::addTrees() {
  constexpr double kSlot = 12;
  const double lo = std::min(mapPosition(kNearest), mapPosition(reach_));
  const double hi = std::max(mapPosition(kNearest), mapPosition(reach_));
  for (auto k = static_cast<std::int64_t>(std::floor(lo / kSlot)) - 1; k <= static_cast<std::int64_t>(hi / kSlot);
       ++k) {
    for (int mapSide : {-1, 1}) {
      const std::uint32_t salt = mapSide > 0 ? 100 : 200;
      if (unit(k, salt) > 0.45) continue;
      const double s = aheadOf(k * kSlot + unit(k, salt + 1) * kSlot);
      const double side = sideOf(mapSide) * (9 + unit(k, salt + 2) * 34);
      if (s < kNearest || s > reach_ || inTheWay(s, side, 45)) continue;
      const double height = 5 + unit(k, salt + 3) * 7;
      const double radius = 1.6 + unit(k, salt + 4) * 1.8;
      const bool conifer = unit(k, salt + 5) < 0.4;
      const QColor leaves = mix(QColor(40, 78, 38), QColor(78, 112, 50), unit(k, salt + 6));
      items_.push_back({s, [=, this] {
                          post(s, side, 0.35, kGround, height * 0.45, QColor(84, 64, 44));
                          if (conifer) {
                            fill(QPolygonF() << at(s, side - radius, height * 0.2) << at(s, side + radius, height * 0.2)
                                             << at(s, side, height),
                                 shade(leaves, 0.8));
                          } else {
                            const QPointF centre = at(s, side, height * 0.62);
                            const double px = scale(s);
                            p_.setPen(Qt::NoPen);
                            p_.setBrush(leaves);
                            p_.drawEllipse(centre, radius * px, height * 0.4 * px);
                            p_.setBrush(shade(leaves, 1.25));
                            p_.drawEllipse(centre - QPointF(radius * px * 0.3, height * 0.12 * px), radius * px * 0.55,
                                           height * 0.2 * px);
                          }
                        }});
    }
  }
}

void CabView::addHouses() {
  // Houses gather round the stations.
  constexpr double kSlot = 26;
  for (const Station& station : line_.stations) {
    const double mapStation = mapPosition(station.at - position_);
    for (auto k = static_cast<std::int64_t>(std::floor((mapStation - 400) / kSlot));
         k <= static_cast<std::int64_t>((mapStation + 400) / kSlot); ++k) {
      for (int mapSide : {-1, 1}) {
        const std::uint32_t salt = mapSide > 0 ? 300 : 400;
        if (unit(k, salt) > 0.55) continue;
        const double mapAt = k * kSlot + unit(k, salt + 1) * 8;
        const double depthAlong = 7 + unit(k, salt + 2) * 3;
        const double near = aheadOf(track_.up() ? mapAt + depthAlong : mapAt);
        const double sign = sideOf(mapSide);
        const double inner = 15 + unit(k, salt + 3) * 30;
        const double depth = 6 + unit(k, salt + 4) * 2;
        const double eaves = 5 + unit(k, salt + 5) * 1.5;
        if (near < 2 || near > reach_ || inTheWay(near, sign * inner, 20)) continue;
        const QColor walls[] = {{226, 220, 206}, {200, 190, 172}, {184, 186, 182}};
        const QColor roofs[] = {{64, 72, 92}, {122, 62, 50}, {60, 84, 70}};
        const QColor wall = walls[static_cast<int>(unit(k, salt + 6) * 3)];
        const QColor roofColour = roofs[static_cast<int>(unit(k, salt + 7) * 3)];
        items_.push_back(
            {near, [=, this] {
               const double a = sign * inner;
               const double b = sign * (inner + depth);
               const double ridge = sign * (inner + depth / 2);
               const double far = near + depthAlong;
               fill(strip(near, far, a, kGround, a, eaves), shade(wall, 0.82));
               fill(strip(near, far, a, eaves, ridge, eaves + 2.2), roofColour);
               fill(crossSection(near, {{a, kGround}, {a, eaves}, {b, eaves}, {b, kGround}}), wall);
               fill(crossSection(near, {{a, eaves}, {ridge, eaves + 2.2}, {b, eaves}}), shade(wall, 0.92));
               // A window or two on the end facing the cab.
               for (double w : {0.3, 0.65}) {
                 const double wx = a + (b - a) * w;
                 fill(crossSection(near, {{wx, 1.2}, {wx + sign * 1.2, 1.2}, {wx + sign * 1.2, 2.2}, {wx, 2.2}}),
                      QColor(70, 86, 100));
               }
             }});
      }
    }
  }
}

void CabView::draw() {
  p_.setRenderHint(QPainter::Antialiasing);
  const auto inside = std::find_if(line_.tunnels.begin(), line_.tunnels.end(),
                                   [&](const Span& t) { return position_ >= t.from && position_ < t.to; });
  if (inside != line_.tunnels.end()) {
    p_.fillRect(QRect(0, 0, kViewWidth, kViewHeight), QColor(8, 8, 9));
    tunnelInside(kNearest, inside->to - position_);
    return;
  }

  addTunnelMouth();
  background();
  // Rivers under the bridges and roads over the crossings lie flat, under the rails.
  for (const Span& bridge : line_.bridges) {
    const double a = std::max(bridge.from - position_ + 8, 3.0);
    const double b = std::min(bridge.to - position_ - 8, reach_);
    if (a < b) fill(strip(a, b, -80, kGround - 1.5, 80, kGround - 1.5), QColor(74, 104, 122));
  }
  fields();
  trackBed(kNearest, reach_, false);
  for (double crossing : line_.crossings) {
    const double a = std::max(crossing - position_ - 2.6, 3.0);
    const double b = std::min(crossing - position_ + 2.6, reach_);
    if (a < b) fill(strip(a, b, -80, -0.04, 80, -0.04), QColor(78, 78, 80));
  }
  rails(kNearest, reach_, false);

  addTrees();
  addHouses();
  addPoles();
  addStations();
  addCrossings();
  addBridges();
  std::stable_sort(items_.begin(), items_.end(), [](const Item& a, const Item& b) { return a.distance > b.distance; });
  for (const Item& item : items_) item.draw();
  wires(2.0, reach_, QColor(40, 40, 42));
}

}  // namespace

void renderView(const Line& line, double position, QImage& out) {
  if (out.width() != kViewWidth || out.height() != kViewHeight || out.format() != QImage::Format_RGB32) {
    out = QImage(kViewWidth, kViewHeight, QImage::Format_RGB32);
  }
  QPainter painter(&out);
  CabView(line, position, painter).draw();
}

bool writeVideo(const std::filesystem::path& file, const Line& line, const Recording& recording,
                const std::function<void(double)>& progress) {
  std::error_code ec;
  if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path(), ec);
  auto writer = AviWriter::open(file, kViewWidth, kViewHeight);
  if (!writer) return false;
  QImage picture(kViewWidth, kViewHeight, QImage::Format_RGB32);
  const int count = recording.pictureCount();
  bool ok = true;
  for (int n = 0; ok && n < count; ++n) {
    renderView(line, positionAtFrame(recording, 2 * n), picture);
    ok = writer->write(picture);
    if (progress && n % 100 == 0) progress(static_cast<double>(n) / count);
  }
  ok = ok && writer->finish();
  writer.reset();
  if (!ok) {
    std::filesystem::remove(file, ec);
    return false;
  }
  if (progress) progress(1.0);
  return true;
}

}  // namespace vesk::demo
