#include "sim/clock_face.h"

#include <algorithm>
#include <cmath>

#include <QPainter>

#include "core/rounding.h"

namespace vesk::sim {
namespace {

constexpr int kCentre = ClockFace::kSize / 2;
// The face's background: the window colour of the cab (the renderer keys it out by its top-left pixel).
constexpr QRgb kBackground = qRgb(240, 240, 240);

// A hand of length `length` at `degrees` (0 at twelve o'clock, clockwise) from the centre.
void drawHand(QPainter& painter, double degrees, double length) {
  const double a = degrees * M_PI / 180;
  const auto x = static_cast<int>(kCentre + core::nearest(length * std::sin(a)));
  const auto y = static_cast<int>(kCentre - core::nearest(length * std::cos(a)));
  painter.drawLine(kCentre, kCentre, x, y);
}

}  // namespace

void ClockFace::setTime(int h, int m, int s, int radius) {
  h_ = h;
  m_ = m;
  s_ = s;
  // A hand longer than the face would only leave the picture: keep data-given lengths within it.
  radius_ = std::clamp(radius, 0, kSize);
  stale_ = true;
}

const QImage& ClockFace::picture() const {
  if (!stale_) return picture_;
  stale_ = false;
  if (picture_.isNull()) picture_ = QImage(kSize, kSize, QImage::Format_ARGB32_Premultiplied);
  picture_.fill(kBackground);
  QPainter painter(&picture_);
  painter.setPen(QPen(Qt::black, 1));
  drawHand(painter, 30.0 * h_ + 0.5 * m_, static_cast<double>(core::nearest(0.6 * radius_)));
  drawHand(painter, 6.0 * m_ + 0.1 * s_, radius_);
  drawHand(painter, 6.0 * s_, radius_);
  return picture_;
}

}  // namespace vesk::sim
