#include <gtest/gtest.h>

#include "media/sound_bank.h"
#include "media/virtual_sound_bank.h"
#include "support/media_files.h"

namespace vesk::media {
namespace {

class VirtualSoundBankTest : public testing::Test {
 protected:
  std::int64_t now = 0;
  VirtualSoundBank bank{[this] { return now; }};
  // One second at 22050 Hz.
  std::shared_ptr<const Wave> second = decodeWave(test::wave(22050, 22050));
};

TEST_F(VirtualSoundBankTest, OneShotPlaysForTheWavesLength) {
  bank.bind_wave(3, second);
  bank.play_once(3);
  now = 999;
  EXPECT_TRUE(bank.is_playing(3));
  now = 1000;
  EXPECT_FALSE(bank.is_playing(3));
}

TEST_F(VirtualSoundBankTest, RateChangesTheRemainingTime) {
  bank.bind_wave(0, second);
  bank.play_once(0);
  now = 500;
  bank.set_rate(0, 2.0);  // half a second left at double speed: 250 ms
  EXPECT_EQ(bank.rateHz(0), 44100);
  now = 749;
  EXPECT_TRUE(bank.is_playing(0));
  now = 750;
  EXPECT_FALSE(bank.is_playing(0));
}

TEST_F(VirtualSoundBankTest, LoopPlaysUntilStopped) {
  bank.bind_wave(1, second);
  bank.play_loop(1);
  now = 60000;
  EXPECT_TRUE(bank.is_playing(1));
  EXPECT_TRUE(bank.looping(1));
  bank.stop(1);
  EXPECT_FALSE(bank.is_playing(1));
}

TEST_F(VirtualSoundBankTest, PauseHoldsAOneShotWhereItWasAndResumeGoesOn) {
  bank.bind_wave(3, second);
  bank.play_once(3);
  bank.bind_wave(4, second);
  bank.play_loop(4);
  now = 400;
  bank.pause_all();
  now = 10000;  // ten seconds paused
  EXPECT_TRUE(bank.is_playing(3));
  bank.resume_all();
  now = 10599;
  EXPECT_TRUE(bank.is_playing(3));
  EXPECT_TRUE(bank.looping(4));
  now = 10600;  // 400 ms before the pause and 600 after it make the second
  EXPECT_FALSE(bank.is_playing(3));
  EXPECT_TRUE(bank.is_playing(4));
}

TEST_F(VirtualSoundBankTest, ASoundStartedWhilePausedStartsAtTheResume) {
  bank.bind_wave(3, second);
  now = 100;
  bank.pause_all();
  now = 5000;
  bank.play_once(3);
  now = 8000;
  bank.resume_all();
  now = 8999;
  EXPECT_TRUE(bank.is_playing(3));
  now = 9000;
  EXPECT_FALSE(bank.is_playing(3));
}

TEST_F(VirtualSoundBankTest, PlayingAgainRewinds) {
  bank.bind_wave(2, second);
  bank.play_once(2);
  now = 800;
  bank.play_once(2);
  now = 1500;
  EXPECT_TRUE(bank.is_playing(2));
}

TEST_F(VirtualSoundBankTest, BindingGivesAFreshSilentCopyAtTheRecordedRate) {
  bank.bind_wave(4, second);
  bank.set_rate(4, 1.5);
  bank.set_volume(4, -3000);
  bank.play_loop(4);
  bank.bind_wave(4, second);
  EXPECT_FALSE(bank.is_playing(4));
  EXPECT_EQ(bank.rateHz(4), 22050);
  EXPECT_EQ(bank.volume(4), 0);
}

TEST_F(VirtualSoundBankTest, ChannelsWithoutAWaveDoNothing) {
  bank.play_once(5);
  bank.set_volume(5, -100);
  EXPECT_FALSE(bank.is_playing(5));
  bank.bind_wave(6, decodeWave("not a wave"));
  bank.play_loop(6);
  EXPECT_FALSE(bank.is_playing(6));
  bank.play_once(-1);
  bank.play_once(SoundBank::kChannelCount);
  EXPECT_FALSE(bank.is_playing(SoundBank::kChannelCount));
  // Only the bind was recorded: operations on unusable channels have no effect at all.
  ASSERT_EQ(bank.operations().size(), 1u);
  EXPECT_EQ(bank.operations()[0].kind, SoundOperation::Kind::Bind);
  EXPECT_EQ(bank.operations()[0].value, 0);
}

TEST_F(VirtualSoundBankTest, RecordsOperations) {
  bank.bind_wave(7, second);
  now = 100;
  bank.play_once(7);
  bank.set_volume(7, -2000);
  ASSERT_EQ(bank.operations().size(), 3u);
  EXPECT_EQ(bank.operations()[1].kind, SoundOperation::Kind::PlayOnce);
  EXPECT_EQ(bank.operations()[1].timeMs, 100);
  EXPECT_EQ(bank.operations()[2].value, -2000);
}

TEST(Wave, DecodesTheDataChunkWhereverItIs) {
  const auto plain = decodeWave(test::wave(11025, 22050));
  EXPECT_EQ(plain->frames, 22050);
  EXPECT_DOUBLE_EQ(plain->seconds(), 2.0);
  const auto withList = decodeWave(test::waveWithChunkBeforeData(11025, 33075));
  EXPECT_EQ(withList->frames, 33075);
  EXPECT_DOUBLE_EQ(withList->seconds(), 3.0);
}

TEST(Wave, InvalidFilesGiveEmptyWaves) {
  EXPECT_TRUE(decodeWave("")->empty());
  EXPECT_TRUE(decodeWave("RIFF\x04\0\0\0WAVE")->empty());
  std::string truncated = test::wave(8000, 100).substr(0, 30);
  EXPECT_TRUE(decodeWave(truncated)->empty());
}

struct RateCase {
  const char* name;
  int recorded;
  double factor;
  int hz;
};
void PrintTo(const RateCase& testCase, std::ostream* out) { *out << testCase.name; }

class PlaybackRateTest : public testing::TestWithParam<RateCase> {};

TEST_P(PlaybackRateTest, CutsTheFraction) {
  EXPECT_EQ(playbackRateHz(GetParam().recorded, GetParam().factor), GetParam().hz);
}

INSTANTIATE_TEST_SUITE_P(Rates, PlaybackRateTest,
                         testing::Values(RateCase{"as_recorded", 22050, 1.0, 22050},
                                         RateCase{"fraction_cut", 22050, 1.00001, 22050},
                                         RateCase{"doppler", 22050, 1220.0 / (1220.0 - 60.0), 23190},
                                         RateCase{"floor", 22050, 0.0, 100}, RateCase{"ceiling", 44100, 100.0, 200000}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vesk::media
