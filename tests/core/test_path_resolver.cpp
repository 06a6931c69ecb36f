#include <gtest/gtest.h>

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

}  // namespace
}  // namespace vesk::core
