#include <gtest/gtest.h>

#include <algorithm>

#include "support/media_files.h"
#include "support/temp_dir.h"
#include "support/test_pack.h"
#include "vesk_check/pack_check.h"

namespace vesk::tools {
namespace {

std::vector<std::string> check(const test::TempDir& dir, std::vector<std::string> files) {
  std::vector<std::string> lines;
  for (const Finding& f : checkPack({dir.path(), std::move(files)})) lines.push_back(formatFinding(f));
  return lines;
}

bool contains(const std::vector<std::string>& lines, const std::string& text) {
  return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) { return l == text; });
}

class VeskCheckTest : public testing::Test {
 protected:
  void SetUp() override { test::writePack(dir); }
  test::TempDir dir;
};

TEST_F(VeskCheckTest, TheTestPackHasOnlyItsMissingVideo) {
  const auto findings = check(dir, {test::kPackVehicle, test::kPackRoute});
  EXPECT_EQ(findings, (std::vector<std::string>{
                          "line_test.dat:26: movie\\test.avi映像ファイルを開けません (movie\\test.avi is missing)"}));
}

TEST_F(VeskCheckTest, ReportsEveryFaultWithItsFileLineAndMessage) {
  std::filesystem::remove(dir.path() / "image" / "notch.bmp");  // a vehicle pattern picture
  std::filesystem::remove(dir.path() / "image" / "sub.bmp");    // three signal pictures
  dir.write("sound/env1.wav", "RIFF but not a wave");           // an environment sound
  dir.write("image/staf2.bmp", "BM broken");                    // a [Staf] picture
  dir.write("movie/test.avi", "not a video");
  std::string vehicle = test::packVehicleFile();
  vehicle.replace(vehicle.find("[PowerDelay]\n3"), 14, "[PowerDelay]\n0");
  test::writeText(dir, test::kPackVehicle, vehicle);
  const auto findings = check(dir, {test::kPackVehicle, test::kPackRoute});
  for (
      const char* expected : {
          "train_test.dat:86: 車両ファイルに誤りがあります[NotchImageP] (image\\notch.bmp is missing)",
          "train_test.dat: [PowerDelay] is 0: a handle delay must be at least 1 (the simulator uses 1)",
          "line_test.dat:11: image\\staf2.bmpが見つかりません (image\\staf2.bmp is not a readable BMP or JPEG picture)",
          "line_test.dat:26: movie\\test.avi映像ファイルを開けません (movie\\test.avi cannot be opened or decoded as a "
          "video)",
          "line_test.dat:34: sound\\env1.wav is not a readable WAVE file; the simulator goes on without it (silent)",
          "line_test.dat:93: サブ信号機0の生成エラー (image\\sub.bmp is missing)",
          "line_test.dat:94: サブ信号機1の生成エラー (image\\sub.bmp is missing)",
          "line_test.dat:95: サブ信号機2の生成エラー (image\\sub.bmp is missing)",
      }) {
    EXPECT_TRUE(contains(findings, expected)) << "missing: " << expected;
  }
  EXPECT_EQ(findings.size(), 8u);
}

TEST_F(VeskCheckTest, DataErrorsCarryTheSimulatorsMessage) {
  test::writeText(dir, test::kPackRoute, "[Slope]\n1,2\n#\n");
  test::writeText(dir, "velmarix.dat", "[Disp]\n30\n");
  const auto findings = check(dir, {test::kPackRoute});
  EXPECT_TRUE(contains(findings, "line_test.dat:2: 路線ファイルに誤りがあります。[Slope]:1,2"));
  EXPECT_TRUE(contains(findings, "velmarix.dat:2: stringファイルに誤りがあります"));
}

TEST_F(VeskCheckTest, TitleScreenFilesAreCheckedWhenNothingIsNamed) {
  const auto findings = check(dir, {});
  EXPECT_TRUE(contains(findings, "image\\title\\line01.bmp: image\\title\\line01.bmp is missing; the simulator goes on "
                                 "without it (silent)"));
  EXPECT_TRUE(contains(findings, "line_down_local.dat: 路線ファイルに誤りがあります。その他: (the file is missing)"));
  EXPECT_TRUE(
      contains(findings, "train_VK500.dat: 車両ファイルに誤りがあります- 列車の基本設定 (the file is missing)"));
  EXPECT_TRUE(contains(findings, "readme.html: missing: the title screen's help and the help window need it"));
}

TEST(VeskCheck, TrainsOfARouteFollowItsDirection) {
  EXPECT_EQ(vehiclesOfRoute("line_up_rapid_A.dat")[1], "train_VK700_2Cars.dat");
  EXPECT_EQ(vehiclesOfRoute("line_down_tr.dat")[2], "train_VK103.dat");
  EXPECT_TRUE(vehiclesOfRoute("custom.dat").empty());
}

}  // namespace
}  // namespace vesk::tools
