#include <gtest/gtest.h>

#include "data/data_error.h"
#include "data/string_file.h"
#include "support/temp_dir.h"
#include "support/test_pack.h"

namespace vesk::data {
namespace {

using test::crlf;
using test::sjis;

std::string readError(const std::string& text) {
  try {
    readStringFile(sjis(crlf(text)));
  } catch (const DataError& e) {
    return e.message();
  }
  return {};
}

UiStrings read(const std::string& text) { return readStringFile(sjis(crlf(text))); }

TEST(StringFile, ReadsEveryKey) {
  const UiStrings s = read(test::packStringFile());
  EXPECT_EQ(s.fastStepsPerSecond, 30);
  EXPECT_EQ(s.videoFrameFactor, 2);
  EXPECT_EQ(s.stafImageLeft, 600);
  EXPECT_EQ(s.viewWidth, 800);
  EXPECT_EQ(s.viewHeight, 450);
  EXPECT_EQ(s.fadeExtraHeight, 400);
  EXPECT_EQ(s.videoDir, "movie\\");
  EXPECT_EQ(s.forwardText, "前");
  EXPECT_EQ(s.stopText, "停車");
  EXPECT_EQ(s.stop2Text, "運転停車");
  EXPECT_EQ(s.neut2Text, "切");
  EXPECT_EQ(s.hold2Text, "抑速");
  EXPECT_EQ(s.ebText, "非常");
  EXPECT_EQ(s.tcText, "信号待ち");
  EXPECT_EQ(s.stopsTexts[1], "通過駅");
  EXPECT_EQ(s.doorsTexts[0], "ドア閉");
  EXPECT_EQ(s.gearsTexts[2], "直結");
  EXPECT_EQ(s.infoLabelCount, 2);
  EXPECT_EQ(s.infoLabels[1], "ドアを開けてください");
  EXPECT_EQ(s.startCaption, "開始");
  EXPECT_EQ(s.saveCaption, "保存");
}

TEST(StringFile, StopsMustStandAlone) {
  const UiStrings s = read("[Stops] \nA\nB\n[Stops]\nC\nD\n");
  EXPECT_EQ(s.stopsTexts[0], "C");
  const UiStrings t = read("[Stops] \nA\nB\n");
  EXPECT_EQ(t.stopsTexts[0], "");
}

TEST(StringFile, OtherKeysMayHaveTextAfterThem) {
  EXPECT_EQ(read("[Start] menu caption\nはじめる\n").startCaption, "はじめる");
}

TEST(StringFile, InfoLabelsStopAtTheEndOfTheFile) {
  const UiStrings s = read("[InfoLabel]\na\nb\nc");
  EXPECT_EQ(s.infoLabelCount, 3);
}

struct BadCase {
  const char* name;
  const char* text;
};
void PrintTo(const BadCase& testCase, std::ostream* out) { *out << testCase.name; }

class StringFileFailureTest : public testing::TestWithParam<BadCase> {};

TEST_P(StringFileFailureTest, Refuses) { EXPECT_EQ(readError(GetParam().text), "stringファイルに誤りがあります"); }

INSTANTIATE_TEST_SUITE_P(Texts, StringFileFailureTest,
                         testing::Values(BadCase{"disp_without_second_field", "[Disp]\n30\n600\n800\n450\n400\n"},
                                         BadCase{"disp_not_a_number", "[Disp]\n30,2\nx\n800\n450\n400\n"},
                                         BadCase{"disp_cut_short", "[Disp]\n30,2\n600\n"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(StringFile, MissingFile) {
  test::TempDir dir;
  EXPECT_THROW(loadStringFile(dir.path()), DataError);
}

TEST(StringFile, DispIgnoresTextAfterItsFields) {
  const UiStrings s = read("[Disp]\n30,2,comment\n600,x\n800\n450\n400\n");
  EXPECT_EQ(s.stafImageLeft, 600);
}

TEST(ControllerMap, CodesUntilAHashLine) {
  const ControllerCodes codes = readControllerCodes("P1   \r\n\r\nB1\r\n#\r\nignored\r\n");
  EXPECT_EQ(codes.count, 3);
  EXPECT_EQ(codes.codes[0], "P1   ");
  EXPECT_EQ(codes.codes[1], "");
  EXPECT_EQ(codes.codes[2], "B1");
}

TEST(ControllerMap, FirstLineHashGivesNoCodes) { EXPECT_EQ(readControllerCodes("#\r\nP1\r\n").count, 0); }

TEST(ControllerMap, AtMost26Codes) {
  std::string text;
  for (int i = 0; i < 40; ++i) text += "C" + std::to_string(i) + "\n";
  const ControllerCodes codes = readControllerCodes(text);
  EXPECT_EQ(codes.count, 26);
  EXPECT_EQ(codes.codes[25], "C25");
}

TEST(ControllerMap, MissingMapGivesNothing) {
  test::TempDir dir;
  EXPECT_FALSE(loadControllerCodes(dir.path()));
  dir.write("MASCON.DAT", "P1\n");
  EXPECT_EQ(loadControllerCodes(dir.path())->count, 1);
}

}  // namespace
}  // namespace vesk::data
