// The view from the cab of the demo line's route videos, drawn from the line's geometry: the track in
// perspective, the sky and hills, wires and poles, and the scenery along the line (stations, crossings, bridges,
// tunnel mouths, trees and houses), gathered far to near and painted in that order.
#pragma once

#include <QColor>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "demo_line/line_model.h"
#include "demo_line/track_ahead.h"

namespace vesk::demo {

inline constexpr double kViewDistance = 400;
inline constexpr double kNearest = 1.0;
inline constexpr double kRailCentre = 1.067 / 2 + 0.033;  // the gauge is between the rails' inner faces
inline constexpr double kSleeperSpacing = 0.6;
inline constexpr double kSleeperReach = 45;  // beyond this the sleepers blur into the bed
inline constexpr double kPoleSpacing = 50;
inline constexpr double kPoleSide = 2.9;  // from the track centre, on the side away from the platforms
inline constexpr double kContactWire = 5.0;
inline constexpr double kMessengerWire = 6.3;
inline constexpr double kPlatformEdge = 1.55;
inline constexpr double kPlatformWidth = 5.0;
inline constexpr double kPlatformHeight = 0.92;
inline constexpr double kGround = -0.9;      // the ground beside the track bed, below the rail head
inline constexpr double kLiningSpacing = 5;  // a tunnel's lining rings
inline constexpr double kTunnelLightSpacing = 25;
// Extended things (platforms, canopies, girders) are drawn in pieces no longer than the distance bands below,
// so that the far-to-near order also holds between them and what stands beside them.
inline constexpr double kBandEdges[] = {1, 4, 8, 12, 18, 25, 35, 50, 70, 100, 140, 200, 280, 400};

// The tunnel's inside, as a cross-section (metres to the right, metres above the rail head).
inline constexpr int kArchSegments = 12;
inline constexpr double kArchHalfWidth = 2.6;
inline constexpr double kArchSpring = 3.2;  // where the vault starts

inline const QColor kBallast(150, 141, 128);
inline const QColor kShoulder(112, 104, 92);
inline const QColor kSleeper(178, 175, 168);
inline const QColor kRailFoot(96, 74, 58);
inline const QColor kRailHead(208, 208, 212);
inline const QColor kGroundFar(140, 152, 118);
inline const QColor kGroundNear(86, 116, 58);

inline QColor shade(const QColor& c, double f) {
  auto ch = [&](int v) { return std::clamp(static_cast<int>(std::lround(v * f)), 0, 255); };
  return QColor(ch(c.red()), ch(c.green()), ch(c.blue()));
}

inline QColor mix(const QColor& a, const QColor& b, double f) {
  auto ch = [&](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * f)); };
  return QColor(ch(a.red(), b.red()), ch(a.green(), b.green()), ch(a.blue(), b.blue()));
}

// Stable pseudo-random numbers for the scenery: the same tree stands in the same place in every picture.
inline std::uint32_t hash(std::uint32_t x) {
  x ^= x >> 16;
  x *= 0x7feb352dU;
  x ^= x >> 15;
  x *= 0x846ca68bU;
  x ^= x >> 16;
  return x;
}

inline double unit(std::int64_t k, std::uint32_t salt) {
  return hash(static_cast<std::uint32_t>(k) * 0x9e3779b9U + salt * 0x85ebca6bU) / 4294967296.0;
}

inline bool within(double x, const Span& s, double margin = 0) { return x >= s.from - margin && x <= s.to + margin; }

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

}  // namespace vesk::demo
