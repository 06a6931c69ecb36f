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
#include "support/sound_drive.h"
#include "support/station_line.h"

namespace {

struct Figure {
  double simulatedSeconds = 0;
  double wallSeconds = 0;
  double cpuSeconds = 0;  // of the drive's thread: what the drive costs on a machine others share
};

// The processor time of this thread, which a busy machine's other work does not inflate.
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

// A line and a train that keep every sound rule of the tick busy: 20 running sounds, motor (or engine and
// transmission) rows, and along 10 km 40 track-side sounds, 40 Doppler sources, 20 attenuated sections, 40 sets of
// points and 20 announcements, every channel holding a wave.
std::unique_ptr<vesk::test::DriveFixture> soundBusyDrive(bool diesel) {
  using namespace vesk;
  data::VehicleSpec v = test::testVehicle();
  v.driveSoundCount = 20;
  v.engineSounds1[0] = {"m0.wav", diesel ? -1 : 0, {0, 40, 95, 0.4, 1.0, 1.8, 40, 100, 80}};
  v.engineSounds1[1] = {"m1.wav", diesel ? 1 : 2, {10, 50, 95, 0.5, 1.0, 1.6, 10, 40, 60}};
  v.engineSound1Count = 2;
  if (diesel) {
    v.engineType = 0;
    v.engineSound2 = {14, 15, 16, 17};
    v.engineSounds3[0] = {"g.wav", 1, 1, {0, 40, 0.6, 1.5, 40, 90}};
    v.engineSound3Count = 1;
  }
  for (int i = 0; i < 16; ++i) v.switchSounds[static_cast<std::size_t>(i)] = {13 + i % 4, 40 + 20 * (i / 4), i % 4};
  v.switchSoundCount = 16;
  data::RouteData r = test::levelRoute(10, 90);  // 1200 frames a km
  r.soundDataCount = 10;
  r.stationCount = 10;
  for (int i = 0; i < 40; ++i) {
    const int frame = 300 * i;
    r.trackSounds[static_cast<std::size_t>(i)] = {i % 10, frame, frame + 250, 60, i % 2, 1, 1, i % 3 == 0 ? 1 : 0};
    r.dopplerSounds[static_cast<std::size_t>(i)] = {i % 10, frame, 10000, i % 2, 0, std::int64_t{25000} * i};
    r.switches[static_cast<std::size_t>(i)] = {frame + 100, i % 4};
  }
  r.trackSoundCount = r.dopplerCount = r.switchCount = 40;
  for (int i = 0; i < 20; ++i) r.attenuations[static_cast<std::size_t>(i)] = {600 * i, 600 * i + 200, 0, 50};
  r.attenuationCount = 20;
  for (int i = 0; i < 10; ++i) r.stations[static_cast<std::size_t>(i)].position = std::int64_t{100000} * i;
  for (int i = 1; i <= 20; ++i) r.announcements[static_cast<std::size_t>(i)] = {i % 10, i % 2, (i - 1) / 2, 150};
  r.announceCount = 20;
  auto f = test::makeSoundDrive(v, r);
  f->sounds.setRecording(false);
  f->drive.control.autoRun = 1;
  f->drive.state.engineRunning = 1;
  return f;
}

void soundBusyDrives() {
  for (const bool diesel : {false, true}) {
    std::vector<double> rates;
    std::vector<double> cpuRates;
    for (int run = 0; run < 5; ++run) {
      auto f = soundBusyDrive(diesel);
      const auto start = std::chrono::steady_clock::now();
      const double cpuStart = threadCpuSeconds();
      f->runMs(400'000);
      const double cpu = threadCpuSeconds() - cpuStart;
      const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      if (f->drive.state.frame < 0) std::puts("");
      rates.push_back(400 / wall);
      cpuRates.push_back(400 / cpu);
    }
    std::sort(rates.begin(), rates.end());
    std::sort(cpuRates.begin(), cpuRates.end());
    std::printf("%-34s %10.0f simulated s per wall s (median of 5; min %.0f, max %.0f); %.0f per CPU s\n",
                diesel ? "auto-run, every sound busy, diesel" : "auto-run, every sound busy, electric", rates[2],
                rates.front(), rates.back(), cpuRates[2]);
  }
}

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
  soundBusyDrives();
  stationsAndCallOuts();
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
