#include "sim/headless_drive.h"

#include <optional>

#include "media/virtual_sound_bank.h"
#include "sim/autopilot.h"
#include "sim/drive_runner.h"

namespace vesk::sim {

std::unique_ptr<RunRecord> driveHeadless(const DriveChoice& choice, const LoadServices& services,
                                         const HeadlessDrive& how) {
  std::optional<DriveRunner> runner;
  media::VirtualSoundBank bank([&runner] { return runner ? runner->now() : std::int64_t{0}; });
  bank.setRecording(false);
  const auto loaded = loadDrive(choice, bank, services, how.settings);
  Drive& drive = *loaded->drive;
  drive.seedRandom(how.seed);
  runner.emplace(drive);
  auto record = std::make_unique<RunRecord>(drive);
  std::optional<Autopilot> autopilot;
  if (how.byAutopilot) autopilot.emplace(drive);
  runner->setAfterTick([&] {
    record->afterTick(drive);
    if (autopilot) pressAutopilotKeys(*autopilot, *runner);
  });
  for (const ScriptEvent& e : how.events) {
    if (e.timeMs <= how.ms) runner->input().push(scriptInput(e), e.timeMs);
  }
  runner->runUntil(how.ms, [&] { return record->runEnded(); });
  return record;
}

}  // namespace vesk::sim
