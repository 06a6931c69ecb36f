// The forward view's video pictures, decoded on the worker: the exact picture asked for, reading ahead, and
// another video replacing the first.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "demo_line/avi_writer.h"
#include "present/video_reader.h"
#include "support/temp_dir.h"

namespace vesk::present {
namespace {

using namespace std::chrono_literals;

// Picture n is grey level 5 n: the picture read tells which one it is.
std::filesystem::path writeNumberedVideo(const test::TempDir& dir, const char* name, int pictures) {
  const auto path = dir.path() / name;
  auto writer = demo::AviWriter::open(path, 64, 48);
  EXPECT_TRUE(writer);
  for (int n = 0; n < pictures; ++n) {
    QImage picture(64, 48, QImage::Format_RGB32);
    picture.fill(QColor(5 * n, 5 * n, 5 * n));
    EXPECT_TRUE(writer->write(picture));
  }
  EXPECT_TRUE(writer->finish());
  return path;
}

int numberOf(const QImage& picture) { return (qGray(picture.pixel(32, 24)) + 2) / 5; }

TEST(VideoReader, GivesTheExactPictureAskedForInAnyOrder) {
  test::TempDir dir;
  VideoReader reader;
  ASSERT_TRUE(reader.open(writeNumberedVideo(dir, "route.avi", 40)));
  EXPECT_EQ(reader.frameCount(), 40);
  for (int n : {0, 1, 2, 37, 16, 15, 39, 3}) {
    const auto picture = reader.waitFor(n, 2s);
    ASSERT_TRUE(picture) << n;
    EXPECT_EQ(numberOf(*picture), n);
  }
  EXPECT_FALSE(reader.waitFor(40, 100ms));
  EXPECT_FALSE(reader.picture(-1));
}

TEST(VideoReader, ReadsAheadInTheDirectionOfTravel) {
  test::TempDir dir;
  VideoReader reader;
  ASSERT_TRUE(reader.open(writeNumberedVideo(dir, "route.avi", 40)));
  ASSERT_TRUE(reader.waitFor(10, 2s));
  // The next pictures come without being asked for one by one.
  std::optional<QImage> next;
  for (int i = 0; i < 200 && !next; ++i) {
    next = reader.picture(14, 1);
    if (!next) std::this_thread::sleep_for(5ms);
  }
  ASSERT_TRUE(next);
  EXPECT_EQ(numberOf(*next), 14);
  // Backwards too.
  ASSERT_TRUE(reader.waitFor(30, 2s));
  reader.picture(30, -1);
  ASSERT_TRUE(reader.waitFor(26, 2s));
  EXPECT_EQ(numberOf(*reader.waitFor(26, 2s)), 26);
}

TEST(VideoReader, AnotherVideoReplacesTheFirstAndAMissingOneClosesIt) {
  test::TempDir dir;
  VideoReader reader;
  ASSERT_TRUE(reader.open(writeNumberedVideo(dir, "route.avi", 40)));
  ASSERT_TRUE(reader.waitFor(20, 2s));
  ASSERT_TRUE(reader.open(writeNumberedVideo(dir, "side.avi", 10)));
  EXPECT_EQ(reader.frameCount(), 10);
  EXPECT_FALSE(reader.waitFor(20, 100ms));
  EXPECT_EQ(numberOf(*reader.waitFor(5, 2s)), 5);
  EXPECT_FALSE(reader.open(dir.path() / "none.avi"));
  EXPECT_EQ(reader.frameCount(), 0);
  EXPECT_FALSE(reader.picture(0));
}

}  // namespace
}  // namespace vesk::present
