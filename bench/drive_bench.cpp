// Headless drive speed: how many simulated seconds of driving the control step and the tick run per wall
// second, on a level 10 km line. Drives: at the video's recorded speed (debug auto-run, 90 km/h), and coasting
// down from 100 km/h with the brakes released; then the same on a line with signals, limits, speed checks, road
// traffic lights and a preceding train, with ATS-P and ATS-S trains.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <memory>
#include <vector>

#include "media/virtual_sound_bank.h"
#include "sim/drive_setup.h"
#include "sim/protection.h"
#include "sim/scheduler.h"
#include "support/drive_fixture.h"
#include "support/signal_route.h"

namespace {

struct Figure {
  double simulatedSeconds = 0;
  double wallSeconds = 0;
  double cpuSeconds = 0;  // of the drive's thread: what the drive costs on a machine others share
};

double threadCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

std::unique_ptr<vesk::test::DriveFixture> levelLine() {
  return vesk::test::makeDrive(vesk::test::testVehicle(), vesk::test::levelRoute(10, 90));
}

template <bool AtsS> std::unique_ptr<vesk::test::DriveFixture> signalledLine() {
  auto f = vesk::test::makeDrive(vesk::test::protectedVehicle(AtsS), vesk::test::signalledRoute(10, 90));
  f->drive.control.atsOn = 1;
  vesk::sim::prepareProtection(f->drive);
  return f;
}

template <class Make, class Setup> Figure drive(Make make, Setup setup, std::int64_t simulatedMs) {
  auto f = make();
  setup(*f);
  const double cpuStart = threadCpuSeconds();
  const auto start = std::chrono::steady_clock::now();
  f->runMs(simulatedMs);
  const auto end = std::chrono::steady_clock::now();
  const double cpu = threadCpuSeconds() - cpuStart;
  // Keep the result observable so that nothing is optimised away.
  if (f->drive.state.frame < 0) std::puts("");
  return {static_cast<double>(simulatedMs) / 1000, std::chrono::duration<double>(end - start).count(), cpu};
}

template <class Make, class Setup> void report(const char* name, Make make, Setup setup, std::int64_t simulatedMs) {
  std::vector<double> rates;
  std::vector<double> cpuRates;
  for (int run = 0; run < 5; ++run) {
    const Figure fig = drive(make, setup, simulatedMs);
    rates.push_back(fig.simulatedSeconds / fig.wallSeconds);
    cpuRates.push_back(fig.simulatedSeconds / std::max(fig.cpuSeconds, 1e-9));
  }
  std::sort(rates.begin(), rates.end());
  std::sort(cpuRates.begin(), cpuRates.end());
  std::printf("%-34s %10.0f simulated s per wall s (median of 5; min %.0f, max %.0f); per CPU s %.0f\n", name, rates[2],
              rates.front(), rates.back(), cpuRates[2]);
}

}  // namespace

// A scripted drive of the notch-table train on the golden test line: everything loaded as the simulator loads
// it, the handles worked by keys, traction, brakes and the dynamics running; 120 simulated seconds.
void scriptedDrive() {
  std::vector<double> rates;
  for (int run = 0; run < 5; ++run) {
    vesk::sim::Scheduler scheduler;
    vesk::media::VirtualSoundBank bank([&scheduler] { return scheduler.now(); });
    const std::string pack = std::string(VESK_GOLDEN_DIR) + "/pack";
    vesk::sim::LoadServices services;
    const auto loaded = vesk::sim::loadDrive({pack, pack, "train_golden_notch.dat", "line_golden.dat"}, bank, services);
    vesk::sim::Drive& d = *loaded->drive;
    const std::pair<std::int64_t, char> keys[] = {{1000, '5'},  {10000, '8'}, {10500, '8'}, {11000, '8'}, {60000, '5'},
                                                  {80000, '2'}, {80300, '2'}, {80600, '2'}, {81000, '2'}};
    const auto start = std::chrono::steady_clock::now();
    for (const auto& [t, key] : keys) {
      scheduler.runBefore(t, d);
      d.AsciiDown(key);
    }
    scheduler.runUntil(120000, d);
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    rates.push_back(120 / wall);
  }
  std::sort(rates.begin(), rates.end());
  std::printf("%-34s %10.0f simulated s per wall s (median of 5; min %.0f, max %.0f)\n",
              "scripted drive, all of traction/brakes", rates[2], rates.front(), rates.back());
}

int main() {
  scriptedDrive();
  // 10 km at 90 km/h: 400 s.
  const auto autoRun = [](vesk::test::DriveFixture& f) { f.drive.control.autoRun = 1; };
  const auto coast = [](vesk::test::DriveFixture& f) { f.drive.state.speed = 100; };
  report("auto-run along 10 km at 90 km/h", levelLine, autoRun, 400'000);
  report("coasting from 100 km/h, 600 s", levelLine, coast, 600'000);
  report("signals + ATS-P, auto-run 10 km", signalledLine<false>, autoRun, 400'000);
  report("signals + ATS-P, coasting 600 s", signalledLine<false>, coast, 600'000);
  report("signals + ATS-S, auto-run 10 km", signalledLine<true>, autoRun, 400'000);
  return 0;
}
