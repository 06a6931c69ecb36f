#include "app/run_stats.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <ctime>

namespace vesk::app {
namespace {

double msBetween(RunStats::Clock::time_point a, RunStats::Clock::time_point b) {
  return std::chrono::duration<double, std::milli>(b - a).count();
}

double percentile(std::vector<float> values, double p) {
  if (values.empty()) return 0;
  const auto k = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1));
  std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(k), values.end());
  return values[k];
}

}  // namespace

double processCpuSeconds() {
  timespec t{};
  if (clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t) != 0) return 0;
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

void RunStats::firstFrame(std::int64_t virtualNowMs) {
  if (started_) return;
  started_ = true;
  start_ = Clock::now();
  loadMs_ = msBetween(loadStart_, start_);
  startCpu_ = processCpuSeconds();
  startVirtualMs_ = virtualNowMs;
}

void RunStats::frameShown() {
  const Clock::time_point now = Clock::now();
  if (anyFrame_) intervals_.push_back(static_cast<float>(msBetween(lastFrame_, now)));
  anyFrame_ = true;
  lastFrame_ = now;
  ++frames_;
}

void RunStats::frameDrawn(double drawMs) { drawTimes_.push_back(static_cast<float>(drawMs)); }

void RunStats::paused() {
  if (isPaused_) return;
  isPaused_ = true;
  pausedAt_ = Clock::now();
}

void RunStats::resumed() {
  if (!isPaused_) return;
  isPaused_ = false;
  pausedMs_ += msBetween(pausedAt_, Clock::now());
  // The pause is not a frame interval.
  anyFrame_ = false;
}

RunFigures RunStats::finish(std::int64_t virtualNowMs, const sim::TimingReport& timing) const {
  RunFigures f;
  const Clock::time_point end = Clock::now();
  f.frames = frames_;
  f.drawnFrames = static_cast<std::int64_t>(drawTimes_.size());
  f.loadMs = loadMs_;
  f.stepP99Ms = timing.stepP99Ms;
  f.tickP99Ms = timing.tickP99Ms;
  if (!started_) return f;
  f.wallMs = msBetween(start_, end);
  const double seconds = f.wallMs / 1000.0;
  if (seconds > 0) {
    f.fps = static_cast<double>(frames_) / seconds;
    f.cpuShare = (processCpuSeconds() - startCpu_) / seconds;
  }
  f.frameP50Ms = percentile(intervals_, 0.5);
  f.frameP99Ms = percentile(intervals_, 0.99);
  f.drawP50Ms = percentile(drawTimes_, 0.5);
  f.drawP99Ms = percentile(drawTimes_, 0.99);
  f.virtualMs = static_cast<double>(virtualNowMs - startVirtualMs_);
  const double pausedMs = pausedMs_ + (isPaused_ ? msBetween(pausedAt_, end) : 0.0);
  f.driftMs = f.virtualMs - (f.wallMs - pausedMs);
  return f;
}

std::string RunStats::json(const RunFigures& f) {
  std::array<char, 512> line{};
  std::snprintf(
      line.data(), line.size(),
      "{\"frames\":%lld,\"drawnFrames\":%lld,\"fps\":%.2f,\"frameP50Ms\":%.3f,\"frameP99Ms\":%.3f,\"drawP50Ms\":%.3f,"
      "\"drawP99Ms\":%.3f,\"cpuShare\":%.4f,\"stepP99Ms\":%.3f,\"tickP99Ms\":%.3f,\"loadMs\":%.1f,"
      "\"wallMs\":%.1f,\"virtualMs\":%.1f,\"driftMs\":%.1f}",
      static_cast<long long>(f.frames), static_cast<long long>(f.drawnFrames), f.fps, f.frameP50Ms, f.frameP99Ms,
      f.drawP50Ms, f.drawP99Ms, f.cpuShare, f.stepP99Ms, f.tickP99Ms, f.loadMs, f.wallMs, f.virtualMs, f.driftMs);
  return line.data();
}

}  // namespace vesk::app
