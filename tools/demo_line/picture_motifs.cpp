#include "demo_line/picture_motifs.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <array>
#include <utility>

#include "demo_line/line_model.h"
#include "demo_line/picture_canvas.h"

namespace vesk::demo {
namespace {

// A car's proportions, as fractions of its length.
constexpr double kBodyTop = 0.205;
constexpr double kBodyBottom = 0.055;
constexpr double kCarGap = 0.018;
constexpr double kWindowTop = 0.04;
constexpr double kWindowHeight = 0.045;
constexpr double kDoorWidth = 0.065;
constexpr std::array<double, 4> kDoors = {0.14, 0.38, 0.62, 0.86};

double carLeft(double left, double carLength, int i) { return left + i * carLength * (1 + kCarGap); }

// The windows between the doors of a car (x from, x to), leaving room for the cab at either end.
std::vector<std::pair<double, double>> windowSpans(double x, double l, bool cabLeft, bool cabRight) {
  std::vector<double> edges = {x + (cabLeft ? 0.09 : 0.03) * l};
  for (double d : kDoors) {
    edges.push_back(x + (d - kDoorWidth / 2 - 0.015) * l);
    edges.push_back(x + (d + kDoorWidth / 2 + 0.015) * l);
  }
  edges.push_back(x + (cabRight ? 0.91 : 0.97) * l);
  std::vector<std::pair<double, double>> spans;
  for (std::size_t i = 0; i + 1 < edges.size(); i += 2) spans.emplace_back(edges[i], edges[i + 1]);
  return spans;
}

void drawWindowRow(QPainter& p, double x, double l, double top, bool cabLeft, bool cabRight, const QBrush& glass) {
  p.setPen(Qt::NoPen);
  p.setBrush(glass);
  const double y = top + kWindowTop * l;
  for (const auto& [from, to] : windowSpans(x, l, cabLeft, cabRight)) {
    // Split long spans into two panes.
    const double mid = (from + to) / 2;
    const double frame = std::max(1.0, 0.006 * l);
    p.drawRect(QRectF(from, y, mid - from - frame / 2, kWindowHeight * l));
    p.drawRect(QRectF(mid + frame / 2, y, to - mid - frame / 2, kWindowHeight * l));
  }
  for (double d : kDoors) {
    const double cx = x + d * l;
    p.drawRect(QRectF(cx - kDoorWidth * l * 0.35, y, kDoorWidth * l * 0.28, kWindowHeight * l * 1.1));
    p.drawRect(QRectF(cx + kDoorWidth * l * 0.07, y, kDoorWidth * l * 0.28, kWindowHeight * l * 1.1));
  }
}

void drawBogie(QPainter& p, double cx, double railY, double l) {
  const double wheel = 0.023 * l;
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x26, 0x26, 0x28));
  p.drawRect(QRectF(cx - 0.07 * l, railY - 0.05 * l, 0.14 * l, 0.026 * l));
  for (double dx : {-0.038, 0.038}) {
    p.setBrush(QColor(0x1C, 0x1C, 0x1E));
    p.drawEllipse(QPointF(cx + dx * l, railY - wheel), wheel, wheel);
    p.setBrush(QColor(0x60, 0x62, 0x66));
    p.drawEllipse(QPointF(cx + dx * l, railY - wheel), wheel * 0.35, wheel * 0.35);
  }
}

void drawPantograph(QPainter& p, double cx, double roofY, double l) {
  const double h = 0.075 * l;
  p.setPen(QPen(QColor(0x30, 0x32, 0x36), std::max(1.0, 0.005 * l)));
  p.setBrush(Qt::NoBrush);
  p.drawLine(QPointF(cx - 0.05 * l, roofY), QPointF(cx, roofY - h * 0.55));
  p.drawLine(QPointF(cx, roofY - h * 0.55), QPointF(cx - 0.035 * l, roofY - h));
  p.drawLine(QPointF(cx - 0.06 * l, roofY - h), QPointF(cx - 0.01 * l, roofY - h));
  p.setBrush(QColor(0x30, 0x32, 0x36));
  p.drawRect(QRectF(cx - 0.06 * l, roofY - 0.008 * l, 0.07 * l, 0.008 * l));
}

void drawCar(QPainter& p, double x, double railY, double l, const TrainLook& look, bool cabLeft, bool cabRight,
             bool pantograph) {
  const double top = railY - kBodyTop * l;
  const double bottom = railY - kBodyBottom * l;
  // Under-floor equipment and bogies.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x3A, 0x3C, 0x40));
  p.drawRect(QRectF(x + 0.25 * l, bottom - 1, 0.5 * l, 0.022 * l));
  drawBogie(p, x + 0.15 * l, railY, l);
  drawBogie(p, x + 0.85 * l, railY, l);
  // The body with rounded cab ends.
  const double nose = 0.035 * l;
  QPainterPath body;
  body.moveTo(x + (cabLeft ? nose : 0.004 * l), top);
  body.lineTo(x + l - (cabRight ? nose : 0.004 * l), top);
  if (cabRight) {
    body.quadTo(x + l, top, x + l, top + nose);
  } else {
    body.lineTo(x + l, top + 0.004 * l);
  }
  body.lineTo(x + l, bottom);
  body.lineTo(x, bottom);
  if (cabLeft) {
    body.lineTo(x, top + nose);
    body.quadTo(x, top, x + nose, top);
  } else {
    body.lineTo(x, top + 0.004 * l);
  }
  body.closeSubpath();
  QLinearGradient shade(0, top, 0, bottom);
  shade.setColorAt(0, look.body.lighter(112));
  shade.setColorAt(0.6, look.body);
  shade.setColorAt(1, look.body.darker(118));
  p.setBrush(shade);
  p.drawPath(body);
  p.save();
  p.setClipPath(body);
  // Roof, band and doors.
  p.setBrush(QColor(0x8A, 0x90, 0x96));
  p.drawRect(QRectF(x, top, l, 0.014 * l));
  p.setBrush(look.stripe);
  p.drawRect(QRectF(x, bottom - 0.05 * l, l, 0.018 * l));
  p.drawRect(QRectF(x, top + 0.024 * l, l, 0.007 * l));
  p.setPen(QPen(look.body.darker(150), std::max(0.8, 0.003 * l)));
  p.setBrush(Qt::NoBrush);
  for (double d : kDoors) {
    p.drawRect(QRectF(x + (d - kDoorWidth / 2) * l, top + 0.033 * l, kDoorWidth * l, bottom - top - 0.036 * l));
  }
  QLinearGradient glass(0, top + kWindowTop * l, 0, top + (kWindowTop + kWindowHeight) * l);
  glass.setColorAt(0, QColor(0x5A, 0x6A, 0x7A));
  glass.setColorAt(1, QColor(0x1E, 0x26, 0x30));
  drawWindowRow(p, x, l, top, cabLeft, cabRight, glass);
  // The cab ends: a dark front with a wide window and the headlights.
  p.setPen(Qt::NoPen);
  for (bool right : {false, true}) {
    if (right ? !cabRight : !cabLeft) continue;
    const double fx = right ? x + l - 0.045 * l : x;
    p.setBrush(look.front);
    p.drawRect(QRectF(fx, top + 0.03 * l, 0.045 * l, bottom - top - 0.055 * l));
    p.setBrush(glass);
    p.drawRect(QRectF(fx + 0.008 * l, top + kWindowTop * l, 0.03 * l, kWindowHeight * l));
    p.setBrush(QColor(0xF0, 0xF0, 0xE0));
    p.drawRect(QRectF(right ? x + l - 0.012 * l : x, bottom - 0.038 * l, 0.012 * l, 0.01 * l));
  }
  p.restore();
  // Roof equipment.
  p.setPen(Qt::NoPen);
  if (look.pantograph) {
    p.setBrush(QColor(0x9A, 0xA0, 0xA6));
    for (double at : {0.3, 0.7})
      p.drawRoundedRect(QRectF(x + (at - 0.06) * l, top - 0.016 * l, 0.12 * l, 0.018 * l), 2, 2);
    if (pantograph) drawPantograph(p, x + 0.5 * l, top - 0.004 * l, l);
  } else {
    p.setBrush(QColor(0x3A, 0x3C, 0x40));
    p.drawRect(QRectF(x + 0.45 * l, top - 0.02 * l, 0.03 * l, 0.022 * l));  // the exhaust stack
  }
}

}  // namespace

std::vector<RouteStop> routeStops(const std::vector<std::string>& names) {
  std::vector<RouteStop> stops;
  const Line& line = demoLine();
  bool same = line.stations.size() == names.size() && names.size() >= 2;
  for (std::size_t i = 0; same && i < names.size(); ++i) same = line.stations[i].name == names[i];
  const double first = same ? line.stations.front().at : 0;
  const double last = same ? line.stations.back().at : 1;
  for (std::size_t i = 0; i < names.size(); ++i) {
    RouteStop stop;
    stop.name = qtext(names[i]);
    if (same) {
      stop.at = (line.stations[i].at - first) / (last - first);
      stop.km = line.stations[i].at / 1000;
    } else {
      stop.at = names.size() > 1 ? static_cast<double>(i) / static_cast<double>(names.size() - 1) : 0.5;
    }
    stops.push_back(stop);
  }
  return stops;
}

void drawRouteStrip(QPainter& p, const QRectF& area, const std::vector<RouteStop>& stops, int highlight,
                    const RouteMapStyle& style) {
  if (stops.empty()) return;
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  const double spacing = area.width() / static_cast<double>(stops.size());
  const double margin = spacing / 2;
  const double lineY = area.top() + std::max(8.0, area.height() * 0.25);
  const double mark = std::clamp(area.height() * 0.09, 4.0, 9.0);
  auto xOf = [&](const RouteStop& s) { return area.left() + margin + s.at * (area.width() - 2 * margin); };
  p.setPen(QPen(style.line, std::max(3.0, mark * 0.8), Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(xOf(stops.front()), lineY), QPointF(xOf(stops.back()), lineY));
  if (highlight > 0) {
    p.setPen(QPen(style.passed, std::max(3.0, mark * 0.8), Qt::SolidLine, Qt::RoundCap));
    p.drawLine(
        QPointF(xOf(stops.front()), lineY),
        QPointF(xOf(stops[static_cast<std::size_t>(std::min<int>(highlight, static_cast<int>(stops.size()) - 1))]),
                lineY));
  }
  for (int i = 0; i < static_cast<int>(stops.size()); ++i) {
    const RouteStop& s = stops[static_cast<std::size_t>(i)];
    const QPointF c(xOf(s), lineY);
    const bool current = i == highlight;
    const bool passed = highlight >= 0 && i < highlight;
    const QColor colour = current ? style.highlight : (passed ? style.passed : style.text);
    p.setPen(QPen(current ? style.highlight : style.line, 2));
    p.setBrush(current ? style.highlight : QColor(0xFF, 0xFF, 0xFF));
    p.drawEllipse(c, current ? mark * 1.35 : mark, current ? mark * 1.35 : mark);
    const QFont font = fittedFont(s.name, spacing - 4, style.nameSize * 1.4, style.nameSize, current);
    p.setPen(colour);
    const double nameY = lineY + mark * 1.5 + style.nameSize * 0.85;
    drawCentredText(p, QPointF(c.x(), nameY), s.name, font);
    if (style.showKm && s.km >= 0) {
      p.setPen(passed ? style.passed : style.text);
      drawCentredText(p, QPointF(c.x(), nameY + style.nameSize * 1.2), QString::number(s.km, 'f', 1) + " km",
                      japaneseFont(style.nameSize * 0.7));
    }
  }
  p.restore();
}

TrainLook suburbanLook() {
  return {QColor(0xCC, 0xD2, 0xD8), QColor(0x1E, 0x6A, 0xD0), QColor(0x22, 0x26, 0x2C), true};
}
TrainLook regionalLook() {
  return {QColor(0xEC, 0xE6, 0xD6), QColor(0x2A, 0x96, 0x48), QColor(0x2A, 0x96, 0x48), true};
}
TrainLook dieselLook() { return {QColor(0xEE, 0xE2, 0xC0), QColor(0xC8, 0x2C, 0x2C), QColor(0xC8, 0x2C, 0x2C), false}; }

void drawTrain(QPainter& p, double left, double railY, double l, int cars, const TrainLook& look) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  for (int i = 0; i < cars; ++i) {
    const double x = carLeft(left, l, i);
    if (i > 0) {
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(0x2A, 0x2C, 0x30));
      p.drawRect(QRectF(x - kCarGap * l - 1, railY - 0.19 * l, kCarGap * l + 2, 0.12 * l));
    }
    drawCar(p, x, railY, l, look, i == 0, i == cars - 1, i == std::min(1, cars - 1));
  }
  p.restore();
}

void drawTrainFront(QPainter& p, const QRectF& box, const TrainLook& look) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  const double w = box.width();
  const double h = box.height();
  QPainterPath body;
  body.addRoundedRect(box, w * 0.16, w * 0.16);
  QLinearGradient shade(box.left(), 0, box.right(), 0);
  shade.setColorAt(0, look.body.darker(112));
  shade.setColorAt(0.5, look.body.lighter(108));
  shade.setColorAt(1, look.body.darker(118));
  p.setPen(QPen(look.body.darker(170), 1));
  p.setBrush(shade);
  p.drawPath(body);
  p.setPen(Qt::NoPen);
  // The dark face panel around the windscreen, the windscreen, the destination sign.
  p.setBrush(look.front);
  p.drawRoundedRect(QRectF(box.left() + w * 0.08, box.top() + h * 0.1, w * 0.84, h * 0.45), 2, 2);
  QLinearGradient glass(0, box.top() + h * 0.14, 0, box.top() + h * 0.5);
  glass.setColorAt(0, QColor(0x6A, 0x7A, 0x8C));
  glass.setColorAt(1, QColor(0x1A, 0x22, 0x2C));
  p.setBrush(glass);
  p.drawRect(QRectF(box.left() + w * 0.13, box.top() + h * 0.2, w * 0.74, h * 0.3));
  p.setBrush(QColor(0x10, 0x10, 0x10));
  p.drawRect(QRectF(box.left() + w * 0.3, box.top() + h * 0.12, w * 0.4, h * 0.07));
  p.setBrush(QColor(0xFF, 0xA0, 0x30));
  p.drawRect(QRectF(box.left() + w * 0.34, box.top() + h * 0.135, w * 0.32, h * 0.04));
  // The band across the front and the lamps on it.
  p.setBrush(look.stripe);
  p.drawRect(QRectF(box.left(), box.top() + h * 0.62, w, h * 0.12));
  for (double x : {0.2, 0.8}) {
    p.setBrush(QColor(0xFF, 0xFC, 0xE8));
    p.drawEllipse(QPointF(box.left() + w * x, box.top() + h * 0.8), w * 0.06, w * 0.06);
  }
  // The skirt.
  p.setBrush(QColor(0x30, 0x32, 0x36));
  p.drawRect(QRectF(box.left() + w * 0.1, box.bottom() - h * 0.08, w * 0.8, h * 0.08));
  p.restore();
}

void drawTrainLights(QPainter& p, double left, double railY, double l, int cars) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  for (int i = 0; i < cars; ++i) {
    const double x = carLeft(left, l, i);
    drawWindowRow(p, x, l, railY - kBodyTop * l, i == 0, i == cars - 1, QColor(0xFF, 0xE6, 0xA0));
  }
  const double headX = carLeft(left, l, cars - 1) + l;
  const QPointF head(headX - 0.006 * l, railY - kBodyBottom * l - 0.033 * l);
  QRadialGradient glow(head, 0.12 * l);
  glow.setColorAt(0, QColor(0xFF, 0xFF, 0xF0, 230));
  glow.setColorAt(0.2, QColor(0xFF, 0xF4, 0xC0, 120));
  glow.setColorAt(1, QColor(0xFF, 0xF4, 0xC0, 0));
  p.setPen(Qt::NoPen);
  p.setBrush(glow);
  p.drawEllipse(head, 0.12 * l, 0.12 * l);
  p.restore();
}

}  // namespace vesk::demo
