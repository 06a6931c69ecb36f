// DriveSession: one loaded drive with its sound bank and the simulation thread that runs it in real time. The
// window talks to the drive only through here: input and commands into the runner's queue, snapshots out.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>

#include "app/sound_bank_factory.h"
#include "media/sound_bank.h"
#include "sim/autopilot.h"
#include "sim/drive_runner.h"
#include "sim/drive_setup.h"
#include "sim/input_event.h"
#include "sim/input_queue.h"
#include "sim/realtime_runner.h"
#include "sim/run_record.h"

namespace vesk::app {

class DriveSession {
 public:
  explicit DriveSession(const SoundBankFactory& makeBank = makeSoundBank);
  ~DriveSession();
  DriveSession(const DriveSession&) = delete;
  DriveSession& operator=(const DriveSession&) = delete;

  // Loads the drive the way the driving window does (phase texts through `services.progress`). Throws
  // data::DataError with the message to show.
  void load(const sim::DriveChoice& choice, const sim::Settings& settings, const sim::LoadServices& services);
  sim::LoadedDrive& loaded() { return *loaded_; }
  sim::Drive& drive() { return *loaded_->drive; }
  media::SoundBank& sounds() { return *bank_; }

  // The simulation thread: started once; paused and resumed without a jump in simulated time; stopped for good
  // at the end, which also silences every channel and lets go of the waves.
  void start();
  void pause();
  void resume();
  bool paused() const;
  void stop();

  // Input and window commands, applied on the simulation thread at the moment the drive stands at.
  void push(sim::InputEvent event, std::int64_t atMs = sim::InputQueue::kNow);
  // The queue itself, for those that push from the window thread for the drive's whole life (the controllers).
  sim::InputQueue& input() { return runner_->input(); }

  // The automatic driver's demonstration: while on, it drives the train through the input queue like the keys;
  // the window ends it when the driver presses a key. It is made afresh each time on the simulation thread.
  void setDemonstration(bool on) { demonstration_ = on; }
  bool demonstration() const { return demonstration_; }
  // The run curve so far: the record of the drive, copied under the drive's lock.
  sim::RunRecord runRecord() const;

  std::int64_t virtualNowMs() const;
  sim::TimingReport timing() const;

 private:
  std::unique_ptr<media::SoundBank> bank_;
  std::unique_ptr<sim::LoadedDrive> loaded_;
  std::unique_ptr<sim::DriveRunner> runner_;
  std::unique_ptr<sim::RealTimeRunner> realtime_;
  bool stopped_ = false;
  std::atomic<bool> demonstration_{false};
  // Used on the simulation thread only (after each tick).
  std::unique_ptr<sim::RunRecord> record_;
  std::optional<sim::Autopilot> autopilot_;
};

}  // namespace vesk::app
