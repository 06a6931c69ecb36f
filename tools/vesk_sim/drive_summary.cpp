#include "vesk_sim/drive_summary.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace vesk::tools {

std::string clockText(std::int32_t units) {
  const int s = units / 30;
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", s / 3600 % 100, s / 60 % 60, s % 60);
  return text;
}

DriveSummary::DriveSummary(const sim::LoadedDrive& loaded, std::string routeFile, std::string vehicleFile)
    : loaded_(loaded), routeFile_(std::move(routeFile)), vehicleFile_(std::move(vehicleFile)),
      startPosition_(loaded.drive->state.position) {
  // Stations at or behind the start do not count.
  const data::RouteData& r = *loaded.route;
  while (nextStation_ < r.stationCount &&
         r.stations[static_cast<std::size_t>(nextStation_)].frame <= loaded.drive->state.frame) {
    ++nextStation_;
  }
}

void DriveSummary::record(std::int64_t timeMs, bool stopped, double speed, double fromMarkCm) {
  events_.push_back({timeMs, nextStation_, stopped, speed, fromMarkCm});
  ++nextStation_;
  movedSinceEvent_ = false;
  markReached_ = false;
}

void DriveSummary::afterTick(const sim::Drive& drive) {
  ++ticks_;
  const double speed = std::fabs(drive.state.speed);
  maxSpeed_ = std::max(maxSpeed_, speed);
  if (speed > 0) movedSinceEvent_ = true;
  const data::RouteData& r = *loaded_.route;
  const double position = drive.state.position;
  while (nextStation_ < r.stationCount) {
    const data::StationRow& s = r.stations[static_cast<std::size_t>(nextStation_)];
    const bool inPlatform =
        static_cast<double>(s.platformStart) <= position && position <= static_cast<double>(s.platformEnd);
    if (inPlatform && speed == 0 && movedSinceEvent_) {
      record(ticks_ * 100, true, 0, position - static_cast<double>(s.position));
      continue;
    }
    if (!markReached_ && drive.state.frame >= s.frame) {
      markReached_ = true;
      markTimeMs_ = ticks_ * 100;
      speedAtMark_ = speed;
    }
    // Passed: beyond the mark and out of the platform without having stopped in it.
    if (markReached_ && !inPlatform) {
      record(markTimeMs_, false, speedAtMark_, 0);
      continue;
    }
    break;
  }
}

std::string DriveSummary::eventLine(const StationEvent& e) const {
  const data::StationRow& s = loaded_.route->stations[static_cast<std::size_t>(e.station)];
  char what[160];
  if (!e.stopped) {
    std::snprintf(what, sizeof what, "passed %s at %.0f km/h", s.name.c_str(), e.speed);
  } else if (std::fabs(e.fromMarkCm) < 5) {
    std::snprintf(what, sizeof what, "stopped at %s, on the mark", s.name.c_str());
  } else {
    std::snprintf(what, sizeof what, "stopped at %s, %.1f m %s the mark", s.name.c_str(), std::fabs(e.fromMarkCm) / 100,
                  e.fromMarkCm < 0 ? "short of" : "beyond");
  }
  char line[256];
  std::snprintf(line, sizeof line, "  %6.0f s  %s (timetable %s)\n", static_cast<double>(e.timeMs) / 1000, what,
                clockText(s.departureTime).c_str());
  return line;
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
  for (const StationEvent& e : events_) out += eventLine(e);
  // Past the mark and still in the platform, moving, when the drive ended.
  if (markReached_ && nextStation_ < r.stationCount) {
    out += eventLine({markTimeMs_, nextStation_, false, speedAtMark_, 0});
  }
  const bool reachedEnd =
      r.stationCount > 0 && d.state.frame >= r.stations[static_cast<std::size_t>(r.stationCount - 1)].frame;
  std::snprintf(line, sizeof line, "  frame %d of %d; %s\n", d.state.frame, d.lastFramePosition,
                reachedEnd ? "reached the end of the line" : "did not reach the end of the line");
  out += line;
  return out;
}

}  // namespace vesk::tools
