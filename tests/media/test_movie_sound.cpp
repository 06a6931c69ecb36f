// A movie's sound track: the first audio stream of an AVI (or any file libavformat reads) decoded whole into a
// 16-bit wave at its own rate, more than two channels mixed down to two; nothing for a movie without sound, a file
// that is not a movie or one that is missing; a long track cut at the limit given.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "media/movie_sound.h"
#include "support/media_files.h"
#include "support/temp_dir.h"

namespace vesk::media {
namespace {

struct SoundCase {
  const char* name;
  int pictures;
  int rate;
  int channels;
  int frames;
  int keptChannels;
};
void PrintTo(const SoundCase& c, std::ostream* out) { *out << c.name; }

class MovieSound : public testing::TestWithParam<SoundCase> {};

TEST_P(MovieSound, DecodesTheWholeTrack) {
  const SoundCase& c = GetParam();
  test::TempDir dir;
  const auto file = dir.path() / "opening.avi";
  ASSERT_TRUE(test::aviWithSound(file, c.pictures, c.rate, c.channels, c.frames));
  const auto wave = decodeMovieSound(file);
  ASSERT_NE(wave, nullptr);
  EXPECT_EQ(wave->sampleRate, c.rate);
  EXPECT_EQ(wave->channels, c.keptChannels);
  EXPECT_EQ(wave->frames, c.frames);
  ASSERT_EQ(wave->samples.size(), static_cast<std::size_t>(c.frames * c.keptChannels));
  if (c.channels == c.keptChannels) {
    // The samples as written, in order: sample k of channel c is k + c.
    for (int k : {0, 1, c.frames / 2, c.frames - 1}) {
      EXPECT_EQ(wave->samples[static_cast<std::size_t>(k * c.channels)], k) << k;
      EXPECT_EQ(wave->samples[static_cast<std::size_t>(k * c.channels + c.channels - 1)], k + c.channels - 1) << k;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Tracks, MovieSound,
                         testing::Values(SoundCase{"monoWithPictures", 20, 8000, 1, 5000, 1},
                                         SoundCase{"stereoWithPictures", 20, 22050, 2, 30000, 2},
                                         SoundCase{"soundOnly", 0, 11025, 2, 4000, 2},
                                         SoundCase{"sixChannelsMixedToTwo", 10, 8000, 6, 3000, 2}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MovieSoundFiles, AMovieWithoutSoundOrNoMovieGivesNothing) {
  test::TempDir dir;
  const auto silent = dir.path() / "silent.avi";
  ASSERT_TRUE(test::aviWithSound(silent, 10, 8000, 1, 0));
  EXPECT_EQ(decodeMovieSound(silent), nullptr);
  EXPECT_EQ(decodeMovieSound(dir.write("broken.avi", "RIFF\x10\0\0\0AVI LIST not a movie")), nullptr);
  EXPECT_EQ(decodeMovieSound(dir.path() / "missing.avi"), nullptr);
}

TEST(MovieSoundFiles, ALongTrackIsCutAtTheLimit) {
  test::TempDir dir;
  const auto file = dir.path() / "long.avi";
  ASSERT_TRUE(test::aviWithSound(file, 5, 8000, 2, 8000));
  const auto wave = decodeMovieSound(file, 1001);
  ASSERT_NE(wave, nullptr);
  EXPECT_EQ(wave->frames, 500) << "whole frames of both channels within 1001 samples";
  EXPECT_EQ(wave->samples.size(), 1000u);
}

}  // namespace
}  // namespace vesk::media
