// Scripted drives of the demo line, replayed through the headless runner: a conductor-operated local and a
// one-man service checked against their golden traces (stations, doors, texts and call-outs once a simulated
// second), and the local keeping every departure of its timetable. The scripts are written by a driver that
// brakes to each stopping mark (demo_driver.cpp); with VESK_UPDATE_GOLDEN=1 scripts and traces are written
// anew (review the difference before committing it).
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "data/route_file.h"
#include "data/string_file.h"
#include "demo_line/demo_driver.h"
#include "support/golden_trace.h"
#include "support/trace_lines.h"

namespace vesk::demo {
namespace {

const std::filesystem::path kPack = VESK_DEMO_PACK;
const std::filesystem::path kGolden = VESK_GOLDEN_DIR;

const char* const kFields[] = {"t_ms",           "speed",          "position",          "frame",
                               "powerHandle",    "brakeHandle",    "doorOpenCommanded", "doorsNotClosed",
                               "departureCount", "currentStation", "nextStop",          "stationEvent",
                               "clockText",      "NextStopText",   "StationNoticeText", "fromStationText",
                               "toStationText",  "pendingOther",   "pendingLimit",      "crossingQueue",
                               "calloutQueue",   "stationFlags",   "uiEvents"};

// Once a simulated second, and every tick that raised a window command.
std::string reducedTrace(const std::string& trace) {
  std::string out;
  for (const std::string& line : test::traceLines(trace)) {
    if (std::stoll(test::traceField(line, "tick")) % 10 != 0 && test::traceField(line, "uiEvents") == "[]") continue;
    out += test::traceRow(line, kFields) + "\n";
  }
  return out;
}

struct DemoDrive {
  const char* name;
  const char* route;
  const char* vehicle;
  std::int64_t goldenMs;  // how much of the drive the golden trace holds
};
void PrintTo(const DemoDrive& d, std::ostream* out) { *out << d.name; }

const DemoDrive kLocal{"demo_local", "line_down_local.dat", "train_VK500.dat", 420000};
const DemoDrive kOneMan{"demo_one_man", "line_down_tr.dat", "train_VK500.dat", 300000};
constexpr std::int64_t kWholeDriveMs = 900000;

std::filesystem::path scriptOf(const DemoDrive& d) { return kGolden / (std::string(d.name) + ".script"); }

// The whole drive through the headless runner, one line a tick.
std::string replay(const DemoDrive& d, std::int64_t ms) {
  return test::commandOutput(std::string(VESK_SIM_PATH) + " run --program-dir " + kPack.string() + " --vehicle-dir " +
                             kPack.string() + " --vehicle " + d.vehicle + " --route " + d.route + " --ms " +
                             std::to_string(ms) + " --script " + scriptOf(d).string() + " 2>/dev/null");
}

class DemoDriveTest : public testing::TestWithParam<DemoDrive> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(std::filesystem::exists(kPack / "velmarix.dat"))
        << "no demo pack at " << kPack << ": write it with scripts/demo.sh";
  }
};

TEST_P(DemoDriveTest, MatchesItsTrace) {
  const DemoDrive& d = GetParam();
  const std::filesystem::path tracePath = kGolden / (std::string(d.name) + ".trace");
  if (test::updatingGolden()) {
    const RecordedDrive recorded = recordDrive({kPack, d.vehicle, d.route, kWholeDriveMs});
    ASSERT_GT(recorded.endedAtMs, 0) << "the driver did not reach the end of the run";
    std::ofstream script(scriptOf(d), std::ios::binary);
    script << "# " << d.route << " with " << d.vehicle
           << ", driven by tests/demo_line/demo_driver.cpp; the run ends at " << recorded.endedAtMs << " ms\n";
    for (const std::string& line : recorded.script) script << line << '\n';
  }
  test::expectGoldenTrace(reducedTrace(replay(d, d.goldenMs)), tracePath);
}

INSTANTIATE_TEST_SUITE_P(Drives, DemoDriveTest, testing::Values(kLocal, kOneMan),
                         [](const auto& info) { return std::string(info.param.name); });

class DemoTimetableTest : public DemoDriveTest {};

// The local, driven to every stopping mark, leaves each stop at its departure time: the conductor closes the
// doors within a second after it (the tick's steps leave a fraction of a second).
TEST_F(DemoTimetableTest, TheDownLocalLeavesEveryStopOnTime) {
  const data::UiStrings strings = data::loadStringFile(kPack);
  media::DrivePictures pictures;
  const auto route = data::loadRouteFile(kPack, kLocal.route, {strings, kLocal.vehicle}, pictures);
  std::vector<std::int32_t> departures(static_cast<std::size_t>(route->stationCount), -1);
  std::vector<double> stoppedOff(static_cast<std::size_t>(route->stationCount), 1e9);
  int backClicks = 0;
  std::string previous;
  for (const std::string& line : test::traceLines(replay(kLocal, kWholeDriveMs))) {
    const int station = std::stoi(test::traceField(line, "currentStation"));
    const std::string open = test::traceField(line, "doorOpenCommanded");
    if (open == "1" && previous == "0") {
      stoppedOff[static_cast<std::size_t>(station)] = std::fabs(std::stod(test::traceField(line, "distanceToStop")));
    }
    if (open == "0" && previous == "1")
      departures[static_cast<std::size_t>(station)] = std::stoi(test::traceField(line, "clock"));
    previous = open;
    if (test::traceField(line, "uiEvents") == "[\"BackClick\"]") ++backClicks;
  }
  for (int i = 0; i + 1 < route->stationCount; ++i) {
    const data::StationRow& s = route->stations[static_cast<std::size_t>(i)];
    ASSERT_EQ(s.kind, 0) << s.name << ": the local stops everywhere";
    EXPECT_GT(departures[static_cast<std::size_t>(i)], s.departureTime) << s.name;
    EXPECT_LE(departures[static_cast<std::size_t>(i)], s.departureTime + 30) << s.name;
    if (i > 0) {
      EXPECT_LT(stoppedOff[static_cast<std::size_t>(i)], 500) << s.name << ": stopped within 5 m of the mark";
    }
  }
  EXPECT_LT(stoppedOff.back(), 500) << "the last stop";
  EXPECT_EQ(backClicks, 1) << "the run ends once, at the last station";
}

}  // namespace
}  // namespace vesk::demo
