// Headless drive speed: how many simulated seconds of driving the control step and the tick run per wall
// second, on a level 10 km line. Two drives: at the video's recorded speed (debug auto-run, 90 km/h), and
// coasting down from 100 km/h with the brakes released.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "media/virtual_sound_bank.h"
#include "sim/drive_setup.h"
#include "sim/scheduler.h"
#include "support/drive_fixture.h"
#include "support/station_line.h"

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

// Along a 10 km line with a station every kilometre (stops, and every third a pass), a time check before each
// stop, a level crossing and a speed limit in every kilometre, the station call-outs and the call-out waves
// loaded and the analog clock drawn: auto-run at the recorded 60 km/h with Enter pressed every 5 s; 540 s.
void stationsAndCallOuts() {
  using vesk::test::kFramesPerKm;
  std::vector<double> rates;
  for (int run = 0; run < 5; ++run) {
    std::vector<vesk::test::StationSpec> stations;
    stations.reserve(10);
    for (int k = 0; k < 10; ++k) {
      stations.push_back({"S" + std::to_string(k), k % 3 == 1 ? 1 : 0, k * kFramesPerKm + 200, 25200 + 1800 * k});
    }
    vesk::data::VehicleSpec vehicle = vesk::test::stationVehicle();
    vehicle.clock = {745, 470, 20};
    auto f = vesk::test::stationDrive(stations, 0, vehicle);
    vesk::test::loadCallOutWaves(*f, 2, 20, 4);
    vesk::data::RouteData& r = f->route;
    for (int k = 0; k < 10; ++k) {
      const std::size_t i = static_cast<std::size_t>(k);
      r.timetable[i] = {k * kFramesPerKm - 600, k * kFramesPerKm - 400, 25200 + 1800 * k};
      r.crossings[i] = {1, 25, k * kFramesPerKm + 900, k * kFramesPerKm + 1000, 0};
      r.speedLimits[i] = {60, 1, 1, k * kFramesPerKm + 1200, k * kFramesPerKm + 1500, 0};
      r.stationCallouts[2 * i] = {k, 0, 25200 + 1800 * k};
      r.stationCallouts[2 * i + 1] = {k, 2, 19};
    }
    r.timetableCount = 10;
    r.crossingCount = 10;
    r.speedLimitCount = 10;
    r.stationCalloutCount = 20;
    f->sounds.setRecording(false);
    f->drive.control.autoRun = 1;
    const auto start = std::chrono::steady_clock::now();
    for (int second = 5; second <= 540; second += 5) {
      f->runMs(5000);
      f->drive.keydowns(vesk::sim::Key::Enter, false);
    }
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (f->drive.state.frame < 0) std::puts("");
    rates.push_back(540 / wall);
  }
  std::sort(rates.begin(), rates.end());
  std::printf("%-34s %10.0f simulated s per wall s (median of 5; min %.0f, max %.0f)\n",
              "stations and call-outs, auto-run", rates[2], rates.front(), rates.back());
}

int main() {
  scriptedDrive();
  stationsAndCallOuts();
  // 10 km at 90 km/h: 400 s.
  report(
      "auto-run along 10 km at 90 km/h", [](vesk::test::DriveFixture& f) { f.drive.control.autoRun = 1; }, 400'000);
  report(
      "coasting from 100 km/h, 600 s", [](vesk::test::DriveFixture& f) { f.drive.state.speed = 100; }, 600'000);
  return 0;
}
