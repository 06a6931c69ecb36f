#include "demo_line/guide_pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

#include "demo_line/line_model.h"
#include "demo_line/picture_canvas.h"

namespace vesk::demo {
namespace {

const QColor kLineColour(0x00, 0x8C, 0x95);  // the line's colour: harbour teal
const QColor kScreenTop(0x0C, 0x1C, 0x34);
const QColor kScreenBottom(0x16, 0x32, 0x58);
const QColor kHighlight(0xFF, 0xA8, 0x20);
const QString kLineName = QStringLiteral("港湾線");

QImage monitorCell(const std::vector<RouteStop>& stops, int highlight) {
  QImage canvas = transparentCanvas(kMonitorWidth, kMonitorHeight);
  QPainter p(&canvas);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x26, 0x28, 0x2C));
  p.drawRoundedRect(QRectF(0, 0, kMonitorWidth, kMonitorHeight), 8, 8);
  const QRectF screen(5, 5, kMonitorWidth - 10, kMonitorHeight - 10);
  QLinearGradient glow(0, screen.top(), 0, screen.bottom());
  glow.setColorAt(0, kScreenTop);
  glow.setColorAt(1, kScreenBottom);
  p.setBrush(glow);
  p.drawRect(screen);
  // Header: the line's name in its colour.
  p.setBrush(kLineColour);
  p.drawRect(QRectF(screen.left(), screen.top(), screen.width(), 22));
  p.setPen(Qt::white);
  drawLeftText(p, QPointF(screen.left() + 8, screen.top() + 11), kLineName, japaneseFont(13, true));
  drawLeftText(p, QPointF(screen.right() - 52, screen.top() + 11), QStringLiteral("停車駅"), japaneseFont(11));
  // The station in question, large; the ends of the line when none is.
  const QPointF middle(screen.center().x(), screen.top() + 50);
  if (highlight >= 0 && highlight < static_cast<int>(stops.size())) {
    const QString name = stops[static_cast<std::size_t>(highlight)].name;
    p.setPen(Qt::white);
    drawCentredText(p, middle, name, fittedFont(name, screen.width() - 20, 34, 30, true));
  } else if (!stops.empty()) {
    const QString ends = stops.front().name + QStringLiteral(" ⇔ ") + stops.back().name;
    p.setPen(QColor(0xC8, 0xD8, 0xE8));
    drawCentredText(p, middle, ends, fittedFont(ends, screen.width() - 20, 24, 18, true));
  }
  RouteMapStyle style;
  style.line = kLineColour;
  style.text = QColor(0xF0, 0xF4, 0xF8);
  style.passed = QColor(0x70, 0x7C, 0x8A);
  style.highlight = kHighlight;
  style.nameSize = 11;
  drawRouteStrip(p, QRectF(screen.left() + 2, screen.top() + 80, screen.width() - 4, 54), stops, highlight, style);
  p.end();
  return keyedPicture(canvas, QColor(0x26, 0x28, 0x2C));
}

// Heights along the demo line (metres, from its gradients), one every `step` metres.
std::vector<double> profileOf(const Line& line, double step) {
  std::vector<double> heights = {0};
  double h = 0;
  for (double x = step; x <= line.length; x += step) {
    for (const Gradient& g : line.gradients) {
      const double overlap = std::min(x, g.to) - std::max(x - step, g.from);
      if (overlap > 0) h += overlap * g.permil / 1000;
    }
    heights.push_back(h);
  }
  return heights;
}

void drawProfile(QPainter& p, const QRectF& area, const std::vector<RouteStop>& stops) {
  const Line& line = demoLine();
  const double step = 50;
  const std::vector<double> heights = profileOf(line, step);
  const auto [lowest, highest] = std::minmax_element(heights.begin(), heights.end());
  const double lo = *lowest;
  const double span = std::max(1.0, *highest - lo);
  const double first = line.stations.front().at;
  const double last = line.stations.back().at;
  auto xOf = [&](double metres) { return area.left() + (metres - first) / (last - first) * area.width(); };
  auto yOf = [&](double h) { return area.bottom() - (h - lo) / span * area.height() * 0.8; };
  QPainterPath ground;
  ground.moveTo(xOf(first), area.bottom());
  for (std::size_t i = 0; i < heights.size(); ++i) {
    const double x = static_cast<double>(i) * step;
    if (x < first || x > last) continue;
    ground.lineTo(xOf(x), yOf(heights[i]));
  }
  ground.lineTo(xOf(last), area.bottom());
  ground.closeSubpath();
  QLinearGradient fill(0, area.top(), 0, area.bottom());
  fill.setColorAt(0, QColor(0x5A, 0x9A, 0x50));
  fill.setColorAt(1, QColor(0x2A, 0x4A, 0x2A));
  p.setPen(QPen(QColor(0x9A, 0xD0, 0x80), 1.5));
  p.setBrush(fill);
  p.drawPath(ground);
  // Tunnels as dark bars under the profile line.
  for (const Span& t : line.tunnels) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x10, 0x14, 0x18));
    const double h = heights[static_cast<std::size_t>((t.from + t.to) / 2 / step)];
    p.drawRect(QRectF(xOf(t.from), yOf(h) - 2, xOf(t.to) - xOf(t.from), 8));
  }
  p.setPen(QPen(QColor(0xFF, 0xFF, 0xFF, 90), 1, Qt::DashLine));
  for (const RouteStop& s : stops) {
    const double x = area.left() + s.at * area.width();
    p.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
  }
  p.setPen(QColor(0xB8, 0xC8, 0xD8));
  drawLeftText(p, QPointF(area.left(), area.top() - 10), QStringLiteral("縦断面  (トンネル: 黒)"), japaneseFont(11));
}

void paintForwardScene(QImage& view) {
  QPainter p(&view);
  p.setRenderHint(QPainter::Antialiasing);
  const double w = view.width();
  const double h = view.height();
  const QPointF vanish(w * 0.5, h * 0.44);
  QLinearGradient sky(0, 0, 0, vanish.y());
  sky.setColorAt(0, QColor(0x6A, 0x9C, 0xD4));
  sky.setColorAt(1, QColor(0xD4, 0xE6, 0xF2));
  p.fillRect(QRectF(0, 0, w, vanish.y() + 1), sky);
  // Hills on the horizon, then the fields.
  QPainterPath hills;
  hills.moveTo(0, vanish.y());
  for (int x = 0; x <= static_cast<int>(w); x += 8) {
    hills.lineTo(x, vanish.y() - 22 - 18 * std::sin(x * 0.011) - 9 * std::sin(x * 0.031 + 1));
  }
  hills.lineTo(w, vanish.y());
  hills.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x5E, 0x86, 0x6A));
  p.drawPath(hills);
  QLinearGradient fields(0, vanish.y(), 0, h);
  fields.setColorAt(0, QColor(0x7A, 0x9A, 0x5A));
  fields.setColorAt(1, QColor(0x4A, 0x6E, 0x34));
  p.fillRect(QRectF(0, vanish.y(), w, h - vanish.y()), fields);
  // Ballast, sleepers and rails running to the vanishing point.
  auto at = [&](double depth, double side) {
    // depth 0 = under the cab, 1 = the horizon; side in gauge widths.
    const double scale = 1 - depth;
    return QPointF(vanish.x() + side * 260 * scale, vanish.y() + (h - vanish.y()) * scale);
  };
  p.setBrush(QColor(0x8A, 0x80, 0x74));
  p.drawPolygon(QPolygonF({at(0, -1.6), at(0, 1.6), at(0.999, 0.05), at(0.999, -0.05)}));
  p.setBrush(QColor(0x5A, 0x4C, 0x40));
  for (double d = 0.02; d < 0.97; d += 0.09 * (1 - d) + 0.004) {
    p.drawPolygon(QPolygonF({at(d, -1.2), at(d, 1.2), at(d + 0.012 * (1 - d), 1.2), at(d + 0.012 * (1 - d), -1.2)}));
  }
  p.setPen(QPen(QColor(0xC8, 0xCC, 0xD0), 3));
  for (double side : {-0.55, 0.55}) p.drawLine(at(0, side), at(0.995, side * 0.9));
  // Catenary poles on the left, shrinking into the distance.
  p.setPen(QPen(QColor(0x60, 0x64, 0x68), 4));
  for (double d = 0.1; d < 0.95; d += 0.25 * (1 - d) + 0.02) {
    const QPointF foot = at(d, -2.4);
    const double height = 330 * (1 - d);
    p.setPen(QPen(QColor(0x60, 0x64, 0x68), std::max(1.0, 6 * (1 - d))));
    p.drawLine(foot, foot - QPointF(0, height));
    p.drawLine(foot - QPointF(0, height * 0.92), at(d, 0) - QPointF(0, height * 0.92));
  }
  p.setPen(QPen(QColor(0x30, 0x34, 0x38), 1.5));
  p.drawLine(QPointF(vanish.x(), 0), QPointF(vanish.x(), vanish.y() - 8));
}

}  // namespace

QImage monitorSheet(const std::vector<RouteStop>& stops) {
  std::vector<QImage> cells;
  cells.reserve(stops.size() + 1);
  for (int k = 0; k < static_cast<int>(stops.size()); ++k) cells.push_back(monitorCell(stops, k));
  cells.push_back(monitorCell(stops, -1));
  return gridSheet(cells, static_cast<int>(cells.size()));
}

QImage stafOverlayPicture(const std::vector<RouteStop>& stops) {
  const int w = 460;
  const int h = 497;
  QImage canvas = transparentCanvas(w, h);
  QPainter p(&canvas);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF card(4, 4, w - 8, h - 8);
  QPainterPath outline;
  outline.addRoundedRect(card, 16, 16);
  QLinearGradient back(0, card.top(), 0, card.bottom());
  back.setColorAt(0, QColor(0x12, 0x28, 0x40));
  back.setColorAt(1, QColor(0x08, 0x14, 0x20));
  p.setPen(Qt::NoPen);
  p.setBrush(back);
  p.drawPath(outline);
  p.save();
  p.setClipPath(outline);
  QLinearGradient band(0, 0, w, 0);
  band.setColorAt(0, kLineColour);
  band.setColorAt(1, kLineColour.darker(160));
  p.fillRect(QRectF(0, 0, w, 96), band);
  p.restore();
  p.setPen(QPen(kLineColour.lighter(130), 2));
  p.setBrush(Qt::NoBrush);
  p.drawPath(outline);
  p.setPen(Qt::white);
  drawLeftText(p, QPointF(30, 44), kLineName, japaneseFont(44, true));
  drawLeftText(p, QPointF(32, 80), QStringLiteral("KŌWAN LINE"), japaneseFont(15, true));
  p.setPen(QColor(0xFF, 0xFF, 0xFF, 200));
  drawLeftText(p, QPointF(w - 100, 44), QStringLiteral("VESK"), japaneseFont(26, true));
  // The stations top to bottom in down order.
  const double top = 140;
  const double bottom = 404;
  const double lineX = 110;
  if (!stops.empty()) {
    p.setPen(QPen(kLineColour, 8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(lineX, top), QPointF(lineX, bottom));
  }
  for (std::size_t i = 0; i < stops.size(); ++i) {
    const RouteStop& s = stops[i];
    const double y = top + s.at * (bottom - top);
    const bool terminal = i == 0 || i + 1 == stops.size();
    p.setPen(QPen(kLineColour.darker(120), 3));
    p.setBrush(Qt::white);
    if (terminal) {
      p.drawRoundedRect(QRectF(lineX - 11, y - 11, 22, 22), 4, 4);
    } else {
      p.drawEllipse(QPointF(lineX, y), 9, 9);
    }
    p.setPen(Qt::white);
    drawLeftText(p, QPointF(lineX + 34, y), s.name, japaneseFont(terminal ? 26 : 22, true));
    if (s.km >= 0) {
      p.setPen(QColor(0x9A, 0xB4, 0xCC));
      const QString km = QString::number(s.km, 'f', 1) + QStringLiteral(" km");
      drawLeftText(p, QPointF(w - 120, y), km, japaneseFont(16));
    }
  }
  if (!stops.empty()) {
    p.setPen(QColor(0xC8, 0xD8, 0xE8));
    drawLeftText(p, QPointF(30, 462), QStringLiteral("下り ↓ ") + stops.back().name + QStringLiteral("方面"),
                 japaneseFont(16));
    drawLeftText(p, QPointF(240, 462), QStringLiteral("上り ↑ ") + stops.front().name + QStringLiteral("方面"),
                 japaneseFont(16));
  }
  p.end();
  return keyedPicture(canvas, QColor(0x30, 0x30, 0x30));
}

QImage standbyPicture() {
  QImage view(800, 450, QImage::Format_RGB32);
  paintForwardScene(view);
  // Dim the view to a third and cool it, then write the message across a darker band.
  for (int y = 0; y < view.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(view.scanLine(y));
    for (int x = 0; x < view.width(); ++x) {
      const int grey = (qRed(line[x]) + qGreen(line[x]) + qBlue(line[x])) / 3;
      line[x] = qRgb((qRed(line[x]) + grey) / 6, (qGreen(line[x]) + grey) / 6, (qBlue(line[x]) + grey) / 5);
    }
  }
  QPainter p(&view);
  p.setRenderHint(QPainter::Antialiasing);
  p.fillRect(QRectF(0, 150, 800, 150), QColor(0, 0, 0, 110));
  p.fillRect(QRectF(0, 150, 800, 2), kLineColour);
  p.fillRect(QRectF(0, 298, 800, 2), kLineColour);
  p.setPen(Qt::white);
  drawCentredText(p, QPointF(400, 205), QStringLiteral("一時停止中"), japaneseFont(64, true));
  p.setPen(QColor(0xC8, 0xD8, 0xE8));
  drawCentredText(p, QPointF(400, 265), QStringLiteral("P A U S E D"), japaneseFont(26, true));
  return view;
}

QImage routeMapPicture(const std::vector<RouteStop>& stops) {
  QImage map(480, 360, QImage::Format_RGB32);
  QPainter p(&map);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient back(0, 0, 0, 360);
  back.setColorAt(0, QColor(0x10, 0x22, 0x38));
  back.setColorAt(1, QColor(0x06, 0x10, 0x1C));
  p.fillRect(QRectF(0, 0, 480, 360), back);
  p.fillRect(QRectF(0, 0, 480, 6), kLineColour);
  p.setPen(Qt::white);
  drawLeftText(p, QPointF(20, 34), kLineName + QStringLiteral("  路線図"), japaneseFont(24, true));
  if (!stops.empty() && stops.back().km >= 0) {
    p.setPen(QColor(0x9A, 0xB4, 0xCC));
    const QString length = QStringLiteral("営業キロ ") + QString::number(stops.back().km - stops.front().km, 'f', 1) +
                           QStringLiteral(" km");
    drawLeftText(p, QPointF(300, 36), length, japaneseFont(14));
  }
  RouteMapStyle style;
  style.line = kLineColour;
  style.text = Qt::white;
  style.passed = QColor(0x70, 0x7C, 0x8A);
  style.highlight = kHighlight;
  style.nameSize = 17;
  style.showKm = true;
  drawRouteStrip(p, QRectF(10, 80, 460, 100), stops, -1, style);
  if (!stops.empty() && stops.back().km >= 0) {
    // Under the map: its end stations sit half a station's share in from the map's ends.
    const double margin = 230.0 / static_cast<double>(stops.size());
    drawProfile(p, QRectF(10 + margin, 230, 460 - 2 * margin, 100), stops);
  }
  return map;
}

}  // namespace vesk::demo
