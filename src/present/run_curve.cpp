#include "present/run_curve.h"

#include <QFile>
#include <QFont>
#include <QPainterPath>
#include <QSvgGenerator>

#include <algorithm>
#include <cmath>

namespace vesk::present {
namespace {

constexpr double kMargin = 60;
constexpr double kNotchShare = 0.28;  // of the height, for the notch strips

struct Scale {
  double x0 = 0, x1 = 1;  // cm
  double vMax = 100;      // km/h
  QRectF speedArea;
  QRectF notchArea;
  double x(double cm) const { return speedArea.left() + (cm - x0) / std::max(x1 - x0, 1.0) * speedArea.width(); }
  double y(double kmh) const { return speedArea.bottom() - std::clamp(kmh, 0.0, vMax) / vMax * speedArea.height(); }
};

Scale scaleFor(const QRectF& area, const RunCurveLine& line, const std::vector<RunCurveDrive>& drives) {
  Scale s;
  bool any = false;
  double top = 0;
  for (const RunCurveDrive& d : drives) {
    for (const sim::RunSample& p : d.samples) {
      if (!any) s.x0 = s.x1 = p.position;
      any = true;
      s.x0 = std::min(s.x0, p.position);
      s.x1 = std::max(s.x1, p.position);
      top = std::max(top, std::fabs(p.speed));
    }
  }
  // The stations the drives started at and stopped at belong on the chart, though the train stood a little
  // to either side of their marks.
  for (const RunCurveDrive& d : drives) {
    for (const sim::StationVisit& v : d.visits) {
      if (!any || v.station < 0 || v.station >= static_cast<int>(line.stations.size())) continue;
      const double at = line.stations[static_cast<std::size_t>(v.station)].position;
      s.x0 = std::min(s.x0, at);
      s.x1 = std::max(s.x1, at);
    }
  }
  if (!any && !line.stations.empty()) {
    s.x0 = line.stations.front().position;
    s.x1 = line.stations.back().position;
  }
  for (const sim::SpeedSpan& l : line.limits) {
    if (l.to >= s.x0 && l.from <= s.x1 && l.kmh < 400) top = std::max(top, l.kmh);
  }
  s.vMax = std::max(20.0, std::ceil((top + 5) / 10) * 10);
  const QRectF inner = area.adjusted(kMargin, kMargin, -kMargin / 2, -kMargin / 2);
  const double notchHeight = inner.height() * kNotchShare;
  s.speedArea = QRectF(inner.left(), inner.top(), inner.width(), inner.height() - notchHeight - 20);
  s.notchArea = QRectF(inner.left(), inner.bottom() - notchHeight, inner.width(), notchHeight);
  return s;
}

void drawGrid(QPainter& p, const Scale& s) {
  p.setPen(QPen(QColor(220, 220, 220), 1));
  for (double v = 0; v <= s.vMax; v += 10)
    p.drawLine(QPointF(s.speedArea.left(), s.y(v)), QPointF(s.speedArea.right(), s.y(v)));
  const double firstKm = std::ceil(s.x0 / 100000);
  for (double km = firstKm; km * 100000 <= s.x1; km += 1) {
    p.drawLine(QPointF(s.x(km * 100000), s.speedArea.top()), QPointF(s.x(km * 100000), s.notchArea.bottom()));
  }
  p.setPen(QPen(Qt::black, 1));
  p.drawRect(s.speedArea);
  p.drawRect(s.notchArea);
  QFont f = p.font();
  f.setPixelSize(12);
  p.setFont(f);
  for (double v = 0; v <= s.vMax; v += 20) {
    p.drawText(QRectF(s.speedArea.left() - 50, s.y(v) - 8, 44, 16), Qt::AlignRight | Qt::AlignVCenter,
               QString::number(v, 'f', 0));
  }
  for (double km = firstKm; km * 100000 <= s.x1; km += 1) {
    p.drawText(QRectF(s.x(km * 100000) - 30, s.notchArea.bottom() + 2, 60, 16), Qt::AlignCenter,
               QString("%1 km").arg(km, 0, 'f', 0));
  }
  p.drawText(QRectF(s.speedArea.left() - 55, s.speedArea.top() - 22, 80, 16), Qt::AlignLeft, "km/h");
}

// The fixed limits as one stepped line: the lowest limit at each point.
void drawLimits(QPainter& p, const Scale& s, const RunCurveLine& line) {
  std::vector<double> edges = {s.x0, s.x1};
  for (const sim::SpeedSpan& l : line.limits) {
    if (l.from > s.x0 && l.from < s.x1) edges.push_back(l.from);
    if (l.to > s.x0 && l.to < s.x1) edges.push_back(l.to);
  }
  std::sort(edges.begin(), edges.end());
  QPainterPath path;
  bool started = false;
  for (std::size_t i = 0; i + 1 < edges.size(); ++i) {
    const double mid = (edges[i] + edges[i + 1]) / 2;
    double lowest = s.vMax;
    for (const sim::SpeedSpan& l : line.limits) {
      if (l.from <= mid && mid <= l.to) lowest = std::min(lowest, l.kmh);
    }
    const QPointF a(s.x(edges[i]), s.y(lowest));
    if (!started)
      path.moveTo(a);
    else
      path.lineTo(a);
    started = true;
    path.lineTo(QPointF(s.x(edges[i + 1]), s.y(lowest)));
  }
  p.setPen(QPen(QColor(200, 30, 30), 2, Qt::DashLine));
  p.setBrush(Qt::NoBrush);
  p.drawPath(path);
}

void drawLineMarks(QPainter& p, const Scale& s, const RunCurveLine& line) {
  p.setPen(QPen(QColor(90, 90, 90), 1));
  for (double at : line.signalPositions) {
    if (at < s.x0 || at > s.x1) continue;
    const double x = s.x(at);
    p.drawLine(QPointF(x, s.speedArea.bottom()), QPointF(x, s.speedArea.bottom() - 12));
    p.drawEllipse(QPointF(x, s.speedArea.bottom() - 15), 3, 3);
  }
  QFont f = p.font();
  f.setPixelSize(13);
  p.setFont(f);
  for (const sim::StationMark& st : line.stations) {
    if (st.position < s.x0 - 1 || st.position > s.x1 + 1) continue;
    const double x = s.x(st.position);
    p.setPen(QPen(QColor(60, 60, 160), 1, st.stop ? Qt::SolidLine : Qt::DotLine));
    p.drawLine(QPointF(x, s.speedArea.top()), QPointF(x, s.speedArea.bottom()));
    p.drawText(QRectF(x - 80, s.speedArea.top() - 20, 160, 18), Qt::AlignCenter, QString::fromStdString(st.name));
  }
}

void drawSpeeds(QPainter& p, const Scale& s, const std::vector<RunCurveDrive>& drives) {
  for (std::size_t k = 0; k < drives.size(); ++k) {
    const RunCurveDrive& d = drives[k];
    // The speed allowed at each moment (signals included), thin, under the drive's own speed.
    QPolygonF allowed;
    for (const sim::RunSample& sample : d.samples) allowed << QPointF(s.x(sample.position), s.y(sample.allowed));
    p.setPen(QPen(QColor(240, 150, 150), 1));
    if (k == 0) p.drawPolyline(allowed);
    QPolygonF speed;
    for (const sim::RunSample& sample : d.samples) speed << QPointF(s.x(sample.position), s.y(std::fabs(sample.speed)));
    p.setPen(QPen(runCurveColour(k), 2));
    p.drawPolyline(speed);
  }
}

void drawStopErrors(QPainter& p, const Scale& s, const RunCurveLine& line, const std::vector<RunCurveDrive>& drives) {
  QFont f = p.font();
  f.setPixelSize(12);
  p.setFont(f);
  for (std::size_t k = 0; k < drives.size(); ++k) {
    p.setPen(QPen(runCurveColour(k), 1));
    for (const sim::StationVisit& v : drives[k].visits) {
      if (!v.stopped || v.start || v.station < 0 || v.station >= static_cast<int>(line.stations.size())) continue;
      const double x = s.x(line.stations[static_cast<std::size_t>(v.station)].position);
      const double y = s.speedArea.bottom() - 30 - 16 * static_cast<double>(k);
      p.drawText(QRectF(x - 60, y - 8, 120, 16), Qt::AlignCenter,
                 QString("%1%2 cm").arg(v.stopErrorCm >= 0 ? "+" : "").arg(std::lround(v.stopErrorCm)));
    }
  }
}

// The notches in effect: power above the middle line, brake below, one strip per drive.
void drawNotches(QPainter& p, const Scale& s, const std::vector<RunCurveDrive>& drives) {
  const double strips = static_cast<double>(std::max<std::size_t>(drives.size(), 1));
  const double h = s.notchArea.height() / strips;
  int most = 1;
  for (const RunCurveDrive& d : drives) {
    for (const sim::RunSample& sample : d.samples) most = std::max({most, sample.powerNotch, -sample.brakeNotch});
  }
  QFont f = p.font();
  f.setPixelSize(11);
  p.setFont(f);
  for (std::size_t k = 0; k < drives.size(); ++k) {
    const double mid = s.notchArea.top() + h * (static_cast<double>(k) + 0.5);
    const double unit = (h / 2 - 4) / most;
    QPolygonF power;
    QPolygonF brake;
    for (const sim::RunSample& sample : drives[k].samples) {
      const double x = s.x(sample.position);
      power << QPointF(x, mid - std::max(sample.powerNotch, 0) * unit);
      brake << QPointF(x, mid + std::max(-sample.brakeNotch, 0) * unit);
    }
    p.setPen(QPen(QColor(20, 140, 40), 1.5));
    p.drawPolyline(power);
    p.setPen(QPen(QColor(200, 120, 0), 1.5));
    p.drawPolyline(brake);
    p.setPen(QPen(QColor(160, 160, 160), 1));
    p.drawLine(QPointF(s.notchArea.left(), mid), QPointF(s.notchArea.right(), mid));
    p.setPen(QPen(runCurveColour(k), 1));
    p.drawText(QRectF(s.notchArea.left() + 4, mid - h / 2 + 2, 300, 14), Qt::AlignLeft,
               QString("%1: P up, B down").arg(QString::fromStdString(drives[k].label)));
  }
}

void drawLegend(QPainter& p, const QRectF& area, const RunCurveLine& line, const std::vector<RunCurveDrive>& drives) {
  QFont f = p.font();
  f.setPixelSize(16);
  p.setFont(f);
  p.setPen(Qt::black);
  p.drawText(QRectF(area.left() + kMargin, area.top() + 6, area.width() / 2, 20), Qt::AlignLeft,
             QString::fromStdString(line.title));
  f.setPixelSize(13);
  p.setFont(f);
  double x = area.left() + area.width() / 2;
  for (std::size_t k = 0; k < drives.size(); ++k) {
    p.setPen(QPen(runCurveColour(k), 3));
    p.drawLine(QPointF(x, area.top() + 16), QPointF(x + 24, area.top() + 16));
    p.setPen(Qt::black);
    p.drawText(QRectF(x + 28, area.top() + 8, 220, 18), Qt::AlignLeft, QString::fromStdString(drives[k].label));
    x += 240;
  }
  p.setPen(QPen(QColor(200, 30, 30), 2, Qt::DashLine));
  p.drawLine(QPointF(x, area.top() + 16), QPointF(x + 24, area.top() + 16));
  p.setPen(Qt::black);
  p.drawText(QRectF(x + 28, area.top() + 8, 120, 18), Qt::AlignLeft, "speed limit");
}

}  // namespace

RunCurveDrive runCurveDrive(const sim::RunRecord& record, std::string label) {
  return {std::move(label), record.samples(), record.visits()};
}

RunCurveLine runCurveLine(const sim::RunRecord& record, std::string title) {
  RunCurveLine line;
  line.title = std::move(title);
  line.stations = record.stationMarks();
  for (double at : record.line().signalPositions()) {
    if (at >= 0) line.signalPositions.push_back(at);
  }
  for (const sim::SpeedSpan& span : record.line().fixedSpans()) {
    if (span.source != sim::SpeedSpan::Source::TopSpeed) line.limits.push_back(span);
  }
  return line;
}

QColor runCurveColour(std::size_t index) {
  static const QColor colours[] = {QColor(20, 80, 200), QColor(0, 150, 130), QColor(150, 40, 160), QColor(90, 90, 90)};
  return colours[index % (sizeof colours / sizeof colours[0])];
}

void drawRunCurve(QPainter& painter, const QRectF& area, const RunCurveLine& line,
                  const std::vector<RunCurveDrive>& drives) {
  painter.save();
  painter.fillRect(area, Qt::white);
  const Scale s = scaleFor(area, line, drives);
  drawGrid(painter, s);
  drawLimits(painter, s, line);
  drawLineMarks(painter, s, line);
  drawSpeeds(painter, s, drives);
  drawStopErrors(painter, s, line, drives);
  drawNotches(painter, s, drives);
  drawLegend(painter, area, line, drives);
  painter.restore();
}

bool writeRunCurveSvg(const std::filesystem::path& file, const RunCurveLine& line,
                      const std::vector<RunCurveDrive>& drives) {
  QFile out(QString::fromStdString(file.string()));
  if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  QSvgGenerator svg;
  svg.setOutputDevice(&out);
  svg.setSize(QSize(1600, 900));
  svg.setViewBox(QRect(0, 0, 1600, 900));
  svg.setTitle(QString::fromStdString(line.title));
  svg.setDescription("run curve");
  QPainter painter;
  if (!painter.begin(&svg)) return false;
  drawRunCurve(painter, QRectF(0, 0, 1600, 900), line, drives);
  painter.end();
  return out.error() == QFileDevice::NoError;
}

}  // namespace vesk::present
