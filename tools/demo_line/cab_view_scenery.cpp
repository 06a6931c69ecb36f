// The scenery along the line as the cab sees it: poles, stations with their platforms and name boards, level
// crossings, bridges, tunnel mouths with their cuttings, trees and houses.
#include <QPainterPath>
#include <QString>

#include <bit>
#include <iterator>
#include <numbers>
#include <utility>

#include "demo_line/cab_view.h"

namespace vesk::demo {

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

}  // namespace vesk::demo
