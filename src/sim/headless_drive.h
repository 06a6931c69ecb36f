// A service driven once more without a window or sound, as fast as the machine goes: by the automatic driver, or
// by the timed events of a script. Its run record is what the run curve compares a drive with.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "sim/drive_setup.h"
#include "sim/run_record.h"
#include "sim/script.h"

namespace vesk::sim {

struct HeadlessDrive {
  Settings settings;
  std::uint32_t seed = 0;           // the random draws (the door chance of one-man trains)
  bool byAutopilot = true;          // else only `events` drive
  std::vector<ScriptEvent> events;  // applied at their times, before the automatic driver's keys
  std::int64_t ms = 3600000;        // at most this long; the drive stops earlier when the run ends
};

// Loads the drive of `choice` anew and drives it. Throws data::DataError when the drive cannot be loaded.
std::unique_ptr<RunRecord> driveHeadless(const DriveChoice& choice, const LoadServices& services,
                                         const HeadlessDrive& how);

}  // namespace vesk::sim
