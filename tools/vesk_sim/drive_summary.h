// A readable summary of a headless drive: the service and train, how far and how fast it went, which stations it
// passed, and whether it reached the end of the line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sim/drive_setup.h"

namespace vesk::tools {

class DriveSummary {
 public:
  DriveSummary(const sim::LoadedDrive& loaded, std::string routeFile, std::string vehicleFile);
  void afterTick(const sim::Drive& drive);
  std::string text(std::int64_t timeMs) const;

 private:
  const sim::LoadedDrive& loaded_;
  std::string routeFile_;
  std::string vehicleFile_;
  double startPosition_;
  double maxSpeed_ = 0;
  std::vector<std::pair<std::int64_t, int>> passed_;  // (time ms, station) in the order passed
  int nextStation_ = 0;
  std::int64_t ticks_ = 0;
};

}  // namespace vesk::tools
