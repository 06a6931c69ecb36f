// The demo line's signals and protection: a train at the video's recorded speed (the debugging auto-run) never
// meets a stop signal and never brings on its protection's braking on any service, with the ATS-P train and with the
// ATS-S train of each direction; and two scripted drives through several signals match their traces.
#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "media/virtual_sound_bank.h"
#include "sim/drive_setup.h"
#include "sim/scheduler.h"
#include "sim/signal_pictures.h"
#include "support/golden_trace.h"
#include "support/trace_lines.h"
#include "vesk_check/pack_check.h"

namespace vesk::demo {
namespace {

const std::filesystem::path kPack = VESK_DEMO_PACK;

struct Service {
  std::string route;
  std::string vehicle;
};
void PrintTo(const Service& s, std::ostream* out) { *out << s.route << " with " << s.vehicle; }

std::vector<Service> protectedServices() {
  std::vector<Service> all;
  for (const std::string& route : tools::titleRouteFiles()) {
    const bool down = route.rfind("line_down", 0) == 0;
    all.push_back({route, "train_VK500.dat"});
    all.push_back({route, down ? "train_VK700_3Cars.dat" : "train_VK700_2Cars.dat"});
  }
  return all;
}

class AutoRunProtection : public testing::TestWithParam<Service> {};

TEST_P(AutoRunProtection, NeverMeetsAStopSignalNorBrakesByItsProtection) {
  ASSERT_TRUE(std::filesystem::exists(kPack / "velmarix.dat"))
      << "no demo pack at " << kPack << ": write it with scripts/demo.sh";
  sim::Scheduler scheduler;
  media::VirtualSoundBank bank([&scheduler] { return scheduler.now(); });
  bank.setRecording(false);
  const auto loaded = sim::loadDrive({kPack, kPack, GetParam().vehicle, GetParam().route}, bank, {});
  sim::Drive& d = *loaded->drive;
  const data::RouteData& r = *loaded->route;
  // The clock of the timetable a minute before the first departure (the preceding train runs by it).
  d.state.clock = r.stations[0].departureTime - 60 * 30;
  d.control.autoRun = 1;
  d.AsciiDown('5');
  const std::int32_t end = r.stations[static_cast<std::size_t>(r.stationCount - 1)].frame;
  for (std::int64_t t = 100; t <= 720000 && d.state.frame < end; t += 100) {
    scheduler.runUntil(t, d);
    const sim::TrainState& s = d.state;
    const std::string where = " at frame " + std::to_string(s.frame) + ", " + std::to_string(t / 1000) + " s";
    ASSERT_FALSE(sim::isStopPicture(s.shownSignalImage)) << "a stop signal" << where;
    ASSERT_NE(s.atsSpeedCode, 998) << "ATS-S stop warning" << where;
    ASSERT_EQ(s.atsAlarm, 0) << "ATS-S alarm" << where;
    ASSERT_EQ(s.emergencyLatched, 0) << where;
    ASSERT_EQ(s.atsBrakeLatched, 0) << where;
    // (The pattern warning may sound where the video brakes for a limit close to its ATS-P pattern.)
    ASSERT_LT(s.atspState, 2) << "ATS-P braking, pattern " << s.atspP1 << "/" << s.atspP2 << " target " << s.atspTarget
                              << " at " << s.atspDistance << " cm, speed " << s.speed << where;
  }
  EXPECT_GE(d.state.frame, end) << "did not reach the last station";
}

INSTANTIATE_TEST_SUITE_P(EveryService, AutoRunProtection, testing::ValuesIn(protectedServices()), [](const auto& info) {
  std::string name = info.param.route + "_" + info.param.vehicle;
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
});

// Scripted drives on the demo line, checked once a simulated second against their traces in tests/golden
// (VESK_UPDATE_GOLDEN=1 writes them anew).
const char* const kFields[] = {"t_ms",
                               "speed",
                               "frame",
                               "powerHandle",
                               "brakeHandle",
                               "precedingFrame",
                               "signalAspects",
                               "shownSignalImage",
                               "shownSignalCallout",
                               "atsSpeedCode",
                               "atsAlarm",
                               "atsAlarmCode",
                               "atsAcknowledged",
                               "atspState",
                               "atspTarget",
                               "atspP1",
                               "atspP2",
                               "atsBrakeLatched",
                               "emergencyLatched",
                               "shownLimitSpeed",
                               "limitBlink",
                               "upcomingLimitSpeeds",
                               "upcomingLimitMetres"};

struct GoldenDrive {
  const char* name;
  const char* route;
  const char* vehicle;
  int ms;
};
void PrintTo(const GoldenDrive& g, std::ostream* out) { *out << g.name; }

class DemoGoldenDrive : public testing::TestWithParam<GoldenDrive> {};

TEST_P(DemoGoldenDrive, MatchesItsTrace) {
  ASSERT_TRUE(std::filesystem::exists(kPack / "velmarix.dat"))
      << "no demo pack at " << kPack << ": write it with scripts/demo.sh";
  const GoldenDrive& g = GetParam();
  const std::string golden = VESK_GOLDEN_DIR;
  const std::string out = test::commandOutput(std::string(VESK_SIM_PATH) + " run --program-dir " + kPack.string() +
                                              " --vehicle-dir " + kPack.string() + " --vehicle " + g.vehicle +
                                              " --route " + g.route + " --ms " + std::to_string(g.ms) +
                                              " --every 10 --script " + golden + "/" + g.name + ".script 2>/dev/null");
  std::string trace;
  for (const std::string& line : test::traceLines(out)) trace += test::traceRow(line, kFields) + "\n";
  test::expectGoldenTrace(trace, golden + "/" + g.name + ".trace");
}

INSTANTIATE_TEST_SUITE_P(Drives, DemoGoldenDrive,
                         testing::Values(GoldenDrive{"demo_ats_s", "line_down_local.dat", "train_VK700_3Cars.dat",
                                                     300000},
                                         GoldenDrive{"demo_ats_p", "line_down_local.dat", "train_VK500.dat", 330000}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vesk::demo
