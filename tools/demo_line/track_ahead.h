// The track ahead of the cab as the camera sees it: the line's curves and gradients integrated from the camera's
// position into the track's course in the camera's frame, points beside the track, and their place in the
// picture.
#pragma once

#include <QPointF>

#include <vector>

#include "demo_line/line_model.h"

namespace vesk::demo {

inline constexpr int kViewWidth = 800;
inline constexpr int kViewHeight = 450;
inline constexpr double kFocalLength = 600;  // pixels: about 67 degrees across

// A point in the camera's frame, in metres: x to the right, y up from the rail head under the cab, z ahead.
struct CameraPoint {
  double x = 0;
  double y = 0;
  double z = 0;
};

// Whether `line` is the demo line as seen from the up cab: lineInDirection(false) lists the stations in the up
// running order. The line keeps the down direction's curvature sign, so the up cab sees every curve mirrored.
bool seenFromUpCab(const Line& line);

class TrackAhead {
 public:
  TrackAhead(const Line& line, double position, double distance);

  // The point `s` metres ahead along the track, `side` metres to the right of its centre line and `height`
  // metres above its rail head.
  CameraPoint at(double s, double side, double height) const;
  // Where a point lands in the picture; points at or behind the camera are held just in front of it.
  static QPointF project(const CameraPoint& p);
  // Pixels per metre at a distance ahead.
  static double scaleAt(double z);

  bool up() const { return up_; }
  double distance() const { return distance_; }
  // The picture row of the true horizon (the camera pitches with the gradient it stands on).
  double horizonY() const { return horizonY_; }
  // The camera's heading on the map (radians, clockwise), for the distant scenery.
  double heading() const { return heading_; }
  // The distances ahead at which the course is sampled (denser near the cab), from the nearest drawn.
  const std::vector<double>& samples() const { return sampleS_; }

  // Curvature (1/m, + to the right as the cab sees it) and gradient (per mil) of the line at a position.
  double curvatureAt(double position) const;
  double gradientAt(double position) const;

 private:
  const Line& line_;
  bool up_ = false;
  double distance_ = 0;
  double horizonY_ = 0;
  double heading_ = 0;
  std::vector<double> sampleS_;
  std::vector<double> x_, y_, z_, course_;  // the centre line and its heading at each sample, camera frame
};

}  // namespace vesk::demo
