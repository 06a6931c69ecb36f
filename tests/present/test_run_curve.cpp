// The run curve written as SVG and read back: the title, the stations and the stopping errors as texts, one
// speed line per drive drawn in its colour and scaled so that the fastest point is the highest, the notch lines
// under it, and a file that cannot be written reported.
#include <gtest/gtest.h>

#include <QFile>
#include <QXmlStreamReader>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "present/run_curve.h"
#include "support/temp_dir.h"

namespace vesk::present {
namespace {

struct Svg {
  std::vector<std::string> texts;
  // Points of every polyline, by stroke colour.
  std::map<std::string, std::vector<std::vector<QPointF>>> polylines;
  bool wellFormed = false;
};

std::vector<QPointF> points(const QString& text) {
  std::vector<QPointF> out;
  for (const QString& pair : text.split(' ', Qt::SkipEmptyParts)) {
    const QStringList xy = pair.split(',');
    if (xy.size() == 2) out.emplace_back(xy[0].toDouble(), xy[1].toDouble());
  }
  return out;
}

Svg readSvg(const std::filesystem::path& file) {
  Svg svg;
  QFile in(QString::fromStdString(file.string()));
  if (!in.open(QIODevice::ReadOnly)) return svg;
  QXmlStreamReader xml(&in);
  // QSvgGenerator puts the pen on a group around what it draws.
  std::vector<std::string> strokes = {""};
  while (!xml.atEnd()) {
    xml.readNext();
    if (xml.isStartElement()) {
      if (xml.name() == QLatin1String("text")) {
        svg.texts.push_back(xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed().toStdString());
        continue;
      }
      const auto a = xml.attributes();
      strokes.push_back(a.hasAttribute("stroke") ? a.value("stroke").toString().toStdString() : strokes.back());
      if (xml.name() == QLatin1String("polyline")) {
        svg.polylines[strokes.back()].push_back(points(a.value("points").toString()));
      }
    } else if (xml.isEndElement() && strokes.size() > 1) {
      strokes.pop_back();
    }
  }
  svg.wellFormed = !xml.hasError();
  return svg;
}

bool hasText(const Svg& svg, const std::string& text) {
  return std::find(svg.texts.begin(), svg.texts.end(), text) != svg.texts.end();
}

// A drive from A (0 m) to B (2 km): up to 80 km/h at 1 km, stopping 12 cm beyond B's mark.
RunCurveDrive driveTo(double top, double errorCm, std::string label) {
  RunCurveDrive d;
  d.label = std::move(label);
  for (int i = 0; i <= 200; ++i) {
    const double x = i * 1000.0;
    const double v = top * (1 - std::abs(i - 100) / 100.0);
    d.samples.push_back({std::int64_t{i} * 100, x, v, 90, v < top * 0.9 && i < 100 ? 3 : 0, i > 150 ? -3 : 0});
  }
  sim::StationVisit start;
  start.station = 0;
  start.name = "A";
  start.stopped = true;
  start.start = true;
  sim::StationVisit stop;
  stop.station = 1;
  stop.name = "B";
  stop.stopped = true;
  stop.stopErrorCm = errorCm;
  d.visits = {start, stop};
  return d;
}

RunCurveLine twoStations() {
  RunCurveLine line;
  line.title = "test line";
  line.stations = {{"A", 0, true}, {"B", 200000, true}};
  line.signalPositions = {50000, 150000};
  line.limits = {{80000, 120000, 60, sim::SpeedSpan::Source::Limit}};
  return line;
}

double highest(const std::vector<QPointF>& pts) {
  double y = 1e9;
  for (const QPointF& p : pts) y = std::min(y, p.y());
  return y;
}

TEST(RunCurve, WritesTheStationsStopErrorsAndOneSpeedLinePerDrive) {
  test::TempDir dir;
  const auto file = dir.path() / "curve.svg";
  ASSERT_TRUE(writeRunCurveSvg(file, twoStations(), {driveTo(80, 12, "mine"), driveTo(40, -230, "automatic")}));
  const Svg svg = readSvg(file);
  ASSERT_TRUE(svg.wellFormed);
  EXPECT_TRUE(hasText(svg, "test line"));
  EXPECT_TRUE(hasText(svg, "A"));
  EXPECT_TRUE(hasText(svg, "B"));
  EXPECT_TRUE(hasText(svg, "+12 cm")) << "the first drive's stopping error";
  EXPECT_TRUE(hasText(svg, "-230 cm")) << "the second's";
  EXPECT_FALSE(hasText(svg, "+0 cm")) << "the start station has no stopping error";
  const std::string first = runCurveColour(0).name().toStdString();
  const std::string second = runCurveColour(1).name().toStdString();
  // Each drive's speed line: a line of one point per sample in the drive's colour.
  const auto speedLine = [&](const std::string& colour) {
    std::vector<std::vector<QPointF>> found;
    if (svg.polylines.count(colour) != 0) {
      for (const auto& pts : svg.polylines.at(colour)) {
        if (pts.size() == 201) found.push_back(pts);
      }
    }
    return found;
  };
  ASSERT_EQ(speedLine(first).size(), 1u);
  ASSERT_EQ(speedLine(second).size(), 1u);
  // The faster drive's line reaches higher up the chart (SVG y grows downwards), twice as far above the axis.
  const auto mine = speedLine(first).front();
  const auto other = speedLine(second).front();
  const double axis = mine.front().y();
  EXPECT_NEAR(axis - highest(mine), 2 * (axis - highest(other)), 1.0);
  // Its fastest point is halfway along, where the chart is halfway across.
  const auto top = std::min_element(mine.begin(), mine.end(), [](QPointF a, QPointF b) { return a.y() < b.y(); });
  EXPECT_NEAR(top->x(), (mine.front().x() + mine.back().x()) / 2, 1.0);
}

TEST(RunCurve, ReportsAFileThatCannotBeWritten) {
  test::TempDir dir;
  EXPECT_FALSE(writeRunCurveSvg(dir.path() / "missing" / "curve.svg", twoStations(), {driveTo(80, 0, "mine")}));
}

}  // namespace
}  // namespace vesk::present
