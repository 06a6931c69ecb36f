#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "core/path_resolver.h"
#include "support/temp_dir.h"

namespace vesk::core {
namespace {

class PathResolverTest : public testing::Test {
 protected:
  void SetUp() override {
    dir.write("Image/Panel.BMP", "x");
    dir.write("sound/表示.wav", "x");
    std::filesystem::create_directories(dir.path() / "image2" / "sub.bmp");
  }
  test::TempDir dir;
};

TEST_F(PathResolverTest, FindsNamesIgnoringCaseAndWindowsSeparators) {
  const auto found = resolveDataFile(dir.path(), "image\\panel.bmp");
  ASSERT_TRUE(found);
  EXPECT_EQ(*found, dir.path() / "Image" / "Panel.BMP");
  EXPECT_TRUE(resolveDataFile(dir.path(), "IMAGE/PANEL.bmp"));
  EXPECT_TRUE(resolveDataFile(dir.path(), "\\image\\\\panel.bmp"));
  EXPECT_TRUE(resolveDataFile(dir.path(), "./sound/表示.wav"));
}

TEST_F(PathResolverTest, RefusesWhatIsNotARegularFile) {
  EXPECT_FALSE(resolveDataFile(dir.path(), "image\\missing.bmp"));
  EXPECT_FALSE(resolveDataFile(dir.path(), "image2\\sub.bmp"));
  EXPECT_FALSE(resolveDataFile(dir.path(), "image"));
  EXPECT_FALSE(resolveDataFile(dir.path(), ""));
  EXPECT_FALSE(resolveDataFile(dir.path(), std::string("image\\panel.bmp\0x", 17)));
  EXPECT_FALSE(resolveDataFile(dir.path(), std::string(300, 'a')));
}

TEST_F(PathResolverTest, ParentFolderWorks) {
  EXPECT_TRUE(resolveDataFile(dir.path() / "sound", "..\\image\\panel.bmp"));
}

// Names that differ only in letter case can both exist on Linux: the exact spelling wins, else the first name in
// byte order, whatever order the folder lists them in; folders are taken for folder parts, files for the last.
struct TwinCase {
  const char* name;
  std::vector<std::string> files;  // written in this order
  std::string wanted;
  std::string taken;                    // relative to the folder; empty: nothing found
  std::vector<std::string> passedOver;  // in the order reported
};

void PrintTo(const TwinCase& testCase, std::ostream* out) { *out << testCase.name; }

class CaseTwinTest : public testing::TestWithParam<TwinCase> {};

TEST_P(CaseTwinTest, PicksOneDeterministicallyAndNamesTheOthers) {
  const TwinCase& c = GetParam();
  test::TempDir dir;
  for (const std::string& file : c.files) {
    if (file.back() == '/') {
      std::filesystem::create_directories(dir.path() / file);
    } else {
      dir.write(file, file);
    }
  }
  const ResolvedFile noted = resolveDataFileNoting(dir.path(), c.wanted);
  const auto plain = resolveDataFile(dir.path(), c.wanted);
  EXPECT_EQ(plain, noted.file);
  if (c.taken.empty()) {
    EXPECT_FALSE(noted.file);
  } else {
    ASSERT_TRUE(noted.file);
    EXPECT_EQ(noted.file->lexically_relative(dir.path()).generic_string(), c.taken);
  }
  std::vector<std::string> passed;
  for (const auto& p : noted.passedOver) passed.push_back(p.lexically_relative(dir.path()).generic_string());
  EXPECT_EQ(passed, c.passedOver);
}

INSTANTIATE_TEST_SUITE_P(
    Twins, CaseTwinTest,
    testing::Values(TwinCase{"firstInByteOrder",
                             {"sound/twin.wav", "sound/Twin.wav"},
                             "sound\\TWIN.WAV",
                             "sound/Twin.wav",
                             {"sound/twin.wav"}},
                    TwinCase{"sameWhenWrittenTheOtherWay",
                             {"sound/Twin.wav", "sound/twin.wav"},
                             "sound\\TWIN.WAV",
                             "sound/Twin.wav",
                             {"sound/twin.wav"}},
                    TwinCase{"exactSpellingWins",
                             {"sound/Twin.wav", "sound/twin.wav", "sound/TWIN.wav"},
                             "sound\\twin.wav",
                             "sound/twin.wav",
                             {"sound/TWIN.wav", "sound/Twin.wav"}},
                    TwinCase{"twinFolders", {"Sound/a.wav", "sound/a.wav"}, "SOUND\\a.wav", "Sound/a.wav", {"sound"}},
                    TwinCase{"aFileIsNoFolder", {"image", "Image/a.bmp"}, "image\\a.bmp", "Image/a.bmp", {}},
                    TwinCase{"aFolderIsNoFile", {"a.bmp/", "A.BMP"}, "a.bmp", "A.BMP", {}},
                    TwinCase{"noTwins", {"image/a.bmp"}, "IMAGE\\A.bmp", "image/a.bmp", {}},
                    TwinCase{"missing", {"image/a.bmp"}, "image\\b.bmp", "", {}}),
    [](const testing::TestParamInfo<TwinCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vesk::core
