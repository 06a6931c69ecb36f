#include "demo_line/panel_pictures.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "demo_line/gauge_pictures.h"
#include "demo_line/picture_canvas.h"
#include "demo_line/picture_files.h"

namespace vesk::demo {
namespace {

const QColor kUnlitGlass(0x16, 0x18, 0x1A);
const QColor kDisplayGlass(0x0E, 0x10, 0x0F);

QRectF onPanel(int x, int y, int w, int h) { return QRectF(x, y - kPanelTop, w, h); }

// Painted steel: the family colour, lighter towards the windscreen, with a fine deterministic grain.
void paintBackground(QImage& panel, const PanelLayout& layout) {
  const QColor base = rgbColour(layout.colour);
  FixedRandom grain(0x5EED0000u + layout.colour);
  for (int y = 0; y < panel.height(); ++y) {
    const QColor row = mixColours(base.lighter(118), base.darker(135), static_cast<double>(y) / panel.height());
    auto* line = reinterpret_cast<QRgb*>(panel.scanLine(y));
    for (int x = 0; x < panel.width(); ++x) {
      const int n = static_cast<int>(grain.next() % 7) - 3;
      line[x] = qRgb(std::clamp(row.red() + n, 0, 255), std::clamp(row.green() + n, 0, 255),
                     std::clamp(row.blue() + n, 0, 255));
    }
  }
  QPainter p(&panel);
  // The top lip under the windscreen.
  p.fillRect(QRectF(0, 0, kPanelWidth, 7), QColor(0x14, 0x16, 0x18));
  p.fillRect(QRectF(0, 7, kPanelWidth, 1), base.lighter(150));
  p.fillRect(QRectF(0, kPanelHeight - 2, kPanelWidth, 2), base.darker(200));
}

// A darker recess with a shadowed upper edge, the way instruments sit in a moulded desk.
void drawRecess(QPainter& p, const QRectF& area, const QColor& base) {
  p.setPen(Qt::NoPen);
  p.setBrush(base.darker(160));
  p.drawRoundedRect(area, 10, 10);
  QLinearGradient shade(0, area.top(), 0, area.top() + 14);
  shade.setColorAt(0, QColor(0, 0, 0, 110));
  shade.setColorAt(1, QColor(0, 0, 0, 0));
  p.setBrush(shade);
  p.drawRoundedRect(area, 10, 10);
  p.setPen(QPen(base.lighter(130), 1));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(area.adjusted(0.5, 0.5, -0.5, -0.5), 10, 10);
}

QRectF gaugeBox(const Gauge& g) { return QRectF(g.cx - g.r, g.cy - kPanelTop - g.r, 2 * g.r, 2 * g.r); }

void drawGaugeRecesses(QPainter& p, const PanelLayout& layout) {
  const QColor base = rgbColour(layout.colour);
  QRectF speed;
  QRectF others;
  for (const Gauge& g : layout.gauges) {
    QRectF& box = g.key == "[Needle_Speed]" ? speed : others;
    box = box.isNull() ? gaugeBox(g) : box.united(gaugeBox(g));
  }
  const QRectF limit(4, 10, kPanelWidth - 8, kPanelHeight - 14);
  if (!speed.isNull()) drawRecess(p, speed.adjusted(-10, -10, 10, 10).intersected(limit), base);
  if (!others.isNull()) drawRecess(p, others.adjusted(-10, -10, 10, 10).intersected(limit), base);
}

QColor labelInk(QColor lit) {
  const double luminance = 0.299 * lit.red() + 0.587 * lit.green() + 0.114 * lit.blue();
  return luminance > 150 ? QColor(0x18, 0x18, 0x18) : QColor(0xFF, 0xFF, 0xFF);
}

// A dark window under each lamp: its label shows faintly in the lamp's colour while the lamp is off.
void drawLampPlaces(QPainter& p, const PanelLayout& layout) {
  if (layout.lamps.empty()) return;
  for (const Lamp& lamp : layout.lamps) {
    const QRectF r = onPanel(lamp.x, lamp.y, lamp.w, lamp.h);
    p.setPen(QPen(QColor(0x08, 0x08, 0x0A), 2));
    p.setBrush(kUnlitGlass);
    p.drawRoundedRect(r.adjusted(-1, -1, 1, 1), 5, 5);
    const QString label = qtext(lamp.label);
    p.setPen(mixColours(rgbColour(lamp.colour), kUnlitGlass, 0.7));
    drawCentredText(p, r.center(), label, fittedFont(label, lamp.w - 8, lamp.h - 8, 13, true));
  }
}

QString stripLabel(const Strip& strip) {
  if (strip.key == "[NotchImageP]") return QStringLiteral("力行");
  if (strip.key == "[NotchImageB]") return QStringLiteral("制動");
  if (strip.key == "[GearImageList]") return QStringLiteral("変速段");
  if (strip.key == "[GearImageList2]") return QStringLiteral("変速機");
  return {};
}

void drawStripFrames(QPainter& p, const PanelLayout& layout) {
  for (const Strip& strip : layout.strips) {
    const QRectF r = onPanel(strip.x, strip.y, strip.cellW, strip.cellH);
    p.setPen(QPen(QColor(0x08, 0x08, 0x0A), 2));
    p.setBrush(kUnlitGlass);
    p.drawRoundedRect(r.adjusted(-2, -2, 2, 2), 5, 5);
    p.setPen(QColor(0xD8, 0xDC, 0xE0));
    drawLeftText(p, QPointF(r.right() + 7, r.center().y()), stripLabel(strip), japaneseFont(12, true));
  }
}

void drawDigitalWindow(QPainter& p, const PanelLayout& layout) {
  if (layout.digiSpeed.empty()) return;
  const QRectF r = onPanel(layout.digiX, layout.digiY, layout.digiW, layout.digiH);
  p.setPen(QPen(QColor(0x60, 0x64, 0x68), 2));
  p.setBrush(kDisplayGlass);
  p.drawRoundedRect(r.adjusted(-2, -2, 2, 2), 4, 4);
}

// The face under the program's analog clock (it draws the hands in a 50 x 50 square at clockX, clockY).
void drawClockFace(QPainter& p, const PanelLayout& layout) {
  if (layout.clockX <= 0 || layout.clockY <= 0) return;
  const QPointF c(layout.clockX + 25, layout.clockY - kPanelTop + 25);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, 90));
  p.drawEllipse(c + QPointF(1, 2), 26, 26);
  p.setBrush(QColor(0x9A, 0x9E, 0xA2));
  p.drawEllipse(c, 26, 26);
  p.setBrush(QColor(0xFA, 0xFA, 0xF6));
  p.drawEllipse(c, 23.5, 23.5);
  for (int h = 0; h < 12; ++h) {
    const double a = h * std::numbers::pi / 6;
    const bool quarter = h % 3 == 0;
    const QPointF dir(std::sin(a), -std::cos(a));
    p.setPen(QPen(QColor(0x20, 0x20, 0x22), quarter ? 2.2 : 1.2, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(c + dir * 22, c + dir * (quarter ? 17.5 : 19.5));
  }
}

void drawNamePlate(QPainter& p, const PanelLayout& layout) {
  const QRectF plate(560, 24, 120, 26);
  p.setPen(QPen(QColor(0x9A, 0x9E, 0xA2), 1));
  QLinearGradient metal(0, plate.top(), 0, plate.bottom());
  metal.setColorAt(0, QColor(0xD8, 0xDA, 0xDC));
  metal.setColorAt(1, QColor(0x90, 0x94, 0x98));
  p.setBrush(metal);
  p.drawRoundedRect(plate, 3, 3);
  QString name = qtext(layout.family).toUpper() + QStringLiteral("形");
  p.setPen(QColor(0x1C, 0x1E, 0x22));
  drawCentredText(p, plate.center(), name, japaneseFont(15, true));
}

// A row of push buttons, the horn and door-talk switches every cab desk has.
void drawDeskButtons(QPainter& p) {
  const std::array<QString, 4> labels = {QStringLiteral("警笛"), QStringLiteral("電笛"), QStringLiteral("連絡"),
                                         QStringLiteral("EB復帰")};
  const std::array<QColor, 4> caps = {QColor(0x30, 0x30, 0x34), QColor(0x30, 0x30, 0x34), QColor(0x2C, 0x6C, 0xC8),
                                      QColor(0xD8, 0x30, 0x28)};
  for (std::size_t i = 0; i < labels.size(); ++i) {
    const QPointF c(505 + 44.0 * static_cast<double>(i), 104);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 90));
    p.drawEllipse(c + QPointF(1, 2), 11, 11);
    p.setBrush(QColor(0xB0, 0xB4, 0xB8));
    p.drawEllipse(c, 11, 11);
    QRadialGradient cap(c + QPointF(-3, -3), 10);
    cap.setColorAt(0, caps[i].lighter(170));
    cap.setColorAt(1, caps[i]);
    p.setBrush(cap);
    p.drawEllipse(c, 8, 8);
    p.setPen(QColor(0xE0, 0xE4, 0xE8));
    drawCentredText(p, c + QPointF(0, 20), labels[i], japaneseFont(10, true));
  }
}

void drawScrews(QPainter& p) {
  for (const QPointF c : {QPointF(12, 20), QPointF(788, 20), QPointF(12, 388), QPointF(788, 388)}) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xA0, 0xA4, 0xA8));
    p.drawEllipse(c, 4, 4);
    p.setPen(QPen(QColor(0x50, 0x54, 0x58), 1.2));
    p.drawLine(c + QPointF(-2.5, -2.5), c + QPointF(2.5, 2.5));
  }
}

QColor stripColour(const std::string& text) {
  if (text == "非常") return QColor(0xFF, 0x28, 0x20);
  if (text == "切" || text == "緩" || text == "緩め" || text == "N" || text == "中立") return QColor(0xE8, 0xEC, 0xF0);
  if (text == "運転") return QColor(0x60, 0xF0, 0x70);
  if (text == "重なり") return QColor(0xFF, 0xD8, 0x40);
  if (text == "常用") return QColor(0xFF, 0x90, 0x30);
  if (text[0] == 'P') return QColor(0xFF, 0xC0, 0x30);
  if (text[0] == 'B') return QColor(0xFF, 0x70, 0x30);
  return QColor(0x70, 0xD0, 0xFF);  // gears
}

// A backlit window: the colour brightest in the middle, a darker rim, the label on it.
QImage litWindow(int w, int h, QColor colour, const QString& label) {
  QImage canvas = transparentCanvas(w, h);
  QPainter p(&canvas);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF r(0.5, 0.5, w - 1, h - 1);
  QRadialGradient light(r.center(), std::max(w, h) * 0.6);
  light.setColorAt(0, colour.lighter(125));
  light.setColorAt(1, colour.darker(108));
  p.setPen(QPen(colour.darker(150), 1));
  p.setBrush(light);
  p.drawRoundedRect(r, 4, 4);
  p.setPen(labelInk(colour));
  drawCentredText(p, r.center(), label, fittedFont(label, w - 8, h - 8, 14, true));
  p.end();
  return keyedPicture(canvas, kUnlitGlass);
}

// The seven segments a..g of a digit: which of them each figure lights.
constexpr std::array<unsigned char, 10> kSegments = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};

void drawSegmentDigit(QPainter& p, QRectF box, int digit, QColor on, QColor off) {
  const double t = std::max(2.0, box.width() * 0.22);  // segment thickness
  const double w = box.width();
  const double h = box.height();
  const double half = h / 2;
  // Each segment as a hexagon between two points.
  auto segment = [&](QPointF a, QPointF b, bool lit) {
    const bool horizontal = a.y() == b.y();
    const double e = t / 2;
    QPainterPath path;
    if (horizontal) {
      path.moveTo(a.x() + 0.5, a.y());
      path.lineTo(a.x() + e + 0.5, a.y() - e);
      path.lineTo(b.x() - e - 0.5, b.y() - e);
      path.lineTo(b.x() - 0.5, b.y());
      path.lineTo(b.x() - e - 0.5, b.y() + e);
      path.lineTo(a.x() + e + 0.5, a.y() + e);
    } else {
      path.moveTo(a.x(), a.y() + 0.5);
      path.lineTo(a.x() + e, a.y() + e + 0.5);
      path.lineTo(b.x() + e, b.y() - e - 0.5);
      path.lineTo(b.x(), b.y() - 0.5);
      path.lineTo(b.x() - e, b.y() - e - 0.5);
      path.lineTo(a.x() - e, a.y() + e + 0.5);
    }
    path.closeSubpath();
    p.setBrush(lit ? on : off);
    p.drawPath(path);
  };
  const double l = box.left() + t / 2;
  const double r = box.left() + w - t / 2;
  const double top = box.top() + t / 2;
  const double mid = box.top() + half;
  const double bottom = box.top() + h - t / 2;
  const unsigned mask = digit >= 0 ? kSegments[static_cast<std::size_t>(digit)] : 0;
  p.setPen(Qt::NoPen);
  segment({l, top}, {r, top}, mask & 0x01);
  segment({r, top}, {r, mid}, mask & 0x02);
  segment({r, mid}, {r, bottom}, mask & 0x04);
  segment({l, bottom}, {r, bottom}, mask & 0x08);
  segment({l, mid}, {l, bottom}, mask & 0x10);
  segment({l, top}, {l, mid}, mask & 0x20);
  segment({l, mid}, {r, mid}, mask & 0x40);
}

QImage digitalCell(int w, int h, int speed) {
  QImage canvas = transparentCanvas(w, h);
  QPainter p(&canvas);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(0x30, 0x34, 0x30), 1));
  p.setBrush(kDisplayGlass);
  p.drawRoundedRect(QRectF(0.5, 0.5, w - 1, h - 1), 3, 3);
  const QColor on(0x50, 0xFF, 0x70);
  const QColor off(0x16, 0x20, 0x19);
  const double digitH = h * 0.72;
  const double digitW = digitH * 0.55;
  const double gap = digitW * 0.4;
  const double total = 3 * digitW + 2 * gap;
  const double left = (w - total) / 2;
  const double top = (h - digitH) / 2;
  const std::array<int, 3> digits = {speed >= 100 ? speed / 100 : -1, speed >= 10 ? speed / 10 % 10 : -1, speed % 10};
  for (std::size_t i = 0; i < digits.size(); ++i) {
    const QRectF box(left + static_cast<double>(i) * (digitW + gap), top, digitW, digitH);
    drawSegmentDigit(p, box, digits[i], on, off);
  }
  p.end();
  return keyedPicture(canvas, kDisplayGlass);
}

}  // namespace

QImage panelPicture(const PanelLayout& layout) {
  QImage panel(kPanelWidth, kPanelHeight, QImage::Format_RGB32);
  paintBackground(panel, layout);
  QPainter p(&panel);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  drawScrews(p);
  drawGaugeRecesses(p, layout);
  for (const Gauge& g : layout.gauges) drawGaugeDial(p, g, QPointF(g.cx, g.cy - kPanelTop));
  drawLampPlaces(p, layout);
  drawStripFrames(p, layout);
  drawDigitalWindow(p, layout);
  drawClockFace(p, layout);
  drawNamePlate(p, layout);
  drawDeskButtons(p);
  return panel;
}

QImage darkPanelPicture(const QImage& panel) {
  QImage dark = panel.convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < dark.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(dark.scanLine(y));
    for (int x = 0; x < dark.width(); ++x) {
      // A quarter of the light, a little bluer: the cab lit only by the tunnel lamps.
      line[x] = qRgb(qRed(line[x]) * 22 / 100, qGreen(line[x]) * 24 / 100, qBlue(line[x]) * 30 / 100);
    }
  }
  dark.setPixel(0, dark.height() - 1, kKeyColour);
  return dark;
}

QImage lampPicture(const Lamp& lamp) { return litWindow(lamp.w, lamp.h, rgbColour(lamp.colour), qtext(lamp.label)); }

QImage stripPicture(const Strip& strip) {
  std::vector<QImage> cells;
  for (const std::string& text : strip.cells) {
    cells.push_back(litWindow(strip.cellW, strip.cellH, stripColour(text), qtext(text)));
  }
  return gridSheet(cells, static_cast<int>(cells.size()));
}

QImage digitalSpeedPicture(const PanelLayout& layout) {
  std::vector<QImage> cells;
  cells.reserve(kDigitalCells);
  for (int k = 0; k < kDigitalCells; ++k) cells.push_back(digitalCell(layout.digiW, layout.digiH, k));
  return gridSheet(cells, kDigitalCellsPerRow);
}

void writePanelPictures(const PictureFolder& folder, const PanelLayout& layout) {
  const QImage panel = panelPicture(layout);
  folder.write(layout.panel, panel);
  folder.write(layout.panel2, darkPanelPicture(panel));
  for (const Gauge& g : layout.gauges) folder.write(g.needle, needlePicture(g));
  for (const Lamp& lamp : layout.lamps) folder.write(lamp.picture, lampPicture(lamp));
  for (const Strip& strip : layout.strips) folder.write(strip.picture, stripPicture(strip));
  if (!layout.digiSpeed.empty()) folder.write(layout.digiSpeed, digitalSpeedPicture(layout));
}

}  // namespace vesk::demo
