#include "sim/realtime_runner.h"

#include <algorithm>

namespace vesk::sim {
namespace {

double percentile(std::vector<float> values, double p) {
  if (values.empty()) return 0;
  const auto k = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1));
  std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(k), values.end());
  return values[k];
}

// Enough lateness samples for hours of driving; older ones are dropped in halves.
constexpr std::size_t kMaxSamples = 1 << 20;

void keep(std::vector<float>& samples, float value) {
  if (samples.size() >= kMaxSamples) samples.erase(samples.begin(), samples.begin() + kMaxSamples / 2);
  samples.push_back(value);
}

}  // namespace

RealTimeRunner::RealTimeRunner(DriveRunner& runner, double speed) : runner_(runner), speed_(speed) {}

RealTimeRunner::~RealTimeRunner() { stop(); }

void RealTimeRunner::start() {
  std::lock_guard lock(mutex_);
  if (thread_.joinable()) return;
  stopRequested_ = false;
  ended_ = false;
  virtualNow_ = runner_.now();
  origin_ = Clock::now() - std::chrono::duration_cast<Clock::duration>(
                               std::chrono::duration<double, std::milli>(static_cast<double>(virtualNow_) / speed_));
  runner_.input().setOnPush([this] {
    std::lock_guard inner(mutex_);
    inputWaiting_ = true;
    wake_.notify_all();
  });
  thread_ = std::thread([this] { loop(); });
}

void RealTimeRunner::pause() {
  std::unique_lock lock(mutex_);
  pauseRequested_ = true;
  wake_.notify_all();
  // Returns once the thread has stopped the routines and paused the sounds.
  wake_.wait(lock, [&] { return paused_ || !thread_.joinable() || stopRequested_; });
}

void RealTimeRunner::resume() {
  std::lock_guard lock(mutex_);
  pauseRequested_ = false;
  wake_.notify_all();
}

bool RealTimeRunner::paused() const {
  std::lock_guard lock(mutex_);
  return pauseRequested_;
}

void RealTimeRunner::stop() {
  {
    std::lock_guard lock(mutex_);
    stopRequested_ = true;
    wake_.notify_all();
  }
  if (thread_.joinable()) thread_.join();
  runner_.input().setOnPush({});
}

void RealTimeRunner::setEndTime(std::int64_t endMs) {
  std::lock_guard lock(mutex_);
  endMs_ = endMs;
}

void RealTimeRunner::waitUntilEnded() {
  std::unique_lock lock(mutex_);
  wake_.wait(lock, [&] { return ended_ || stopRequested_ || !thread_.joinable(); });
}

std::int64_t RealTimeRunner::virtualNowMs() const {
  std::lock_guard lock(mutex_);
  return virtualNow_;
}

RealTimeRunner::Clock::time_point RealTimeRunner::wallTimeOf(std::int64_t virtualMs) const {
  return origin_ + std::chrono::duration_cast<Clock::duration>(
                       std::chrono::duration<double, std::milli>(static_cast<double>(virtualMs) / speed_));
}

std::int64_t RealTimeRunner::virtualTimeAt(Clock::time_point wall) const {
  const double ms = std::chrono::duration<double, std::milli>(wall - origin_).count() * speed_;
  return static_cast<std::int64_t>(ms);
}

void RealTimeRunner::loop() {
  std::unique_lock lock(mutex_);
  while (!stopRequested_) {
    if (pauseRequested_) {
      lock.unlock();
      runner_.pauseSounds();
      lock.lock();
      paused_ = true;
      wake_.notify_all();
      // The handles keep working while paused: input applies at the moment the drive stands at.
      for (;;) {
        wake_.wait(lock, [&] { return stopRequested_ || !pauseRequested_ || inputWaiting_; });
        if (!inputWaiting_ || stopRequested_) break;
        inputWaiting_ = false;
        lock.unlock();
        runner_.runUntil(runner_.now());
        lock.lock();
      }
      paused_ = false;
      if (stopRequested_) break;
      // Simulated time goes on from where it stood: the pause is cut out of the wall clock.
      origin_ = Clock::now() - std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double, std::milli>(
                                   static_cast<double>(virtualNow_) / speed_));
      lock.unlock();
      runner_.resumeSounds();
      lock.lock();
      continue;
    }
    if (endMs_ && virtualNow_ >= *endMs_) {
      ended_ = true;
      wake_.notify_all();
      break;
    }
    const std::int64_t due = endMs_ ? std::min(runner_.nextDue(), *endMs_) : runner_.nextDue();
    const Clock::time_point deadline = wallTimeOf(due);
    wake_.wait_until(lock, deadline, [&] { return stopRequested_ || pauseRequested_ || inputWaiting_; });
    if (stopRequested_ || pauseRequested_) continue;
    const Clock::time_point wokeAt = Clock::now();
    std::int64_t target = due;
    if (wokeAt < deadline) {
      // Woken by input before the deadline: apply it at the present moment of the drive.
      target = std::clamp(virtualTimeAt(wokeAt), runner_.now(), due - 1);
    }
    inputWaiting_ = false;
    lock.unlock();
    runner_.runUntil(target);
    lock.lock();
    virtualNow_ = target;
    if (target == due) {
      const float late = std::chrono::duration<float, std::milli>(wokeAt - deadline).count();
      if (due % Scheduler::kControlStepMs == 0) keep(stepLateness_, late);
      if (due % Scheduler::kTickMs == 0) keep(tickLateness_, late);
    }
  }
}

TimingReport RealTimeRunner::timing() const {
  std::lock_guard lock(mutex_);
  TimingReport r;
  r.controlSteps = static_cast<std::int64_t>(stepLateness_.size());
  r.ticks = static_cast<std::int64_t>(tickLateness_.size());
  r.stepP50Ms = percentile(stepLateness_, 0.5);
  r.stepP99Ms = percentile(stepLateness_, 0.99);
  r.tickP50Ms = percentile(tickLateness_, 0.5);
  r.tickP99Ms = percentile(tickLateness_, 0.99);
  for (float v : stepLateness_) r.maxLateMs = std::max(r.maxLateMs, static_cast<double>(v));
  for (float v : tickLateness_) r.maxLateMs = std::max(r.maxLateMs, static_cast<double>(v));
  return r;
}

}  // namespace vesk::sim
