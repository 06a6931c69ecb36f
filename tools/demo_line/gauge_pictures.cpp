#include "demo_line/gauge_pictures.h"

#include <QConicalGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>
#include <vector>

#include "demo_line/picture_canvas.h"

namespace vesk::demo {
namespace {

constexpr double kDegree = std::numbers::pi / 180;

QPointF onDial(QPointF centre, double degrees, double radius) {
  return {centre.x() + std::sin(degrees * kDegree) * radius, centre.y() - std::cos(degrees * kDegree) * radius};
}

double bezelWidth(const Gauge& g) { return std::max(4.0, g.r * 0.07); }

// Coloured bands of the scale: green for the normal working range, red for the range to keep out of.
struct Band {
  double from;
  double to;
  QColor colour;
};

std::vector<Band> bandsOf(const Gauge& g) {
  const QColor red(0xD8, 0x20, 0x20);
  const QColor green(0x20, 0xA0, 0x40);
  if (g.key == "[Needle_Speed]") return {{g.maximum - 10, g.maximum, red}};
  if (g.key == "[Needle_MR]") return {{780, 880, green}, {880, g.maximum, red}};
  if (g.key == "[Needle_V]") return {{1800, g.maximum, red}};
  if (g.key == "[Needle_I]") {
    std::vector<Band> bands = {{g.maximum * 0.8, g.maximum, red}};
    if (gaugeMinimum(g) < 0) bands.push_back({-g.maximum, -g.maximum * 0.8, red});
    return bands;
  }
  return {};
}

// What the dial says about itself: a short name and the unit.
QString nameOf(const Gauge& g) {
  if (g.key == "[Needle_BC]") return QStringLiteral("BC");
  if (g.key == "[Needle_MR]") return QStringLiteral("MR");
  if (g.key == "[Needle_ER]") return QStringLiteral("ER");
  if (g.key == "[Needle_BP]") return QStringLiteral("BP");
  if (g.key == "[Needle_SAP]") return QStringLiteral("SAP");
  if (g.key == "[Needle_I]") return QStringLiteral("電流");
  if (g.key == "[Needle_V]") return QStringLiteral("電圧");
  return {};
}

QColor needleColour(const Gauge& g) {
  if (g.key == "[Needle_BC]" || g.key == "[Needle_ER]") return QColor(0xC8, 0x18, 0x18);
  return QColor(0x14, 0x14, 0x16);
}

// Minor divisions of one figure step: fine where the step spans a wide arc.
int minorDivisions(const Gauge& g) {
  const double arc = std::fabs(g.step * g.scale);
  if (arc >= 20) return 5;
  if (arc >= 8) return 2;
  return 1;
}

void drawBezel(QPainter& p, const Gauge& g, QPointF c) {
  const double r = g.r;
  // Shadow on the panel.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, 90));
  p.drawEllipse(c + QPointF(2, 3), r + 1, r + 1);
  QConicalGradient metal(c, 135);
  metal.setColorAt(0, QColor(0xE8, 0xEA, 0xEC));
  metal.setColorAt(0.25, QColor(0x8A, 0x8E, 0x92));
  metal.setColorAt(0.5, QColor(0x4A, 0x4E, 0x52));
  metal.setColorAt(0.75, QColor(0x9A, 0x9E, 0xA2));
  metal.setColorAt(1, QColor(0xE8, 0xEA, 0xEC));
  p.setBrush(metal);
  p.drawEllipse(c, r, r);
  p.setBrush(QColor(0x18, 0x18, 0x1A));
  p.drawEllipse(c, r - bezelWidth(g), r - bezelWidth(g));
}

void drawFace(QPainter& p, const Gauge& g, QPointF c) {
  const double f = gaugeFaceRadius(g);
  QRadialGradient face(c, f);
  face.setColorAt(0, QColor(0xFF, 0xFF, 0xFF));
  face.setColorAt(0.85, QColor(0xF6, 0xF6, 0xF2));
  face.setColorAt(1, QColor(0xDC, 0xDC, 0xD6));
  p.setPen(Qt::NoPen);
  p.setBrush(face);
  p.drawEllipse(c, f, f);
}

void drawBands(QPainter& p, const Gauge& g, QPointF c) {
  const double f = gaugeFaceRadius(g);
  const double width = std::max(3.0, f * 0.07);
  const double radius = f * 0.93 - width / 2;
  const QRectF arcBox(c.x() - radius, c.y() - radius, 2 * radius, 2 * radius);
  for (const Band& band : bandsOf(g)) {
    const double a0 = gaugeAngle(g, band.from);
    const double a1 = gaugeAngle(g, band.to);
    // Qt counts arcs from three o'clock, anticlockwise, in 1/16 degrees.
    const double start = 90 - a0;
    const double span = -(a1 - a0);
    p.setPen(QPen(band.colour, width, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(arcBox, static_cast<int>(std::lround(start * 16)), static_cast<int>(std::lround(span * 16)));
  }
}

void drawScale(QPainter& p, const Gauge& g, QPointF c) {
  const double f = gaugeFaceRadius(g);
  const double outer = f * 0.95;
  const QColor ink(0x14, 0x14, 0x16);
  const int divisions = minorDivisions(g);
  const double lo = gaugeMinimum(g);
  const int steps = static_cast<int>(std::lround((g.maximum - lo) / g.step));
  for (int i = 0; i <= steps * divisions; ++i) {
    const double value = lo + i * g.step / divisions;
    const double a = gaugeAngle(g, value);
    const bool major = i % divisions == 0;
    const bool half = divisions % 2 == 0 && i % (divisions / 2) == 0;
    const double length = major ? f * 0.14 : (half ? f * 0.1 : f * 0.06);
    const double width = major ? std::max(1.6, f * 0.028) : std::max(1.0, f * 0.014);
    p.setPen(QPen(ink, width, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(onDial(c, a, outer), onDial(c, a, outer - length));
  }
  const QFont figures = japaneseFont(std::max(9.0, f * 0.15), true);
  const double figureRadius = outer - f * 0.14 - f * 0.15;
  p.setPen(ink);
  for (int i = 0; i <= steps; ++i) {
    const double value = lo + i * g.step;
    const QString text = QString::number(static_cast<int>(std::lround(std::fabs(value))));
    drawCentredText(p, onDial(c, gaugeAngle(g, value), figureRadius), text, figures);
  }
}

void drawLabels(QPainter& p, const Gauge& g, QPointF c) {
  const double f = gaugeFaceRadius(g);
  p.setPen(QColor(0x30, 0x30, 0x34));
  const QString name = nameOf(g);
  if (!name.isEmpty()) drawCentredText(p, c + QPointF(0, -f * 0.36), name, japaneseFont(std::max(9.0, f * 0.17), true));
  drawCentredText(p, c + QPointF(0, f * 0.42), QString::fromStdString(g.unit), japaneseFont(std::max(8.0, f * 0.13)));
}

void drawGlassGlint(QPainter& p, const Gauge& g, QPointF c) {
  const double f = gaugeFaceRadius(g);
  QPainterPath glint;
  glint.addEllipse(c, f, f);
  QPainterPath cut;
  cut.addEllipse(c + QPointF(f * 0.25, f * 0.3), f * 1.05, f * 1.05);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 255, 255, 28));
  p.drawPath(glint.subtracted(cut));
}

}  // namespace

double gaugeFaceRadius(const Gauge& g) { return g.r - bezelWidth(g) - 1.5; }

double gaugeAngle(const Gauge& g, double value) {
  if (g.lowScale == 0) return g.offset + value * g.scale;
  if (value < 10) return g.offset + value * g.lowScale;
  return g.offset + value * g.scale - (g.scale - g.lowScale) * 10;
}

double gaugeMinimum(const Gauge& g) { return g.offset == 0 && g.ammeterMode == 0 ? -g.maximum : 0; }

void drawGaugeDial(QPainter& painter, const Gauge& g, QPointF centre) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  drawBezel(painter, g, centre);
  drawFace(painter, g, centre);
  drawBands(painter, g, centre);
  drawScale(painter, g, centre);
  drawLabels(painter, g, centre);
  drawGlassGlint(painter, g, centre);
  painter.restore();
}

QImage needlePicture(const Gauge& g) {
  const int side = 2 * g.r;
  QImage canvas = transparentCanvas(side, side);
  const double f = gaugeFaceRadius(g);
  const QPointF c(g.r, g.r);
  const double half = std::max(2.0, f * 0.03);
  QPainter p(&canvas);
  p.setRenderHint(QPainter::Antialiasing);
  // The pointer tapers from the hub to the tip; a short tail balances it.
  QPainterPath pointer;
  pointer.moveTo(c + QPointF(-1.0, -f * 0.9));
  pointer.lineTo(c + QPointF(1.0, -f * 0.9));
  pointer.lineTo(c + QPointF(half, 0));
  pointer.lineTo(c + QPointF(half * 1.4, f * 0.2));
  pointer.lineTo(c + QPointF(-half * 1.4, f * 0.2));
  pointer.lineTo(c + QPointF(-half, 0));
  pointer.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(needleColour(g));
  p.drawPath(pointer);
  const double hub = std::max(5.0, f * 0.1);
  QRadialGradient cap(c + QPointF(-hub * 0.3, -hub * 0.3), hub * 1.3);
  cap.setColorAt(0, QColor(0x70, 0x72, 0x76));
  cap.setColorAt(1, QColor(0x10, 0x10, 0x12));
  p.setBrush(cap);
  p.drawEllipse(c, hub, hub);
  p.end();
  return keyedPicture(canvas, QColor(0xF6, 0xF6, 0xF2));
}

}  // namespace vesk::demo
