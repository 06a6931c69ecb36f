// RealTimeRunner: the window's simulation thread. It runs the drive at the pace of the steady clock, sleeping
// until each routine's absolute deadline (no drift however long the drive), applies input as soon as it comes,
// and pauses and resumes without a jump in simulated time. The sound bank is paused and resumed on this thread.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "sim/drive_runner.h"

namespace vesk::sim {

// How late the routines ran against their deadlines, in milliseconds.
struct TimingReport {
  std::int64_t controlSteps = 0;
  std::int64_t ticks = 0;
  double stepP50Ms = 0;
  double stepP99Ms = 0;
  double tickP50Ms = 0;
  double tickP99Ms = 0;
  double maxLateMs = 0;
};

class RealTimeRunner {
 public:
  // `speed`: virtual milliseconds per wall millisecond (1 is real time; tests may run faster).
  explicit RealTimeRunner(DriveRunner& runner, double speed = 1.0);
  ~RealTimeRunner();
  RealTimeRunner(const RealTimeRunner&) = delete;
  RealTimeRunner& operator=(const RealTimeRunner&) = delete;

  void start();
  void pause();
  void resume();
  bool paused() const;
  // Stops the thread (the drive stays where it was). Waits for it.
  void stop();
  // A drive of a set length: the routines and input run up to virtual time `endMs` and no further, then the thread
  // ends by itself. Set before start(); waitUntilEnded() returns once the drive has reached its end.
  void setEndTime(std::int64_t endMs);
  void waitUntilEnded();
  // Virtual time of the drive, readable from any thread.
  std::int64_t virtualNowMs() const;
  TimingReport timing() const;

 private:
  using Clock = std::chrono::steady_clock;
  void loop();
  Clock::time_point wallTimeOf(std::int64_t virtualMs) const;
  std::int64_t virtualTimeAt(Clock::time_point wall) const;

  DriveRunner& runner_;
  const double speed_;
  std::thread thread_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  bool stopRequested_ = false;
  bool pauseRequested_ = false;
  bool paused_ = false;
  bool inputWaiting_ = false;
  std::optional<std::int64_t> endMs_;
  bool ended_ = false;
  Clock::time_point origin_;  // wall time of virtual time 0 (moved on by each pause)
  std::int64_t virtualNow_ = 0;
  std::vector<float> stepLateness_;
  std::vector<float> tickLateness_;
};

}  // namespace vesk::sim
