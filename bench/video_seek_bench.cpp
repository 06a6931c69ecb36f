// The forward view's video reader on the demo line's route video: how long a far jump (a station chosen from the
// "Move" menu) takes from the request to the picture, and how often a picture the train comes to next is not
// ready in time while it runs at the video's own pace (the reader reads ahead).
//   video_seek_bench [DEMO_PACK]   (default build/demo-pack)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <thread>
#include <vector>

#include "present/video_reader.h"

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// CPU time of the whole process: while the bench waits, the reader's worker is the only busy thread, so this is
// what a jump costs whatever else the machine is doing.
double cpuMs() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_nsec) / 1e6;
}

double percentile(std::vector<double> v, double p) {
  std::sort(v.begin(), v.end());
  return v[static_cast<std::size_t>(p * static_cast<double>(v.size() - 1))];
}

}  // namespace

int main(int argc, char** argv) {
  const std::filesystem::path pack = argc > 1 ? argv[1] : "build/demo-pack";
  const std::filesystem::path video = pack / "movie" / "down.avi";
  vesk::present::VideoReader reader;
  if (!reader.open(video)) {
    std::fprintf(stderr, "video_seek_bench: cannot open %s (write the demo line with scripts/demo.sh)\n",
                 video.string().c_str());
    return 1;
  }
  const std::int64_t count = reader.frameCount();
  std::printf("video %s: %lld pictures\n", video.string().c_str(), static_cast<long long>(count));

  // Far jumps back and forth across the video, as the "Move" menu makes them.
  std::vector<double> jumps;
  std::vector<double> jumpCpu;
  for (int i = 0; i < 40; ++i) {
    const std::int64_t n = (i % 2 == 0 ? count / 10 : count * 9 / 10) + (i * 37) % 200;
    const Clock::time_point start = Clock::now();
    const double cpuStart = cpuMs();
    if (!reader.waitFor(n, std::chrono::seconds(5))) {
      std::fprintf(stderr, "video_seek_bench: picture %lld not decoded\n", static_cast<long long>(n));
      return 1;
    }
    jumps.push_back(msSince(start));
    jumpCpu.push_back(cpuMs() - cpuStart);
    // Let the read-ahead after the jump finish, as it would while the train stands at the station.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  std::printf("far jump, request to picture:  p50 %.2f ms  p99 %.2f ms  max %.2f ms  (%zu jumps)\n",
              percentile(jumps, 0.5), percentile(jumps, 0.99), *std::max_element(jumps.begin(), jumps.end()),
              jumps.size());
  std::printf("far jump, CPU time:            p50 %.2f ms  p99 %.2f ms (the decoding itself, free of other load)\n",
              percentile(jumpCpu, 0.5), percentile(jumpCpu, 0.99));

  // Running at the video's pace (15 pictures a second at frame factor 2): the frame loop asks each cycle and
  // draws what is ready.
  const std::int64_t first = count / 3;
  reader.waitFor(first, std::chrono::seconds(5));
  int late = 0;
  int asked = 0;
  const Clock::time_point start = Clock::now();
  for (std::int64_t n = first; n < first + 300 && n < count; ++n) {
    std::this_thread::sleep_until(start + std::chrono::microseconds((n - first) * 66667));
    ++asked;
    if (!reader.picture(n, 1)) ++late;
  }
  std::printf("running at the video's pace:  %d of %d pictures not ready when first asked for\n", late, asked);
  return 0;
}
