#include <gtest/gtest.h>

#include "media/picture_loader.h"
#include "support/media_files.h"

namespace vesk::media {
namespace {

QImage gradientPicture() {
  return test::picture(16, 9, [](int x, int y) { return qRgb(x * 15, y * 25, 128); });
}

TEST(PictureLoader, DecodesBmp) {
  const auto image = decodePicture(test::bmp24(gradientPicture()));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->size(), QSize(16, 9));
  EXPECT_EQ(image->pixel(15, 8), qRgb(225, 200, 128));
  EXPECT_EQ(image->pixel(0, 0), qRgb(0, 0, 128));
}

TEST(PictureLoader, DecodesJpegThroughLibjpeg) {
  const auto image = decodePicture(test::jpeg(test::picture(32, 24, [](int, int) { return qRgb(200, 40, 40); })));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->size(), QSize(32, 24));
  const QRgb c = image->pixel(10, 10);
  EXPECT_NEAR(qRed(c), 200, 6);
  EXPECT_NEAR(qGreen(c), 40, 6);
}

TEST(PictureLoader, RunLengthBmpDefinesSkippedPixels) {
  // 4 x 2, palette: 0 black, 1 red, 2 green. Bottom row: two red, then end of line (two pixels skipped).
  // Top row: a delta skipping one pixel, then one green, then end of bitmap.
  const std::vector<std::uint8_t> codes = {2, 1, 0, 0, 0, 2, 1, 0, 1, 2, 0, 1};
  const auto image = decodePicture(test::bmpRle8(4, 2, {qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 255, 0)}, codes));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->pixel(0, 1), qRgb(255, 0, 0));
  EXPECT_EQ(image->pixel(1, 1), qRgb(255, 0, 0));
  EXPECT_EQ(image->pixel(2, 1), qRgb(0, 0, 0));
  EXPECT_EQ(image->pixel(3, 1), qRgb(0, 0, 0));
  EXPECT_EQ(image->pixel(0, 0), qRgb(0, 0, 0));
  EXPECT_EQ(image->pixel(1, 0), qRgb(0, 255, 0));
  EXPECT_EQ(image->pixel(2, 0), qRgb(0, 0, 0));
}

TEST(PictureLoader, RunLengthAbsoluteRunAndClipping) {
  // An absolute run of 3 pixels (padded to 4 bytes), then a run far past the right edge.
  const std::vector<std::uint8_t> codes = {0, 3, 1, 2, 1, 0, 200, 2, 0, 1};
  const auto image = decodePicture(test::bmpRle8(4, 1, {qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 255, 0)}, codes));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->pixel(0, 0), qRgb(255, 0, 0));
  EXPECT_EQ(image->pixel(1, 0), qRgb(0, 255, 0));
  EXPECT_EQ(image->pixel(2, 0), qRgb(255, 0, 0));
  EXPECT_EQ(image->pixel(3, 0), qRgb(0, 255, 0));
}

struct BadPictureCase {
  const char* name;
  std::string bytes;
};
void PrintTo(const BadPictureCase& testCase, std::ostream* out) { *out << testCase.name; }

class BadPictureTest : public testing::TestWithParam<BadPictureCase> {};

TEST_P(BadPictureTest, IsRefused) { EXPECT_FALSE(decodePicture(GetParam().bytes)); }

std::string hugeBmp() {
  std::string b = test::bmp24(test::picture(2, 2, [](int, int) { return 0; }));
  // Claim 100000 x 100000 pixels.
  const std::uint32_t side = 100000;
  std::memcpy(b.data() + 18, &side, 4);
  std::memcpy(b.data() + 22, &side, 4);
  return b;
}

INSTANTIATE_TEST_SUITE_P(Garbage, BadPictureTest,
                         testing::Values(BadPictureCase{"empty", ""}, BadPictureCase{"text", "hello"},
                                         BadPictureCase{"png_signature", "\x89PNG\r\n\x1a\n"},
                                         BadPictureCase{"truncated_bmp", "BM\x10\0\0\0"},
                                         BadPictureCase{"truncated_jpeg", "\xFF\xD8\xFF\xE0\0\x10JFIF"},
                                         BadPictureCase{"huge_bmp", hugeBmp()}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PictureLoader, ColourKeyBecomesAlpha) {
  const QImage source =
      test::picture(3, 2, [](int x, int y) { return x == 0 && y == 1 ? qRgb(1, 2, 3) : qRgb(9, 9, 9); });
  EXPECT_EQ(bottomLeftColour(source) & 0xFFFFFF, 0x010203u);
  const QImage keyed = applyColourKey(source, bottomLeftColour(source));
  EXPECT_EQ(keyed.format(), QImage::Format_ARGB32_Premultiplied);
  EXPECT_EQ(qAlpha(keyed.pixel(0, 1)), 0);
  EXPECT_EQ(qAlpha(keyed.pixel(1, 1)), 255);
}

}  // namespace
}  // namespace vesk::media
