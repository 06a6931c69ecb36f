// The run curve of `vesk-sim run --plot FILE.svg`: the drive just made, and with --plot-against a second drive of
// the same service (the automatic driver's, or a script's) drawn over it.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "sim/drive_setup.h"
#include "sim/run_record.h"

namespace vesk::tools {

struct PlottedDrive {
  std::string label;
  const sim::RunRecord* record = nullptr;
};

// Throws UsageError when the file cannot be written.
void writeRunCurve(const std::filesystem::path& file, const std::string& title,
                   const std::vector<PlottedDrive>& drives);

// Drives the service once more, headless, by the automatic driver ("autopilot") or by the script at `against`,
// for at most `ms` milliseconds, and returns its record.
std::unique_ptr<sim::RunRecord> recordAnotherDrive(const sim::DriveChoice& choice, const sim::Settings& settings,
                                                   std::uint32_t seed, const std::string& against, std::int64_t ms);

}  // namespace vesk::tools
