#include <gtest/gtest.h>

#include "media/image_list.h"
#include "media/sprite_engine.h"
#include "support/media_files.h"

namespace vesk::media {
namespace {

struct PatternCase {
  const char* name;
  int patternWidth, patternHeight, k;
  QRect cell;
};
void PrintTo(const PatternCase& testCase, std::ostream* out) { *out << testCase.name; }

class PatternCellTest : public testing::TestWithParam<PatternCase> {};

TEST_P(PatternCellTest, Cell) {
  const PatternCase& c = GetParam();
  // A 30 x 20 picture.
  const ImageEntry entry =
      makeImageEntry("p", test::picture(30, 20, [](int, int) { return 0; }), false, 0, c.patternWidth, c.patternHeight);
  EXPECT_EQ(entry.patternRect(c.k), c.cell);
}

INSTANTIATE_TEST_SUITE_P(Cells, PatternCellTest,
                         testing::Values(PatternCase{"first", 10, 10, 0, QRect(0, 0, 10, 10)},
                                         PatternCase{"row_by_row", 10, 10, 4, QRect(10, 10, 10, 10)},
                                         PatternCase{"outside_draws_nothing", 10, 10, 6, QRect()},
                                         PatternCase{"negative_draws_nothing", 10, 10, -1, QRect()},
                                         PatternCase{"whole_picture", 0, 0, 0, QRect(0, 0, 30, 20)},
                                         PatternCase{"strip", 0, 5, 3, QRect(0, 15, 30, 5)},
                                         PatternCase{"cell_larger_than_picture", 40, 10, 0, QRect()}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ImageList, NamesIgnoreLetterCaseAndRepeatsReplace) {
  ImageList list;
  list.put(makeImageEntry("img_Lamp_Gen", test::picture(2, 2, [](int, int) { return 0; }), false, 0));
  ASSERT_NE(list.find("img_lamp_gen"), nullptr);
  list.put(makeImageEntry("IMG_LAMP_GEN", test::picture(4, 4, [](int, int) { return 0; }), false, 0));
  EXPECT_EQ(list.entries().size(), 1u);
  EXPECT_EQ(list.find("img_lamp_gen")->image.width(), 4);
  EXPECT_EQ(list.find("img_lamp"), nullptr);
}

TEST(SpriteEngine, DrawsLowerZFirstAndEqualZInCreationOrder) {
  SpriteEngine engine;
  engine.add({.picture = "a", .z = 50});
  engine.add({.picture = "b", .z = 0});
  engine.add({.picture = "c", .z = 50});
  engine.add({.picture = "d", .z = 11});
  std::string order;
  for (const Sprite* s : engine.drawOrder()) order += s->picture;
  EXPECT_EQ(order, "bdac");
}

TEST(SpriteEngine, PutReplacesTheSpriteOfThePicture) {
  SpriteEngine engine;
  engine.put({.picture = "img_lamp_p", .x = 1});
  engine.put({.picture = "IMG_LAMP_P", .x = 2});
  EXPECT_EQ(engine.size(), 1u);
  EXPECT_EQ(engine.findByPicture("img_lamp_p")->x, 2);
}

}  // namespace
}  // namespace vesk::media
