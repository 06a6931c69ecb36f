// A readable summary of a headless drive: the service and train, how far and how fast it went, where it stopped
// (and how far from each stopping mark) or at what speed it passed each station, and whether it reached the end
// of the line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sim/drive_setup.h"

namespace vesk::tools {

// A timetable clock value (1/30 s units) as HH:MM:SS.
std::string clockText(std::int32_t units);

class DriveSummary {
 public:
  DriveSummary(const sim::LoadedDrive& loaded, std::string routeFile, std::string vehicleFile);
  void afterTick(const sim::Drive& drive);
  std::string text(std::int64_t timeMs) const;

 private:
  // A station the train came to rest in (within its platform), or went past without stopping.
  struct StationEvent {
    std::int64_t timeMs = 0;
    int station = 0;
    bool stopped = false;
    double speed = 0;       // passed: km/h at the stopping mark
    double fromMarkCm = 0;  // stopped: position - stopping mark (negative: short of it)
  };
  void record(std::int64_t timeMs, bool stopped, double speed, double fromMarkCm);
  std::string eventLine(const StationEvent& event) const;

  const sim::LoadedDrive& loaded_;
  std::string routeFile_;
  std::string vehicleFile_;
  double startPosition_;
  double maxSpeed_ = 0;
  std::vector<StationEvent> events_;
  int nextStation_ = 0;
  bool movedSinceEvent_ = false;  // a train standing where it started has not stopped anywhere
  bool markReached_ = false;      // the next station's mark is behind the train, which is still in the platform
  double speedAtMark_ = 0;
  std::int64_t markTimeMs_ = 0;
  std::int64_t ticks_ = 0;
};

}  // namespace vesk::tools
