// RunStats: the figures of a window run for --stats: frames shown and their pacing, the time one frame takes to
// compose, the process's share of one core, the simulation thread's lateness and how virtual time kept up with
// the wall clock. Printed as one JSON line.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "sim/realtime_runner.h"

namespace vesk::app {

// The process's CPU time (all threads) in seconds.
double processCpuSeconds();

struct RunFigures {
  std::int64_t frames = 0;
  std::int64_t drawnFrames = 0;  // frames composed anew: the others showed the same picture as the one before
  double fps = 0;
  double frameP50Ms = 0;  // time between frames shown
  double frameP99Ms = 0;
  double drawP50Ms = 0;  // time to compose and present one drawn frame
  double drawP99Ms = 0;
  double cpuShare = 0;  // process CPU time over wall time, of one core
  double stepP99Ms = 0;
  double tickP99Ms = 0;
  double loadMs = 0;
  double wallMs = 0;     // from the first frame to the end
  double virtualMs = 0;  // the drive's virtual time over the same span
  double driftMs = 0;    // virtual less wall, pauses left out
};

class RunStats {
 public:
  using Clock = std::chrono::steady_clock;

  // When loading began (the figures count the load up to the first frame).
  void loadStarted(Clock::time_point at) { loadStart_ = at; }
  // The first cycle of the frame loop: the end of loading, the start of the figures.
  void firstFrame(std::int64_t virtualNowMs);
  // A frame was shown on time; when its picture was composed anew, frameDrawn() says how long that took.
  void frameShown();
  void frameDrawn(double drawMs);
  void paused();
  void resumed();
  bool started() const { return started_; }

  RunFigures finish(std::int64_t virtualNowMs, const sim::TimingReport& timing) const;
  static std::string json(const RunFigures& figures);

 private:
  bool started_ = false;
  Clock::time_point loadStart_ = Clock::now();
  Clock::time_point start_;
  double startCpu_ = 0;
  std::int64_t startVirtualMs_ = 0;
  double loadMs_ = 0;
  Clock::time_point lastFrame_;
  bool anyFrame_ = false;
  std::vector<float> intervals_;
  std::vector<float> drawTimes_;
  std::int64_t frames_ = 0;
  Clock::time_point pausedAt_;
  bool isPaused_ = false;
  double pausedMs_ = 0;
};

}  // namespace vesk::app
