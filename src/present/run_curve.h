// The run curve of a drive: speed over distance with the speed limits, the signals and the stations (and how far
// from each stopping mark the train stood), and under it the power and brake notches in effect. Several drives of
// one service drawn over each other compare them (one's own drive against the automatic driver's). Drawn with
// QPainter, so that the window shows it and the headless runner writes it as SVG.
#pragma once

#include <QColor>
#include <QPainter>
#include <QRectF>

#include <filesystem>
#include <string>
#include <vector>

#include "sim/run_record.h"

namespace vesk::present {

// One drive as the chart draws it.
struct RunCurveDrive {
  std::string label;  // "automatic driver", "script", ...
  std::vector<sim::RunSample> samples;
  std::vector<sim::StationVisit> visits;
};

// What the chart shows of the line (taken from the first drive's record).
struct RunCurveLine {
  std::string title;
  std::vector<sim::StationMark> stations;
  std::vector<double> signalPositions;  // cm
  std::vector<sim::SpeedSpan> limits;   // the fixed limits and section speeds
};

RunCurveDrive runCurveDrive(const sim::RunRecord& record, std::string label);
RunCurveLine runCurveLine(const sim::RunRecord& record, std::string title);

// The colour each drive is drawn in, by its place in the list.
QColor runCurveColour(std::size_t index);

// Draws the chart into `area`.
void drawRunCurve(QPainter& painter, const QRectF& area, const RunCurveLine& line,
                  const std::vector<RunCurveDrive>& drives);

// Writes the chart as an SVG file of 1600 x 900; false when the file cannot be written.
bool writeRunCurveSvg(const std::filesystem::path& file, const RunCurveLine& line,
                      const std::vector<RunCurveDrive>& drives);

}  // namespace vesk::present
