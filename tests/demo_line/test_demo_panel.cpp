// The cab panels of the demo line's five trains through a pull-away and a stop, checked once a simulated second
// against their traces in tests/golden: every needle, lamp and indicator of each panel, and the driver's texts.
// VESK_UPDATE_GOLDEN=1 writes the traces anew.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>
#include <string>

#include "support/trace_lines.h"

namespace vesk::demo {
namespace {

const std::filesystem::path kPack = VESK_DEMO_PACK;
const std::string kGolden = VESK_GOLDEN_DIR;

const char* const kFields[] = {"t_ms",        "speed",           "SpeedText",    "StopDistanceText",
                               "MessageText", "LimitNoticeText", "ammeterShown", "lamps"};

// The "sprites" object of a trace line, as written.
std::string spritesOf(const std::string& line) {
  const std::string key = "\"sprites\":";
  std::size_t i = line.find(key);
  if (i == std::string::npos) return "?";
  i += key.size();
  int depth = 0;
  for (std::size_t end = i; end < line.size(); ++end) {
    if (line[end] == '{') ++depth;
    if (line[end] == '}' && --depth == 0) return line.substr(i, end + 1 - i);
  }
  return "?";
}

class DemoPanelDrive : public testing::TestWithParam<const char*> {};

TEST_P(DemoPanelDrive, MatchesItsTrace) {
  ASSERT_TRUE(std::filesystem::exists(kPack / "velmarix.dat"))
      << "no demo pack at " << kPack << ": write it with scripts/demo.sh";
  const std::string vehicle = GetParam();
  const std::string out = test::commandOutput(std::string(VESK_SIM_PATH) + " run --program-dir " + kPack.string() +
                                              " --vehicle-dir " + kPack.string() + " --vehicle train_" + vehicle +
                                              ".dat --route line_down_local.dat --ms 60000 --every 10 --script " +
                                              kGolden + "/demo_panel.script 2>/dev/null");
  std::string trace;
  for (const std::string& line : test::traceLines(out)) {
    for (const char* f : kFields) trace += std::string(f) + "=" + test::traceField(line, f) + " ";
    trace += "sprites=" + spritesOf(line) + "\n";
  }
  ASSERT_FALSE(trace.empty());
  const std::string path = kGolden + "/demo_panel_" + vehicle + ".trace";
  const char* update = std::getenv("VESK_UPDATE_GOLDEN");
  if (update != nullptr && std::string(update) == "1") {
    std::ofstream(path, std::ios::binary) << trace;
    GTEST_SKIP() << "trace written: " << path;
  }
  std::ifstream in(path, std::ios::binary);
  ASSERT_TRUE(in) << "no trace " << path << " (run with VESK_UPDATE_GOLDEN=1 to write it)";
  std::stringstream expected;
  expected << in.rdbuf();
  std::istringstream want(expected.str());
  std::istringstream got(trace);
  std::string a;
  std::string b;
  int line = 0;
  while (std::getline(want, a)) {
    ++line;
    ASSERT_TRUE(std::getline(got, b)) << "the drive ended early, at line " << line;
    ASSERT_EQ(b, a) << "first difference at line " << line;
  }
  EXPECT_FALSE(std::getline(got, b)) << "the drive ran longer than its trace";
}

INSTANTIATE_TEST_SUITE_P(Trains, DemoPanelDrive,
                         testing::Values("VK103", "VK401", "VK500", "VK700_2Cars", "VK700_3Cars"),
                         [](const auto& info) { return std::string(info.param); });

}  // namespace
}  // namespace vesk::demo
