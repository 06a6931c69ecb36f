#include "vesk_sim/run_plot.h"

#include <fstream>
#include <optional>
#include <sstream>

#include "media/video_source.h"
#include "media/virtual_sound_bank.h"
#include "present/run_curve.h"
#include "sim/autopilot.h"
#include "sim/drive_runner.h"
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
  std::vector<sim::ScriptEvent> events;
  const bool byAutopilot = against == "autopilot";
  if (!byAutopilot) {
    std::ifstream in(against, std::ios::binary);
    if (!in) throw UsageError("cannot read the script " + against);
    std::stringstream text;
    text << in.rdbuf();
    events = sim::parseScript(text.str());
  }
  std::optional<sim::DriveRunner> runner;
  media::VirtualSoundBank bank([&runner] { return runner ? runner->now() : std::int64_t{0}; });
  bank.setRecording(false);
  sim::LoadServices services;
  services.videoFrameCount = media::videoFrameCount;
  const auto loaded = sim::loadDrive(choice, bank, services, settings);
  sim::Drive& drive = *loaded->drive;
  drive.seedRandom(seed);
  runner.emplace(drive);
  auto record = std::make_unique<sim::RunRecord>(drive);
  std::optional<sim::Autopilot> autopilot;
  if (byAutopilot) autopilot.emplace(drive);
  runner->setAfterTick([&] {
    record->afterTick(drive);
    if (autopilot) {
      for (sim::InputEvent& e : autopilot->decide(drive)) runner->input().push(std::move(e), runner->now() + 1);
    }
  });
  for (const sim::ScriptEvent& e : events) {
    if (e.timeMs <= ms) runner->input().push(sim::scriptInput(e), e.timeMs);
  }
  while (runner->now() < ms && !record->runEnded()) {
    runner->runUntil(std::min(runner->now() + sim::Scheduler::kTickMs, ms));
  }
  return record;
}

}  // namespace vesk::tools
