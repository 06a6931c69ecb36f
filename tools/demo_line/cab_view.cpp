#include "demo_line/cab_view.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QString>

#include <bit>
#include <iterator>
#include <numbers>
#include <utility>

namespace vesk::demo {
namespace {

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

}  // namespace

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

}  // namespace vesk::demo
