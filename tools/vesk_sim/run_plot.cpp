#include "vesk_sim/run_plot.h"

#include <fstream>
#include <sstream>

#include "media/video_source.h"
#include "present/run_curve.h"
#include "sim/headless_drive.h"
#include "sim/script.h"
#include "vesk_sim/options.h"

namespace vesk::tools {

void writeRunCurve(const std::filesystem::path& file, const std::string& title,
                   const std::vector<PlottedDrive>& drives) {
  if (drives.empty() || drives.front().record == nullptr) return;
  const present::RunCurveLine line = present::runCurveLine(*drives.front().record, title);
  std::vector<present::RunCurveDrive> curves;
  for (const PlottedDrive& d : drives) {
    if (d.record != nullptr) curves.push_back(present::runCurveDrive(*d.record, d.label));
  }
  if (!present::writeRunCurveSvg(file, line, curves)) throw UsageError("cannot write the run curve " + file.string());
}

std::unique_ptr<sim::RunRecord> recordAnotherDrive(const sim::DriveChoice& choice, const sim::Settings& settings,
                                                   std::uint32_t seed, const std::string& against, std::int64_t ms) {
  sim::HeadlessDrive how;
  how.settings = settings;
  how.seed = seed;
  how.ms = ms;
  how.byAutopilot = against == "autopilot";
  if (!how.byAutopilot) {
    std::ifstream in(against, std::ios::binary);
    if (!in) throw UsageError("cannot read the script " + against);
    std::stringstream text;
    text << in.rdbuf();
    how.events = sim::parseScript(text.str());
  }
  sim::LoadServices services;
  services.videoFrameCount = media::videoFrameCount;
  return sim::driveHeadless(choice, services, how);
}

}  // namespace vesk::tools
