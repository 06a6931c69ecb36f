// What the run command refuses before it drives: numbers out of their range (UsageError), and a route file that
// is not a route, the most common slip being --route and --vehicle swapped (DriveChoiceError). Each is one plain
// sentence.
#pragma once

#include <cstdint>
#include <stdexcept>

#include "sim/drive_setup.h"
#include "vesk_sim/options.h"

namespace vesk::tools {

// The files or the station chosen cannot make a drive; the usage text would not help.
struct DriveChoiceError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct RunNumbers {
  std::int64_t durationMs = 0;
  std::int64_t every = 1;  // print every n-th tick's line; 0: none (a summary only)
};

// --ms at least 0, --every at least 1 when given, --start-station at least 0.
RunNumbers checkRunNumbers(const Options& options, bool summarise);

// The route file must look like a route (it has "[SpeedUnit]" rows or a "[Station]" list), the file names must
// not be the wrong way round, and the start station must be one of the route's. A route file that does not read
// is left to the drive's loading, which reports it with the simulator's message.
void checkDriveChoice(const sim::DriveChoice& choice);

}  // namespace vesk::tools
