#include "vesk_sim/drive_summary.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace vesk::tools {
namespace {

std::string clockText(std::int32_t units) {
  const int s = units / 30;
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", s / 3600 % 100, s / 60 % 60, s % 60);
  return text;
}

}  // namespace

DriveSummary::DriveSummary(const sim::LoadedDrive& loaded, std::string routeFile, std::string vehicleFile)
    : loaded_(loaded), routeFile_(std::move(routeFile)), vehicleFile_(std::move(vehicleFile)),
      startPosition_(loaded.drive->state.position) {
  // Stations at or behind the start do not count as passed.
  const data::RouteData& r = *loaded.route;
  while (nextStation_ < r.stationCount &&
         r.stations[static_cast<std::size_t>(nextStation_)].frame <= loaded.drive->state.frame) {
    ++nextStation_;
  }
}

void DriveSummary::afterTick(const sim::Drive& drive) {
  ++ticks_;
  maxSpeed_ = std::max(maxSpeed_, std::fabs(drive.state.speed));
  const data::RouteData& r = *loaded_.route;
  while (nextStation_ < r.stationCount &&
         drive.state.frame >= r.stations[static_cast<std::size_t>(nextStation_)].frame) {
    passed_.emplace_back(ticks_ * 100, nextStation_);
    ++nextStation_;
  }
}

std::string DriveSummary::text(std::int64_t timeMs) const {
  const sim::Drive& d = *loaded_.drive;
  const data::RouteData& r = *loaded_.route;
  std::string out;
  char line[256];
  std::snprintf(line, sizeof line, "%s with %s: %s\n", routeFile_.c_str(), vehicleFile_.c_str(), r.lineName.c_str());
  out += line;
  std::snprintf(line, sizeof line, "  drove %.0f s (clock %s), %.2f km, top speed %.1f km/h, now %.1f km/h\n",
                static_cast<double>(timeMs) / 1000, clockText(d.state.clock).c_str(),
                (d.state.position - startPosition_) / 100000.0, maxSpeed_, d.state.speed);
  out += line;
  for (const auto& [ms, station] : passed_) {
    const data::StationRow& s = r.stations[static_cast<std::size_t>(station)];
    std::snprintf(line, sizeof line, "  %6.0f s  %s %s (timetable %s)\n", static_cast<double>(ms) / 1000,
                  s.kind == 1 ? "passed " : "reached", s.name.c_str(), clockText(s.departureTime).c_str());
    out += line;
  }
  const bool reachedEnd =
      r.stationCount > 0 && d.state.frame >= r.stations[static_cast<std::size_t>(r.stationCount - 1)].frame;
  std::snprintf(line, sizeof line, "  frame %d of %d; %s\n", d.state.frame, d.lastFramePosition,
                reachedEnd ? "reached the end of the line" : "did not reach the end of the line");
  out += line;
  return out;
}

}  // namespace vesk::tools
