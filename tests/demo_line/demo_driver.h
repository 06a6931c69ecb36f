// A driver for scripted drives of the demo line: it watches the drive after every tick and works the keys as a
// driver would (power to the line speed, respect the speed limits, brake to each stopping mark, wait for the
// doors and the departure), and writes down what it typed as a vesk-sim script. Replaying the script through
// the headless runner repeats the drive exactly.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vesk::demo {

struct DriveRequest {
  std::filesystem::path pack;
  std::string vehicle;
  std::string route;
  std::int64_t ms = 0;  // how long to drive at most (the drive also stops when the run has ended)
};

struct RecordedDrive {
  std::vector<std::string> script;  // "T char C" lines
  std::int64_t endedAtMs = -1;      // when the run ended at the last station; -1 if it did not
};

RecordedDrive recordDrive(const DriveRequest& request);

}  // namespace vesk::demo
