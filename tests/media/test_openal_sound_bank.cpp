// The OpenAL sound bank on OpenAL Soft's null output ("No Output"), which mixes in real time without a sound card:
// what each operation does to the sources and buffers, as OpenAL itself reports it.
#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>
#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <cmath>
#include <limits>
#include <string>
#include <thread>
#include <vector>

#include "media/openal_sound_bank.h"
#include "media/sine_wave.h"

namespace vesk::media {
namespace {

using namespace std::chrono_literals;
using Play = OpenAlChannelState::Play;

constexpr const char* kNullDevice = "No Output";

class OpenAlSoundBankTest : public testing::Test {
 protected:
  std::vector<std::string> messages;
  OpenAlSoundBank bank{{kNullDevice, [this](const std::string& m) { messages.push_back(m); }}};
  std::shared_ptr<const Wave> second = test::sineWave(22050, 22050, 441);
  std::shared_ptr<const Wave> short50ms = test::sineWave(22050, 1102, 441);

  // Waits until the channel has stopped by itself; false when it still plays after `limit`.
  bool waitUntilSilent(int channel, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (bank.is_playing(channel)) {
      if (std::chrono::steady_clock::now() > end) return false;
      std::this_thread::sleep_for(5ms);
    }
    return true;
  }
  ALint sampleOffset(int channel) {
    const unsigned source = bank.channelState(channel).source;  // also makes the bank's context current
    ALint offset = -1;
    alGetSourcei(source, AL_SAMPLE_OFFSET, &offset);
    return offset;
  }
};

TEST_F(OpenAlSoundBankTest, OpensEveryChannelWithASource) {
  ASSERT_TRUE(bank.working());
  EXPECT_EQ(bank.sourceCount(), SoundBank::kChannelCount);
  EXPECT_TRUE(messages.empty());
}

// The simulation thread calls the bank and then ends: the context it made its own must not outlive it there.
TEST_F(OpenAlSoundBankTest, AThreadThatLeavesHoldsNoContext) {
  ASSERT_TRUE(bank.working());
  auto getThreadContext =
      reinterpret_cast<PFNALCGETTHREADCONTEXTPROC>(alcGetProcAddress(nullptr, "alcGetThreadContext"));
  ASSERT_NE(getThreadContext, nullptr);
  ALCcontext* whileWorking = nullptr;
  ALCcontext* afterLeaving = nullptr;
  std::thread simulation([&] {
    bank.bind_wave(1, second);
    bank.play_once(1);
    whileWorking = getThreadContext();
    bank.leave_thread();
    afterLeaving = getThreadContext();
  });
  simulation.join();
  EXPECT_NE(whileWorking, nullptr);
  EXPECT_EQ(afterLeaving, nullptr);
  EXPECT_TRUE(bank.is_playing(1));  // the bank still works from other threads
}

TEST_F(OpenAlSoundBankTest, AllChannelsPlayAtOnce) {
  for (int ch = 0; ch < SoundBank::kChannelCount; ++ch) {
    bank.bind_wave(ch, second);
    bank.play_loop(ch);
  }
  std::this_thread::sleep_for(100ms);
  for (int ch = 0; ch < SoundBank::kChannelCount; ++ch) {
    EXPECT_TRUE(bank.is_playing(ch)) << ch;
    EXPECT_EQ(bank.channelState(ch).play, Play::Playing) << ch;
  }
  EXPECT_EQ(bank.bufferCount(), 1);
}

TEST_F(OpenAlSoundBankTest, AOneShotEndsByItself) {
  bank.bind_wave(3, short50ms);
  bank.play_once(3);
  EXPECT_TRUE(bank.is_playing(3));
  EXPECT_FALSE(bank.channelState(3).looping);
  EXPECT_TRUE(waitUntilSilent(3, 2s));
  EXPECT_EQ(bank.channelState(3).play, Play::Stopped);
}

TEST_F(OpenAlSoundBankTest, ALoopPlaysUntilStopped) {
  bank.bind_wave(4, short50ms);
  bank.play_loop(4);
  std::this_thread::sleep_for(300ms);  // six times the wave's length
  EXPECT_TRUE(bank.is_playing(4));
  EXPECT_TRUE(bank.channelState(4).looping);
  bank.stop(4);
  EXPECT_FALSE(bank.is_playing(4));
  EXPECT_EQ(bank.channelState(4).play, Play::Stopped);
}

TEST_F(OpenAlSoundBankTest, PlayingAgainStartsFromTheBeginning) {
  bank.bind_wave(2, second);
  bank.play_once(2);
  std::this_thread::sleep_for(300ms);
  EXPECT_GT(sampleOffset(2), 4000);  // 300 ms at 22050 Hz is 6615 samples
  bank.play_once(2);
  EXPECT_LT(sampleOffset(2), 2000);  // at most a mixing period or two in
  // A one-shot turned into a loop keeps playing past its end.
  bank.bind_wave(5, short50ms);
  bank.play_once(5);
  bank.play_loop(5);
  std::this_thread::sleep_for(200ms);
  EXPECT_TRUE(bank.is_playing(5));
}

TEST_F(OpenAlSoundBankTest, BindingGivesAFreshSilentChannelAtTheRecordedRate) {
  bank.bind_wave(4, second);
  const unsigned buffer = bank.channelState(4).buffer;
  bank.set_rate(4, 1.5);
  bank.set_volume(4, -3000);
  bank.play_loop(4);
  bank.bind_wave(4, second);
  const OpenAlChannelState state = bank.channelState(4);
  EXPECT_FALSE(bank.is_playing(4));
  EXPECT_NE(state.play, Play::Playing);
  EXPECT_FALSE(state.looping);
  EXPECT_FLOAT_EQ(state.gain, 1.0F);
  EXPECT_FLOAT_EQ(state.pitch, 1.0F);
  EXPECT_EQ(state.buffer, buffer);  // the same wave keeps its buffer
}

TEST_F(OpenAlSoundBankTest, ChannelsShareOneBufferPerWave) {
  const auto other = test::sineWave(22050, 22050, 441);  // equal samples, another wave
  bank.bind_wave(0, second);
  bank.bind_wave(1, second);
  bank.bind_wave(2, second);
  const unsigned shared = bank.channelState(0).buffer;
  ASSERT_NE(shared, 0u);
  EXPECT_EQ(bank.channelState(1).buffer, shared);
  EXPECT_EQ(bank.channelState(2).buffer, shared);
  EXPECT_EQ(bank.bufferCount(), 1);

  bank.bind_wave(1, other);
  EXPECT_EQ(bank.bufferCount(), 2);
  EXPECT_NE(bank.channelState(1).buffer, shared);
  bank.bind_wave(0, nullptr);
  bank.play_loop(2);
  EXPECT_TRUE(alIsBuffer(shared));  // channel 2 still holds it
  EXPECT_TRUE(bank.is_playing(2));
  bank.bind_wave(2, other);
  EXPECT_EQ(bank.bufferCount(), 1);
  EXPECT_FALSE(alIsBuffer(shared));  // released with its last channel
  EXPECT_EQ(bank.channelState(2).buffer, bank.channelState(1).buffer);
}

TEST_F(OpenAlSoundBankTest, ChannelsWithoutAWaveDoNothing) {
  bank.play_once(5);
  bank.play_loop(5);
  bank.set_volume(5, -100);
  bank.set_rate(5, 2.0);
  EXPECT_FALSE(bank.is_playing(5));
  EXPECT_EQ(bank.channelState(5).buffer, 0u);
  EXPECT_EQ(bank.channelState(5).play, Play::Initial);
  // Unbinding silences.
  bank.bind_wave(6, second);
  bank.play_loop(6);
  bank.bind_wave(6, nullptr);
  bank.play_loop(6);
  EXPECT_FALSE(bank.is_playing(6));
  EXPECT_EQ(bank.bufferCount(), 0);
}

TEST_F(OpenAlSoundBankTest, ChannelNumbersOutsideTheBankDoNothing) {
  for (int ch : {-1, SoundBank::kChannelCount, INT_MIN, INT_MAX}) {
    bank.bind_wave(ch, second);
    bank.play_once(ch);
    bank.play_loop(ch);
    bank.set_volume(ch, -100);
    bank.set_rate(ch, 2.0);
    bank.stop(ch);
    EXPECT_FALSE(bank.is_playing(ch)) << ch;
    EXPECT_EQ(bank.channelState(ch).source, 0u) << ch;
  }
  EXPECT_EQ(bank.bufferCount(), 0);
}

TEST_F(OpenAlSoundBankTest, PauseHoldsEveryChannelAndResumeGoesOn) {
  const auto third = test::sineWave(22050, 7350, 441);  // 333 ms
  bank.bind_wave(1, second);
  bank.play_once(1);
  bank.bind_wave(2, short50ms);
  bank.play_loop(2);
  bank.bind_wave(3, short50ms);
  bank.play_once(3);
  ASSERT_TRUE(waitUntilSilent(3, 2s));
  bank.bind_wave(4, third);
  bank.pause_all();
  bank.play_once(4);  // started while paused: starts at the resume
  std::this_thread::sleep_for(500ms);
  EXPECT_TRUE(bank.is_playing(1));
  EXPECT_EQ(bank.channelState(1).play, Play::Paused);
  EXPECT_TRUE(bank.is_playing(2));
  EXPECT_FALSE(bank.is_playing(3));
  EXPECT_TRUE(bank.is_playing(4));
  EXPECT_NE(bank.channelState(4).play, Play::Playing);

  bank.resume_all();
  EXPECT_EQ(bank.channelState(1).play, Play::Playing);
  EXPECT_EQ(bank.channelState(2).play, Play::Playing);
  EXPECT_TRUE(bank.channelState(2).looping);
  EXPECT_EQ(bank.channelState(3).play, Play::Stopped);  // ended before the pause: stays ended
  EXPECT_EQ(bank.channelState(4).play, Play::Playing);
  EXPECT_TRUE(waitUntilSilent(1, 3s));
  EXPECT_TRUE(waitUntilSilent(4, 3s));
  EXPECT_TRUE(bank.is_playing(2));
}

TEST_F(OpenAlSoundBankTest, StopWhilePausedIsNotUndoneByTheResume) {
  bank.bind_wave(1, second);
  bank.play_loop(1);
  bank.bind_wave(2, second);
  bank.pause_all();
  bank.play_once(2);
  bank.stop(1);
  bank.stop(2);
  bank.resume_all();
  EXPECT_FALSE(bank.is_playing(1));
  EXPECT_FALSE(bank.is_playing(2));
}

struct VolumeCase {
  const char* name;
  int hundredthsOfDb;
  float gain;
};
void PrintTo(const VolumeCase& testCase, std::ostream* out) { *out << testCase.name; }

class OpenAlVolumeTest : public OpenAlSoundBankTest, public testing::WithParamInterface<VolumeCase> {};

TEST_P(OpenAlVolumeTest, SetsTheGainAndKeepsPlaying) {
  bank.bind_wave(7, second);
  bank.play_loop(7);
  bank.set_volume(7, GetParam().hundredthsOfDb);
  EXPECT_NEAR(bank.channelState(7).gain, GetParam().gain, 1e-4);
  EXPECT_TRUE(bank.is_playing(7));
}

INSTANTIATE_TEST_SUITE_P(Volumes, OpenAlVolumeTest,
                         testing::Values(VolumeCase{"as_recorded", 0, 1.0F}, VolumeCase{"half", -602, 0.50003F},
                                         VolumeCase{"tenth", -2000, 0.1F}, VolumeCase{"silent", -10000, 0.0F},
                                         VolumeCase{"below_silent", -20000, 0.0F},
                                         VolumeCase{"above_recorded_is_full", 500, 1.0F}),
                         [](const auto& info) { return std::string(info.param.name); });

struct RateCase {
  const char* name;
  int recorded;
  double factor;
  double pitch;
};
void PrintTo(const RateCase& testCase, std::ostream* out) { *out << testCase.name; }

class OpenAlRateTest : public OpenAlSoundBankTest, public testing::WithParamInterface<RateCase> {};

TEST_P(OpenAlRateTest, SetsThePitchFromTheRateInWholeSamples) {
  const auto wave = test::sineWave(GetParam().recorded, 1000, 100);
  bank.bind_wave(8, wave);
  bank.play_loop(8);
  bank.set_rate(8, 1.7);  // a doppler shift first: the rate is absolute, not relative
  bank.set_rate(8, GetParam().factor);
  EXPECT_FLOAT_EQ(bank.channelState(8).pitch, static_cast<float>(GetParam().pitch));
  EXPECT_TRUE(bank.is_playing(8));
}

INSTANTIATE_TEST_SUITE_P(Rates, OpenAlRateTest,
                         testing::Values(RateCase{"as_recorded", 22050, 1.0, 1.0}, RateCase{"double", 22050, 2.0, 2.0},
                                         RateCase{"half", 22050, 0.5, 0.5},
                                         RateCase{"fraction_of_a_sample_cut", 22050, 1.00001, 1.0},
                                         RateCase{"doppler", 22050, 1220.0 / (1220.0 - 60.0), 23190.0 / 22050.0},
                                         RateCase{"zero_is_the_lowest_rate", 22050, 0.0, 100.0 / 22050.0},
                                         RateCase{"nan_is_the_lowest_rate", 22050,
                                                  std::numeric_limits<double>::quiet_NaN(), 100.0 / 22050.0},
                                         RateCase{"highest_rate", 44100, 100.0, 200000.0 / 44100.0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(OpenAlSoundBankWithoutDevice, DoesNothingAndSaysSoOnce) {
  std::vector<std::string> messages;
  OpenAlSoundBank bank({"vesk test: no such device", [&](const std::string& m) { messages.push_back(m); }});
  EXPECT_FALSE(bank.working());
  EXPECT_EQ(bank.sourceCount(), 0);
  const auto wave = test::sineWave(22050, 22050, 441);
  for (int ch = 0; ch < 3; ++ch) {
    bank.bind_wave(ch, wave);
    bank.play_loop(ch);
    bank.set_volume(ch, -100);
    bank.set_rate(ch, 2);
    EXPECT_FALSE(bank.is_playing(ch));
  }
  bank.pause_all();
  bank.resume_all();
  EXPECT_EQ(bank.bufferCount(), 0);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("no such device"), std::string::npos) << messages[0];
}

}  // namespace
}  // namespace vesk::media
