// Headless drive speed: how many simulated seconds of driving the control step and the tick run per wall
// second, on a level 10 km line. Two drives: at the video's recorded speed (debug auto-run, 90 km/h), and
// coasting down from 100 km/h with the brakes released.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "support/drive_fixture.h"

namespace {

struct Figure {
  double simulatedSeconds = 0;
  double wallSeconds = 0;
};

template <class Setup> Figure drive(Setup setup, std::int64_t simulatedMs) {
  auto f = vesk::test::makeDrive(vesk::test::testVehicle(), vesk::test::levelRoute(10, 90));
  setup(*f);
  const auto start = std::chrono::steady_clock::now();
  f->runMs(simulatedMs);
  const auto end = std::chrono::steady_clock::now();
  // Keep the result observable so that nothing is optimised away.
  if (f->drive.state.frame < 0) std::puts("");
  return {static_cast<double>(simulatedMs) / 1000, std::chrono::duration<double>(end - start).count()};
}

template <class Setup> void report(const char* name, Setup setup, std::int64_t simulatedMs) {
  std::vector<double> rates;
  for (int run = 0; run < 5; ++run) {
    const Figure fig = drive(setup, simulatedMs);
    rates.push_back(fig.simulatedSeconds / fig.wallSeconds);
  }
  std::sort(rates.begin(), rates.end());
  std::printf("%-34s %10.0f simulated s per wall s (median of 5; min %.0f, max %.0f)\n", name, rates[2], rates.front(),
              rates.back());
}

}  // namespace

int main() {
  // 10 km at 90 km/h: 400 s.
  report(
      "auto-run along 10 km at 90 km/h", [](vesk::test::DriveFixture& f) { f.drive.control.autoRun = 1; }, 400'000);
  report(
      "coasting from 100 km/h, 600 s", [](vesk::test::DriveFixture& f) { f.drive.state.speed = 100; }, 600'000);
  return 0;
}
