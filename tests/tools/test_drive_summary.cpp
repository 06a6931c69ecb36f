#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "media/virtual_sound_bank.h"
#include "sim/drive_setup.h"
#include "support/temp_dir.h"
#include "support/test_pack.h"
#include "vesk_sim/drive_summary.h"

namespace vesk::tools {
namespace {

// Where the train is after each tick. The test pack's middle station 中間 is at frame 1500, its stopping mark at
// 83333 cm, its platform from 81333 to 85333 cm.
struct Sample {
  int frame;
  double position;
  double speed;
};

struct SummaryCase {
  const char* name;
  std::vector<Sample> ticks;
  std::string line;  // the summary's line for 中間; empty: none
};

void PrintTo(const SummaryCase& testCase, std::ostream* out) { *out << testCase.name; }

class DriveSummaryTest : public testing::TestWithParam<SummaryCase> {};

TEST_P(DriveSummaryTest, TellsAStopFromAPass) {
  test::TempDir dir;
  test::writePack(dir);
  media::VirtualSoundBank bank([] { return std::int64_t{0}; });
  const auto loaded = sim::loadDrive({dir.path(), {}, test::kPackVehicle, test::kPackRoute, -1}, bank, {});
  DriveSummary summary(*loaded, test::kPackRoute, test::kPackVehicle);
  sim::Drive& drive = *loaded->drive;
  for (const Sample& s : GetParam().ticks) {
    drive.state.frame = s.frame;
    drive.state.position = s.position;
    drive.state.speed = s.speed;
    summary.afterTick(drive);
  }
  const std::string text = summary.text(static_cast<std::int64_t>(GetParam().ticks.size()) * 100);
  const std::size_t at = text.find("中間");
  if (GetParam().line.empty()) {
    EXPECT_EQ(at, std::string::npos) << text;
  } else {
    EXPECT_NE(text.find(GetParam().line + " (timetable 00:14:20)\n"), std::string::npos) << text;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Drives, DriveSummaryTest,
    testing::Values(SummaryCase{"passedAtSpeed",
                                {{1400, 78000, 110}, {1500, 83333, 110}, {1560, 86000, 108}},
                                "       0 s  passed 中間 at 110 km/h"},
                    SummaryCase{"stoppedShort",
                                {{1400, 78000, 30}, {1450, 80000, 10}, {1478, 82133, 0}},
                                "       0 s  stopped at 中間, 12.0 m short of the mark"},
                    SummaryCase{"overran",
                                {{1400, 78000, 30}, {1500, 83333, 20}, {1520, 84333, 0}},
                                "       0 s  stopped at 中間, 10.0 m beyond the mark"},
                    SummaryCase{
                        "onTheMark", {{1400, 78000, 30}, {1500, 83335, 0}}, "       0 s  stopped at 中間, on the mark"},
                    SummaryCase{"stillPassingWhenTheDriveEnds",
                                {{1400, 78000, 40}, {1501, 83400, 40}},
                                "       0 s  passed 中間 at 40 km/h"},
                    SummaryCase{"stoppedBeforeThePlatform", {{1300, 70000, 20}, {1310, 70500, 0}}, ""},
                    SummaryCase{"standingStill", {{30, 0, 0}, {30, 0, 0}}, ""}),
    [](const testing::TestParamInfo<SummaryCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vesk::tools
