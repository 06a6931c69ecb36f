#include "demo_line/signal_pictures.h"

#include <QPainterPath>
#include <QRadialGradient>

#include <array>
#include <cmath>
#include <numbers>
#include <string>

#include "demo_line/picture_canvas.h"
#include "demo_line/pictures.h"

namespace vesk::demo {
namespace {

struct PatternRow {
  int pattern;
  int headType;
  const char* lamps;
};

// Lamp lenses of each head, top to bottom. Red sits low on the head, as on Japanese lineside signals.
const char* lensesOf(int headType) {
  switch (headType) {
  case 1:
  case 2:
  case 3:
    return "GYR";
  case 4:
  case 5:
    return "YGYR";
  case 6:
    return "YGYRY";
  case 7:
    return "GYRG";
  case 8:
    return "YGYRG";
  default:
    return "";
  }
}

// The lit lamps of every pattern. Repeaters (type 0) name the colour of their bar: a horizontal bar for stop,
// a diagonal one for caution, a vertical one for proceed. Cab signals (type 9) show a speed.
constexpr std::array<PatternRow, 40> kPatterns = {{
    {1, 0, "R"},      {2, 0, "Y"},      {3, 0, "G"},                                           //
    {4, 1, "--R"},    {5, 1, "-Y-"},    {6, 1, "G--"},                                         //
    {7, 2, "--R"},    {8, 2, "-Y-"},    {9, 2, "G--"},                                         //
    {10, 3, "--R"},   {11, 3, "-Y-"},   {12, 3, "G--"},                                        //
    {13, 4, "---R"},  {14, 4, "--Y-"},  {15, 4, "YG--"},  {16, 4, "-G--"},                     //
    {17, 5, "---R"},  {18, 5, "Y-Y-"},  {19, 5, "--Y-"},  {20, 5, "-G--"},                     //
    {21, 6, "---R-"}, {22, 6, "--Y-Y"}, {23, 6, "--Y--"}, {24, 6, "YG---"}, {25, 6, "-G---"},  //
    {26, 7, "--R-"},  {27, 7, "-Y--"},  {28, 7, "G---"},  {29, 7, "G--G"},                     //
    {30, 8, "---R-"}, {31, 8, "--Y--"}, {32, 8, "YG---"}, {33, 8, "-G---"}, {34, 8, "-G--G"},  //
    {35, 9, "0"},     {36, 9, "25"},    {37, 9, "45"},    {38, 9, "65"},    {39, 9, "75"},    {40, 9, "90"},
}};

const PatternRow* rowOf(int pattern) {
  if (pattern < 1 || pattern > static_cast<int>(kPatterns.size())) return nullptr;
  return &kPatterns[static_cast<std::size_t>(pattern - 1)];
}

constexpr double kCentreX = kSignalCellWidth / 2.0;
constexpr int kHeadTop = 4;
constexpr QPointF kRepeaterCentre(kCentreX, 26);
constexpr double kRepeaterRadius = 20;
constexpr double kBarSpacing = 7;
const QRectF kCabSignalBox(3, 4, 42, 34);

QColor litColour(char lamp) {
  switch (lamp) {
  case 'R':
    return QColor(0xFF, 0x2A, 0x1E);
  case 'Y':
    return QColor(0xFF, 0xC2, 0x1A);
  default:
    return QColor(0x10, 0xE0, 0xA0);  // the blue-green of railway green
  }
}

QColor coreColour(char lamp) {
  switch (lamp) {
  case 'R':
    return QColor(0xFF, 0x80, 0x70);
  case 'Y':
    return QColor(0xFF, 0xE8, 0x90);
  default:
    return QColor(0xA0, 0xFF, 0xE0);
  }
}

double lampRadius(int lamps) { return lamps <= 3 ? 7 : 6; }
double lampSpacing(int lamps) { return 2 * lampRadius(lamps) + 4; }
double headHeight(int lamps) { return lamps * lampSpacing(lamps) + 6; }

// A lit lamp: a bright core fading to the lamp colour, with a glow around it.
void drawLitLamp(QPainter& p, QPointF c, double r, char lamp) {
  const QColor lit = litColour(lamp);
  QRadialGradient glow(c, r + 5);
  QColor inner = lit;
  inner.setAlpha(150);
  QColor outer = lit;
  outer.setAlpha(0);
  glow.setColorAt(0.5, inner);
  glow.setColorAt(1, outer);
  p.setPen(Qt::NoPen);
  p.setBrush(glow);
  p.drawEllipse(c, r + 5, r + 5);
  QRadialGradient lens(c, r);
  lens.setColorAt(0, coreColour(lamp));
  lens.setColorAt(0.55, lit);
  lens.setColorAt(1, lit.darker(125));
  p.setBrush(lens);
  p.drawEllipse(c, r, r);
}

// A dark lamp: the lens shows its colour only faintly, with a small reflection.
void drawDarkLamp(QPainter& p, QPointF c, double r, char lens) {
  const QColor base = mixColours(litColour(lens), QColor(0x10, 0x10, 0x10), 0.82);
  QRadialGradient g(c, r);
  g.setColorAt(0, base.lighter(115));
  g.setColorAt(1, base.darker(140));
  p.setPen(Qt::NoPen);
  p.setBrush(g);
  p.drawEllipse(c, r, r);
  p.setBrush(QColor(255, 255, 255, 45));
  p.drawEllipse(QPointF(c.x() - r * 0.4, c.y() - r * 0.4), r * 0.3, r * 0.3);
}

void drawPost(QPainter& p, double top) {
  QLinearGradient g(kCentreX - 3, 0, kCentreX + 3, 0);
  g.setColorAt(0, QColor(0x3C, 0x40, 0x44));
  g.setColorAt(0.4, QColor(0x6A, 0x6E, 0x72));
  g.setColorAt(1, QColor(0x34, 0x36, 0x3A));
  p.setPen(Qt::NoPen);
  p.setBrush(g);
  p.drawRect(QRectF(kCentreX - 3, top, 6, kSignalCellHeight - top));
  p.setBrush(QColor(0x2A, 0x2C, 0x2E));
  p.drawRect(QRectF(kCentreX - 5, top, 10, 3));  // the clamp under the head
}

void drawLampHead(QPainter& p, const PatternRow& row) {
  const std::string lenses = lensesOf(row.headType);
  const int n = static_cast<int>(lenses.size());
  const double r = lampRadius(n);
  const QRectF plate(kCentreX - 13, kHeadTop, 26, headHeight(n));
  drawPost(p, plate.bottom() - 2);
  QPainterPath outline;
  outline.addRoundedRect(plate, 13, 13);
  p.setPen(QPen(QColor(0x58, 0x5C, 0x60), 1));
  p.setBrush(QColor(0x0C, 0x0C, 0x0E));
  p.drawPath(outline);
  p.save();
  p.setClipPath(outline);
  for (int i = 0; i < n; ++i) {
    const QPointF c = signalLampCentre(row.pattern, i);
    const char lamp = row.lamps[i];
    if (lamp == '-') {
      drawDarkLamp(p, c, r, lenses[static_cast<std::size_t>(i)]);
    } else {
      drawLitLamp(p, c, r, lamp);
    }
    // The hood over each lamp.
    p.setPen(QPen(QColor(0x40, 0x42, 0x46), 2));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(c.x() - r - 2, c.y() - r - 2, 2 * r + 4, 2 * r + 4), 20 * 16, 140 * 16);
  }
  p.restore();
}

QPointF barDirection(char lamp) {
  const double d = std::numbers::sqrt2 / 2;
  switch (lamp) {
  case 'R':
    return {1, 0};  // horizontal: stop
  case 'Y':
    return {d, -d};  // diagonal: caution
  default:
    return {0, -1};  // vertical: proceed
  }
}

void drawRepeater(QPainter& p, const PatternRow& row) {
  drawPost(p, kRepeaterCentre.y() + kRepeaterRadius - 2);
  p.setPen(QPen(QColor(0x60, 0x64, 0x68), 1.5));
  p.setBrush(QColor(0x0C, 0x0C, 0x0E));
  p.drawEllipse(kRepeaterCentre, kRepeaterRadius, kRepeaterRadius);
  QPainterPath disc;
  disc.addEllipse(kRepeaterCentre, kRepeaterRadius - 1, kRepeaterRadius - 1);
  p.setClipPath(disc);
  // Every lamp place of the three bars, dark; then the bar in use, lit.
  for (char bar : {'R', 'Y', 'G'}) {
    const QPointF d = barDirection(bar);
    for (int i = -2; i <= 2; ++i) drawDarkLamp(p, kRepeaterCentre + d * (i * kBarSpacing), 3, 'Y');
  }
  const QPointF d = barDirection(row.lamps[0]);
  for (int i = -2; i <= 2; ++i) drawLitLamp(p, kRepeaterCentre + d * (i * kBarSpacing), 3, row.lamps[0]);
}

QColor cabSpeedColour(int speed) {
  if (speed == 0) return litColour('R');
  if (speed < 50) return litColour('Y');
  return litColour('G');
}

void drawCabSignal(QPainter& p, const PatternRow& row) {
  drawPost(p, kCabSignalBox.bottom() - 2);
  p.setPen(QPen(QColor(0x60, 0x64, 0x68), 1.5));
  p.setBrush(QColor(0x0C, 0x0C, 0x0E));
  p.drawRoundedRect(kCabSignalBox, 4, 4);
  const QString figure = QString::fromLatin1(row.lamps);
  const QColor lit = cabSpeedColour(figure.toInt());
  QRadialGradient glow(kCabSignalBox.center(), 18);
  QColor halo = lit;
  halo.setAlpha(70);
  glow.setColorAt(0, halo);
  halo.setAlpha(0);
  glow.setColorAt(1, halo);
  p.setPen(Qt::NoPen);
  p.setBrush(glow);
  p.drawRoundedRect(kCabSignalBox.adjusted(2, 2, -2, -2), 3, 3);
  p.setPen(lit);
  drawCentredText(p, signalLampCentre(row.pattern, 0), figure, japaneseFont(24, true));
}

}  // namespace

std::vector<SignalPattern> signalPatterns() {
  std::vector<SignalPattern> out;
  out.reserve(kPatterns.size());
  for (const PatternRow& row : kPatterns) out.push_back({row.pattern, row.lamps});
  return out;
}

int signalHeadType(int pattern) {
  const PatternRow* row = rowOf(pattern);
  return row ? row->headType : -1;
}

QPoint signalLampCentre(int pattern, int index) {
  const int type = signalHeadType(pattern);
  if (type == 0) return kRepeaterCentre.toPoint();
  if (type == 9) return kCabSignalBox.center().toPoint();
  const int n = static_cast<int>(std::string(lensesOf(type)).size());
  const double y = kHeadTop + 3 + lampSpacing(n) / 2 + index * lampSpacing(n);
  return QPointF(kCentreX, y).toPoint();
}

QPoint repeaterBarEnd(int pattern) {
  const PatternRow* row = rowOf(pattern);
  if (!row || row->headType != 0) return {};
  return (kRepeaterCentre + barDirection(row->lamps[0]) * (2 * kBarSpacing)).toPoint();
}

QImage signalCell(int pattern) {
  QImage canvas = transparentCanvas(kSignalCellWidth, kSignalCellHeight);
  if (const PatternRow* row = rowOf(pattern)) {
    QPainter p(&canvas);
    p.setRenderHint(QPainter::Antialiasing);
    if (row->headType == 0) {
      drawRepeater(p, *row);
    } else if (row->headType == 9) {
      drawCabSignal(p, *row);
    } else {
      drawLampHead(p, *row);
    }
  }
  // Seen against the scenery: edges blend towards a mid grey-green.
  return keyedPicture(canvas, QColor(0x70, 0x80, 0x70));
}

QImage signalSheet() {
  std::vector<QImage> cells;
  for (int k = 0; k <= static_cast<int>(kPatterns.size()); ++k) cells.push_back(signalCell(k));
  return gridSheet(cells, kSignalCellsPerRow);
}

QImage routeIndicatorSheet() {
  std::vector<QImage> cells;
  for (int k = 0; k <= 3; ++k) {
    QImage canvas = transparentCanvas(kRouteIndicatorCell, kRouteIndicatorCell);
    if (k > 0) {
      QPainter p(&canvas);
      p.setRenderHint(QPainter::Antialiasing);
      p.setPen(QPen(QColor(0x60, 0x64, 0x68), 1.5));
      p.setBrush(QColor(0x0C, 0x0C, 0x0E));
      p.drawRoundedRect(QRectF(1.5, 1.5, 29, 29), 4, 4);
      // An arrow pointing up, turned for the left and right indicators.
      p.translate(16, 16);
      p.rotate(k == 2 ? -90 : (k == 3 ? 90 : 0));
      QPainterPath arrow;
      arrow.moveTo(0, -11);
      arrow.lineTo(8, -2);
      arrow.lineTo(3, -2);
      arrow.lineTo(3, 11);
      arrow.lineTo(-3, 11);
      arrow.lineTo(-3, -2);
      arrow.lineTo(-8, -2);
      arrow.closeSubpath();
      p.setPen(QPen(QColor(255, 250, 230, 90), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      p.setBrush(QColor(0xFF, 0xFB, 0xEE));
      p.drawPath(arrow);
    }
    cells.push_back(keyedPicture(canvas, QColor(0x70, 0x80, 0x70)));
  }
  return gridSheet(cells, 4);
}

}  // namespace vesk::demo
