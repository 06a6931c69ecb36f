#include "sim/headless_drive.h"

#include <algorithm>
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
  // The automatic driver presses its keys a millisecond after the tick it saw, as in the window.
  runner->setAfterTick([&] {
    record->afterTick(drive);
    if (autopilot) {
      for (InputEvent& e : autopilot->decide(drive)) runner->input().push(std::move(e), runner->now() + 1);
    }
  });
  for (const ScriptEvent& e : how.events) {
    if (e.timeMs <= how.ms) runner->input().push(scriptInput(e), e.timeMs);
  }
  while (runner->now() < how.ms && !record->runEnded()) {
    runner->runUntil(std::min(runner->now() + Scheduler::kTickMs, how.ms));
  }
  return record;
}

}  // namespace vesk::sim
