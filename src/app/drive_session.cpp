#include "app/drive_session.h"

#include <mutex>

namespace vesk::app {

DriveSession::DriveSession(const SoundBankFactory& makeBank) {
  // The drive's virtual time, read on the simulation thread where every sound operation runs.
  bank_ = makeBank([this] { return runner_ ? runner_->now() : std::int64_t{0}; });
}

DriveSession::~DriveSession() { stop(); }

void DriveSession::load(const sim::DriveChoice& choice, const sim::Settings& settings,
                        const sim::LoadServices& services) {
  loaded_ = sim::loadDrive(choice, *bank_, services, settings);
  runner_ = std::make_unique<sim::DriveRunner>(*loaded_->drive);
  record_ = std::make_unique<sim::RunRecord>(*loaded_->drive);
  runner_->setAfterTick([this] {
    sim::Drive& drive = *loaded_->drive;
    record_->afterTick(drive);
    if (!demonstration_) {
      autopilot_.reset();
      return;
    }
    if (!autopilot_) autopilot_.emplace(drive);
    sim::pressAutopilotKeys(*autopilot_, *runner_);
  });
  realtime_ = std::make_unique<sim::RealTimeRunner>(*runner_);
}

sim::RunRecord DriveSession::runRecord() const {
  std::lock_guard lock(loaded_->drive->mutex());
  return *record_;
}

void DriveSession::start() {
  if (realtime_ && !stopped_) realtime_->start();
}

void DriveSession::pause() {
  if (realtime_ && !stopped_) realtime_->pause();
}

void DriveSession::resume() {
  if (realtime_ && !stopped_) realtime_->resume();
}

bool DriveSession::paused() const { return realtime_ && realtime_->paused(); }

void DriveSession::stop() {
  if (!realtime_ || stopped_) return;
  stopped_ = true;
  realtime_->stop();
  // The simulation thread has ended: the sounds are this thread's now.
  std::lock_guard lock(loaded_->drive->mutex());
  for (int channel = 0; channel < media::SoundBank::kChannelCount; ++channel) {
    bank_->stop(channel);
    bank_->bind_wave(channel, nullptr);
  }
}

void DriveSession::push(sim::InputEvent event, std::int64_t atMs) {
  if (runner_ && !stopped_) runner_->input().push(std::move(event), atMs);
}

std::int64_t DriveSession::virtualNowMs() const { return realtime_ ? realtime_->virtualNowMs() : 0; }

sim::TimingReport DriveSession::timing() const { return realtime_ ? realtime_->timing() : sim::TimingReport{}; }

}  // namespace vesk::app
