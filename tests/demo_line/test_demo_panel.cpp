// The cab panels of the demo line's five trains through a pull-away and a stop, checked once a simulated second
// against their traces in tests/golden: every needle, lamp and indicator of each panel, and the driver's texts.
// VESK_UPDATE_GOLDEN=1 writes the traces anew.
#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>

#include "support/golden_trace.h"
#include "support/trace_lines.h"

namespace vesk::demo {
namespace {

const std::filesystem::path kPack = VESK_DEMO_PACK;
const std::string kGolden = VESK_GOLDEN_DIR;

const char* const kFields[] = {"t_ms",        "speed",           "SpeedText",    "StopDistanceText",
                               "MessageText", "LimitNoticeText", "ammeterShown", "lamps"};

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
    trace += test::traceRow(line, kFields) + " sprites=" + test::traceField(line, "sprites") + "\n";
  }
  test::expectGoldenTrace(trace, kGolden + "/demo_panel_" + vehicle + ".trace");
}

INSTANTIATE_TEST_SUITE_P(Trains, DemoPanelDrive,
                         testing::Values("VK103", "VK401", "VK500", "VK700_2Cars", "VK700_3Cars"),
                         [](const auto& info) { return std::string(info.param); });

}  // namespace
}  // namespace vesk::demo
