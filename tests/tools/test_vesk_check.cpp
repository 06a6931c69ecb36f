#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "demo_line/avi_writer.h"
#include "support/command_run.h"
#include "support/media_files.h"
#include "support/temp_dir.h"
#include "support/test_pack.h"
#include "vesk_check/check_arguments.h"
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

TEST_F(VeskCheckTest, PanelElementsTooSmallForTheirPatternsOrOutsideTheDrawingAreaAreNamed) {
  std::string vehicle = test::packVehicleFile();
  // The notch picture is 50 x 8: a 60 pixel wide pattern never shows.
  const std::string notch = "[NotchImageP]\n560\n520\n10";
  vehicle.replace(vehicle.find(notch), notch.size(), "[NotchImageP]\n560\n520\n60");
  vehicle += "[Lamp_Gen]\nimage\\other.bmp\n780\n10\n[Lamp_Air]\nimage\\other.bmp\n736\n818\n";
  test::writeText(dir, test::kPackVehicle, vehicle);
  const auto findings = check(dir, {test::kPackVehicle});
  EXPECT_TRUE(contains(findings, "train_test.dat: [NotchImageP] (image\\notch.bmp): the picture (50 x 8) is smaller "
                                 "than one pattern (60 x 8), so it never shows"));
  EXPECT_TRUE(contains(findings, "train_test.dat: [Lamp_Gen] (image\\other.bmp): placed at 780, 10 with size 64 x "
                                 "32, it reaches outside the 800 x 850 drawing area"));
  // A lamp that fits exactly in the corner is fine.
  EXPECT_EQ(std::count_if(findings.begin(), findings.end(),
                          [](const std::string& f) { return f.find("[Lamp_Air]") != std::string::npos; }),
            0);
}

TEST_F(VeskCheckTest, DataErrorsCarryTheSimulatorsMessage) {
  test::writeText(dir, test::kPackRoute, "[Slope]\n1,2\n#\n");
  test::writeText(dir, "velmarix.dat", "[Disp]\n30\n");
  const auto findings = check(dir, {test::kPackRoute});
  EXPECT_TRUE(contains(findings,
                       "line_test.dat:2: 路線ファイルに誤りがあります。[Slope]:1,2 (this line cannot be read: "
                       "a number is expected, a comma-separated value is missing, or a list has more rows "
                       "than it may hold)"));
  EXPECT_TRUE(
      contains(findings, "velmarix.dat:2: stringファイルに誤りがあります (a [Disp] value is not a whole number)"));
}

TEST_F(VeskCheckTest, ARouteFileIsARouteInAnyLetterCase) {
  std::filesystem::rename(dir.path() / test::kPackRoute, dir.path() / "LINE_Test.dat");
  EXPECT_EQ(check(dir, {test::kPackVehicle, "LINE_Test.dat"}),
            (std::vector<std::string>{
                "LINE_Test.dat:26: movie\\test.avi映像ファイルを開けません (movie\\test.avi is missing)"}));
}

TEST_F(VeskCheckTest, AnEmptyVehicleFileIsNoTrain) {
  dir.write("train_empty.dat", "");
  EXPECT_EQ(check(dir, {"train_empty.dat"}),
            (std::vector<std::string>{"train_empty.dat: no [Cars], [Tons], [Power] or [DriveSound]: the file does not "
                                      "describe a train (is it empty, or not a vehicle file?)"}));
}

TEST_F(VeskCheckTest, AUtf8FileIsNamedOnceInsteadOfItsGarbledNames) {
  // Saved as UTF-8: every Japanese name in it reads as garbage through Shift-JIS.
  std::string route = test::packRouteFile();
  route.replace(route.find("sound\\env1.wav"), 14, "sound\\発車.wav");
  dir.write("sound/発車.wav", "");
  dir.write(test::kPackRoute, test::crlf(route));
  EXPECT_EQ(check(dir, {test::kPackRoute}),
            (std::vector<std::string>{
                "line_test.dat: the file is UTF-8, not Shift-JIS: save it as Shift-JIS (CP932)",
                "line_test.dat:26: movie\\test.avi映像ファイルを開けません (movie\\test.avi is missing)"}));
}

TEST_F(VeskCheckTest, NamesThatDifferOnlyInLetterCaseAreNamedWithTheOneUsed) {
  dir.write("image/Notch.bmp", "another picture");
  dir.write("LINE_TEST.DAT", "another route");
  const auto findings = check(dir, {test::kPackVehicle, test::kPackRoute});
  EXPECT_TRUE(contains(findings, "train_test.dat:86: image\\notch.bmp names image/notch.bmp and image/Notch.bmp, "
                                 "which differ only in letter case: image/notch.bmp is used"));
  EXPECT_TRUE(contains(findings, "line_test.dat: line_test.dat and LINE_TEST.DAT differ only in letter case: "
                                 "line_test.dat is used"));
  EXPECT_EQ(findings.size(), 3u);  // and the missing video
}

// The video ends every drive: "[SpeedUnit]" rows beyond its last picture (a video whose writing was interrupted)
// cannot be driven.
TEST_F(VeskCheckTest, AVideoShorterThanItsRouteIsNamed) {
  std::filesystem::create_directories(dir.path() / "movie");
  auto avi = demo::AviWriter::open(dir.path() / "movie" / "test.avi", 16, 16);
  ASSERT_TRUE(avi);
  QImage picture(16, 16, QImage::Format_RGB32);
  picture.fill(Qt::darkGreen);
  for (int i = 0; i < 100; ++i) ASSERT_TRUE(avi->write(picture));
  ASSERT_TRUE(avi->finish());
  const std::string shortVideo = "line_test.dat: the [SpeedUnit] rows run to frame 3000, but the video movie\\test.avi "
                                 "ends at frame 200 (100 pictures x the [Disp] frame factor 2): the line cannot be "
                                 "driven beyond it (was the video's writing interrupted?)";
  EXPECT_EQ(check(dir, {test::kPackRoute}), std::vector<std::string>{shortVideo});
  // Rows that end with the video are right.
  std::string route = test::packRouteFile();
  route.replace(route.find("0,1500,60,60\n1500,3000,60,60"), 28, "0,100,60,60\n100,200,60,60");
  test::writeText(dir, test::kPackRoute, route);
  EXPECT_EQ(check(dir, {test::kPackRoute}), std::vector<std::string>{});
}

TEST_F(VeskCheckTest, NamesTheRowThatCarriesPositionsBeyondTheirRange) {
  std::string route = test::packRouteFile();
  route.replace(route.find("1500,3000,60,60"), 15, "1500,3000,10000000000000000000000000,60");
  test::writeText(dir, test::kPackRoute, route);
  const auto findings = check(dir, {test::kPackRoute});
  EXPECT_TRUE(contains(findings, "line_test.dat: [SpeedUnit] row 2 (1500,3000,1e+25,60) carries the positions along "
                                 "the line beyond what can be held: no line is that long, and the positions from this "
                                 "row on stop at the limit"));
  EXPECT_EQ(findings.size(), 2u);  // and the missing video
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
  EXPECT_EQ(vehiclesOfRoute("Line_Down_tr.dat")[2], "train_VK103.dat");
  EXPECT_TRUE(vehiclesOfRoute("custom.dat").empty());
}

// What vesk-check says when it cannot start: one sentence, the problem and what to type.
struct ArgumentCase {
  const char* name;
  std::vector<std::string> args;  // "PACK" stands for a program folder, "FILE" for a file in it
  std::string problem;            // "PACK" stands for the folder's path; empty: the checks start
};

void PrintTo(const ArgumentCase& testCase, std::ostream* out) { *out << testCase.name; }

class CheckArgumentsTest : public testing::TestWithParam<ArgumentCase> {};

TEST_P(CheckArgumentsTest, SaysWhatIsWrongAndWhatToType) {
  test::TempDir pack;
  test::writePack(pack);
  const std::string packPath = pack.path().string();
  auto fill = [&](std::string text) {
    for (std::size_t at; (at = text.find("PACK")) != std::string::npos;) text.replace(at, 4, packPath);
    return text;
  };
  std::vector<std::string> args;
  for (const std::string& arg : GetParam().args) args.push_back(fill(arg));
  const CheckArguments parsed = parseCheckArguments(args);
  EXPECT_EQ(parsed.problem, fill(GetParam().problem));
}

const std::string kTypeData = "type vesk-check --data FOLDER, FOLDER being the program folder that holds velmarix.dat";

INSTANTIATE_TEST_SUITE_P(
    CommandLines, CheckArgumentsTest,
    testing::Values(
        ArgumentCase{"aPack", {"--data", "PACK"}, ""},
        ArgumentCase{"aPackAndItsFiles", {"--data", "PACK", "line_test.dat", "TRAIN_TEST.dat"}, ""},
        ArgumentCase{"dataWithoutAFolder", {"--data"}, "--data needs a folder: " + kTypeData},
        ArgumentCase{"dataFollowedByAnOption", {"--data", "--help"}, "--data needs a folder: " + kTypeData},
        ArgumentCase{"aFolderThatDoesNotExist",
                     {"--data", "PACK/nothing"},
                     "the folder PACK/nothing does not exist: " + kTypeData},
        ArgumentCase{"aFileAsTheFolder",
                     {"--data", "PACK/line_test.dat"},
                     "PACK/line_test.dat is a file, not a folder: type vesk-check --data FOLDER [FILE...], the "
                     "program folder after --data and its route or vehicle files after it"},
        ArgumentCase{"aPackWithoutData",
                     {"PACK"},
                     "PACK is a folder: to check the program folder PACK, type "
                     "vesk-check --data PACK"},
        ArgumentCase{"aFolderThatIsNoPack",
                     {"--data", "PACK/image"},
                     "PACK/image holds no velmarix.dat and no line_*.dat or train_*.dat file, so it is not a "
                     "program folder: " +
                         kTypeData},
        ArgumentCase{
            "anUnknownOption", {"--dat", "PACK"}, "unknown option --dat (vesk-check --help lists the options)"}),
    [](const testing::TestParamInfo<ArgumentCase>& info) { return std::string(info.param.name); });

TEST(VeskCheckCommand, WrongUsageIsOneSentenceAndStatusTwo) {
  const std::string command = std::string(VESK_CHECK_PATH) + " --data /no/such/folder 2>&1";
  const test::CommandRun run = test::runCommand(command);
  EXPECT_EQ(run.out, "vesk-check: the folder /no/such/folder does not exist: " + kTypeData + "\n");
  EXPECT_EQ(run.status, 2);
}

}  // namespace
}  // namespace vesk::tools
