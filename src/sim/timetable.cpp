// The timetable clock: the clock text and the analog clock face, redrawn once a simulated second.
#include <cmath>
#include <cstdio>

#include <QPainter>

#include "core/rounding.h"
#include "sim/drive.h"

namespace vesk::sim {
namespace {

constexpr std::int64_t kUnitsPerSecond = 30;
constexpr std::int64_t kUnitsPerHour = 108000;
constexpr std::int64_t kUnitsPerDay = 24 * kUnitsPerHour;
constexpr int kFaceSize = 50;
constexpr int kFaceCentre = 25;
// The clock face's background: the window colour of the cab (the renderer keys it out by its top-left pixel).
constexpr QRgb kFaceBackground = qRgb(240, 240, 240);

// A hand of length `length` at `degrees` (0 at twelve o'clock, clockwise) from the centre.
void drawHand(QPainter& painter, double degrees, double length) {
  const double a = degrees * M_PI / 180;
  const auto x = static_cast<int>(kFaceCentre + core::nearest(length * std::sin(a)));
  const auto y = static_cast<int>(kFaceCentre - core::nearest(length * std::cos(a)));
  painter.drawLine(kFaceCentre, kFaceCentre, x, y);
}

void drawClockFace(QImage& face, int h, int m, int s, int radius) {
  if (face.isNull()) face = QImage(kFaceSize, kFaceSize, QImage::Format_ARGB32_Premultiplied);
  face.fill(kFaceBackground);
  QPainter painter(&face);
  painter.setPen(QPen(Qt::black, 1));
  drawHand(painter, 30.0 * h + 0.5 * m, static_cast<double>(core::nearest(0.6 * radius)));
  drawHand(painter, 6.0 * m + 0.1 * s, radius);
  drawHand(painter, 6.0 * s, radius);
}

}  // namespace

void Drive::timecalc(std::int32_t clock) {
  // A clock set back before midnight reads as the evening before.
  std::int64_t a = clock;
  if (a < 0) a = a % kUnitsPerDay + kUnitsPerDay;
  const std::int64_t second = a / kUnitsPerSecond;
  if (second == state.clockSecond) return;
  state.clockSecond = static_cast<std::int32_t>(second);
  const auto h = static_cast<int>(a / kUnitsPerHour);
  const auto d = static_cast<int>(second - std::int64_t{3600} * h);
  const int m = d / 60;
  const int s = d - 60 * m;
  char text[32];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", h, m, s);
  state.clockText = text;
  texts.ClockText = state.clockText;
  if (vehicle.clock.x > 0 && vehicle.clock.y > 0) drawClockFace(clockFace, h, m, s, vehicle.clock.radius);
}

}  // namespace vesk::sim
