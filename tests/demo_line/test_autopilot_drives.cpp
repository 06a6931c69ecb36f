// The automatic driver through the headless runner on the demo line's down local, with each of its five trains:
// the report's closing line as the runner contract writes it, every stop within a metre, no emergency braking,
// no protection intervention, no overspeed, the run ended; the rapid's arrivals within 30 s of its timetable;
// and the run curve of two drives written as SVG.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/command_run.h"

namespace {

const std::filesystem::path kPack = VESK_DEMO_PACK;

std::string autopilotRun(const std::string& vehicle, const std::string& extra,
                         const std::string& route = "line_down_local.dat") {
  return vesk::test::commandOutput(std::string(VESK_SIM_PATH) + " run --program-dir " + kPack.string() +
                                   " --vehicle-dir " + kPack.string() + " --vehicle " + vehicle + " --route " + route +
                                   " --autopilot --summary " + extra + " 2>/dev/null");
}

std::string lastLine(const std::string& text) {
  std::istringstream in(text);
  std::string line;
  std::string last;
  while (std::getline(in, line)) last = line;
  return last;
}

class AutopilotDemoDrive : public testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(std::filesystem::exists(kPack / "velmarix.dat")) << "no demo pack: write it with scripts/demo.sh";
  }
};

TEST_P(AutopilotDemoDrive, ServesEveryStopOfTheDownLocal) {
  const std::string out = autopilotRun(GetParam(), "");
  // The closing line: "autopilot: S stops, worst stop error E cm, latest arrival L s, protection interventions P,
  // emergency brakings B".
  const std::string last = lastLine(out);
  int stopCount = -1, worstCm = -1, latestS = 0, interventions = -1, emergencies = -1, consumed = 0;
  const int read = std::sscanf(last.c_str(),
                               "autopilot: %d stops, worst stop error %d cm, latest arrival %d s, protection "
                               "interventions %d, emergency brakings %d%n",
                               &stopCount, &worstCm, &latestS, &interventions, &emergencies, &consumed);
  ASSERT_EQ(read, 5) << out;
  ASSERT_EQ(static_cast<std::size_t>(consumed), last.size()) << out;
  EXPECT_EQ(stopCount, 4) << "the local stops at every station after its first";
  EXPECT_LE(worstCm, 100) << out;
  EXPECT_LE(latestS, 30) << out;
  EXPECT_EQ(interventions, 0) << out;
  EXPECT_EQ(emergencies, 0) << out;
  EXPECT_NE(out.find("autopilot: run ended, overspeeds 0,"), std::string::npos) << out;
  // A line for each of the stops, with its arrival and stopping error.
  int stops = 0;
  for (std::size_t at = out.find(": arrived "); at != std::string::npos; at = out.find(": arrived ", at + 1)) ++stops;
  EXPECT_EQ(stops, 4);
}

// The rapid stops twice in 9.7 km with time to spare: full power all the way would bring it in a minute early.
TEST_P(AutopilotDemoDrive, KeepsTheRapidsTimetable) {
  const std::string out = autopilotRun(GetParam(), "", "line_down_rapid.dat");
  int overspeeds = -1, latestDeparture = 0, earliestArrival = 0;
  const std::size_t at = out.find("autopilot: run ended");
  ASSERT_NE(at, std::string::npos) << out;
  ASSERT_EQ(std::sscanf(out.c_str() + at,
                        "autopilot: run ended, overspeeds %d, latest departure %d s, earliest arrival %d s",
                        &overspeeds, &latestDeparture, &earliestArrival),
            3)
      << out;
  EXPECT_EQ(overspeeds, 0) << out;
  EXPECT_GE(earliestArrival, -30) << out;
  int latestArrival = 0, stops = 0;
  ASSERT_EQ(std::sscanf(lastLine(out).c_str(), "autopilot: %d stops, worst stop error %*d cm, latest arrival %d s",
                        &stops, &latestArrival),
            2)
      << out;
  EXPECT_EQ(stops, 2);
  EXPECT_LE(latestArrival, 30) << out;
}

INSTANTIATE_TEST_SUITE_P(Trains, AutopilotDemoDrive,
                         testing::Values("train_VK500.dat", "train_VK700_3Cars.dat", "train_VK700_2Cars.dat",
                                         "train_VK103.dat", "train_VK401.dat"),
                         [](const auto& info) {
                           std::string name = info.param;
                           return name.substr(6, name.size() - 10);
                         });

TEST(AutopilotDemoPlot, WritesTheRunCurveOfTwoDrives) {
  ASSERT_TRUE(std::filesystem::exists(kPack / "velmarix.dat"));
  const auto file = std::filesystem::temp_directory_path() / "vesk_autopilot_curve.svg";
  std::filesystem::remove(file);
  autopilotRun("train_VK500.dat", "--plot " + file.string() + " --plot-against autopilot");
  std::ifstream in(file);
  ASSERT_TRUE(in.good()) << "no run curve written";
  std::stringstream text;
  text << in.rdbuf();
  const std::string svg = text.str();
  EXPECT_NE(svg.find("<svg"), std::string::npos);
  for (const char* station : {"青葉台", "桜川", "大滝", "北原", "港町"}) {
    EXPECT_NE(svg.find(station), std::string::npos) << station;
  }
  // Both drives named in the legend and under the notches.
  int named = 0;
  for (std::size_t at = svg.find("automatic driver"); at != std::string::npos;
       at = svg.find("automatic driver", at + 1)) {
    ++named;
  }
  EXPECT_EQ(named, 4);
  std::filesystem::remove(file);
}

}  // namespace
