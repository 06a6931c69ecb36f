// Waves from untrusted files on the OpenAL sound bank: every malformed WAVE file leaves its channel silent or plays
// what it holds, in a format OpenAL takes; nothing crashes. Runs on OpenAL Soft's null output.
#include <AL/al.h>
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "media/openal_sound_bank.h"
#include "media/wave_bytes.h"

namespace vesk::media {
namespace {

using test::chunk;
using test::fmtChunk;
using test::riff;
using test::sampleBytes;
using test::waveFile;
using test::WaveFormat;

// What the channel gets: no buffer (silent), or a 16-bit buffer of so many channels, frames and samples a second.
struct Outcome {
  int channels = 0;  // 0: silent
  int rate = 0;
  int frames = 0;
};
constexpr Outcome kSilent{};

struct WaveCase {
  const char* name;
  std::function<std::shared_ptr<const Wave>()> wave;
  Outcome outcome;
};
void PrintTo(const WaveCase& testCase, std::ostream* out) { *out << testCase.name; }

std::function<std::shared_ptr<const Wave>()> file(std::string bytes) {
  return [bytes] { return decodeWave(bytes); };
}

// A wave as no decoder makes it, for the bank's own checks.
std::function<std::shared_ptr<const Wave>()> made(int rate, int channels, std::int64_t frames, std::size_t samples) {
  return [=] {
    auto wave = std::make_shared<Wave>();
    wave->sampleRate = rate;
    wave->channels = channels;
    wave->frames = frames;
    wave->samples.assign(samples, 1000);
    return wave;
  };
}

const WaveFormat kMono16{};
const std::string kFmt = fmtChunk(kMono16);
const std::string kData = chunk("data", sampleBytes(kMono16, 11025));
const std::string kInfo = "INFOISFT" + test::le32(3) + "abc";

class OpenAlWaveInputTest : public testing::TestWithParam<WaveCase> {
 protected:
  OpenAlSoundBank bank{{"No Output", [](const std::string&) {}}};
};

TEST_P(OpenAlWaveInputTest, LeavesTheChannelSilentOrPlaysWhatTheWaveHolds) {
  const Outcome expected = GetParam().outcome;
  bank.bind_wave(0, GetParam().wave());
  bank.play_once(0);
  const unsigned buffer = bank.channelState(0).buffer;
  if (expected.channels == 0) {
    EXPECT_EQ(buffer, 0u);
    EXPECT_FALSE(bank.is_playing(0));
    EXPECT_EQ(bank.bufferCount(), 0);
    return;
  }
  ASSERT_NE(buffer, 0u);
  EXPECT_TRUE(bank.is_playing(0));
  ALint channels = 0, bits = 0, rate = 0, size = 0;
  alGetBufferi(buffer, AL_CHANNELS, &channels);
  alGetBufferi(buffer, AL_BITS, &bits);
  alGetBufferi(buffer, AL_FREQUENCY, &rate);
  alGetBufferi(buffer, AL_SIZE, &size);
  EXPECT_EQ(channels, expected.channels);
  EXPECT_EQ(bits, 16);
  EXPECT_EQ(rate, expected.rate);
  EXPECT_EQ(size, expected.frames * expected.channels * 2);
  // The channel answers every operation afterwards.
  bank.set_rate(0, 2.0);
  bank.set_volume(0, -602);
  bank.play_loop(0);
  EXPECT_TRUE(bank.is_playing(0));
  bank.bind_wave(0, nullptr);
  EXPECT_EQ(bank.bufferCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Files, OpenAlWaveInputTest,
    testing::Values(
        WaveCase{"pcm16_mono", file(waveFile(kMono16, 11025)), {1, 22050, 11025}},
        WaveCase{"pcm8_mono", file(waveFile({1, 1, 11025, 8}, 8000)), {1, 11025, 8000}},
        WaveCase{"pcm8_stereo", file(waveFile({1, 2, 22050, 8}, 11025)), {2, 22050, 11025}},
        WaveCase{"pcm24_stereo", file(waveFile({1, 2, 44100, 24}, 22050)), {2, 44100, 22050}},
        WaveCase{"pcm32_mono", file(waveFile({1, 1, 48000, 32}, 24000)), {1, 48000, 24000}},
        WaveCase{"float_mono", file(waveFile({3, 1, 44100, 32}, 22050)), {1, 44100, 22050}},
        WaveCase{"alaw_mono", file(waveFile({6, 1, 8000, 8}, 4000)), {1, 8000, 4000}},
        WaveCase{"three_channels_mixed_to_mono", file(waveFile({1, 3, 22050, 16}, 11025)), {1, 22050, 11025}},
        WaveCase{"six_channels_mixed_to_mono", file(waveFile({1, 6, 22050, 16}, 11025)), {1, 22050, 11025}},
        WaveCase{"list_chunk_before_fmt", file(riff({chunk("LIST", kInfo), kFmt, kData})), {1, 22050, 11025}},
        WaveCase{"list_entry_beyond_its_chunk",
                 file(riff({chunk("LIST", kInfo.substr(0, 9)), kFmt, kData})),
                 {1, 22050, 11025}},
        WaveCase{"odd_sized_chunk_between", file(riff({kFmt, chunk("junk", "xyz"), kData})), {1, 22050, 11025}},
        WaveCase{"data_before_fmt", file(riff({kData, kFmt})), {1, 22050, 11025}},
        WaveCase{"data_size_beyond_the_file",
                 file(riff({kFmt, chunk("data", sampleBytes(kMono16, 11025), 0x7FFFFFF0)})),
                 {1, 22050, 11025}},
        WaveCase{"riff_size_beyond_the_file", file(riff({kFmt, kData}, 0x7FFFFFF0)), {1, 22050, 11025}},
        WaveCase{
            "truncated_in_the_samples", file(waveFile(kMono16, 11025).substr(0, 44 + 2 * 9000 + 1)), {1, 22050, 9000}},
        WaveCase{"truncated_in_the_header", file(waveFile(kMono16, 11025).substr(0, 30)), kSilent},
        WaveCase{"only_the_riff_header", file("RIFF\4\0\0\0WAVE"), kSilent},
        WaveCase{"no_data_chunk", file(riff({kFmt})), kSilent},
        WaveCase{"empty_data_chunk", file(riff({kFmt, chunk("data", "")})), kSilent},
        WaveCase{"no_fmt_chunk", file(riff({kData})), kSilent},
        WaveCase{"sample_rate_zero", file(waveFile({1, 1, 0, 16}, 11025)), kSilent},
        WaveCase{"zero_channels", file(waveFile({1, 0, 22050, 16}, 11025)), kSilent},
        WaveCase{"zero_bits", file(riff({fmtChunk({1, 1, 22050, 0}), kData})), kSilent},
        WaveCase{"unknown_format_tag", file(waveFile({0x1234, 1, 22050, 16}, 11025)), kSilent},
        WaveCase{"not_a_wave", file("just some text, not a sound"), kSilent},
        WaveCase{"empty_file", file(""), kSilent}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Waves, OpenAlWaveInputTest,
    testing::Values(WaveCase{"no_wave", [] { return std::shared_ptr<const Wave>(); }, kSilent},
                    WaveCase{"empty_wave", [] { return std::make_shared<const Wave>(); }, kSilent},
                    WaveCase{"zero_channels", made(22050, 0, 100, 100), kSilent},
                    WaveCase{"negative_channels", made(22050, -2, 100, 100), kSilent},
                    WaveCase{"negative_rate", made(-22050, 1, 100, 100), kSilent},
                    WaveCase{"fewer_samples_than_frames", made(22050, 1, 20000, 15000), {1, 22050, 15000}},
                    WaveCase{"stereo_with_half_a_last_frame", made(22050, 2, 20000, 30001), {2, 22050, 15000}},
                    WaveCase{"frames_beyond_any_size",
                             made(22050, 1, std::numeric_limits<std::int64_t>::max(), 12000),
                             {1, 22050, 12000}},
                    WaveCase{"eight_channels", made(22050, 8, 12000, 96000), {1, 22050, 12000}},
                    WaveCase{"samples_but_no_frames", made(22050, 1, 0, 1000), kSilent}),
    [](const auto& info) { return std::string(info.param.name); });

// The samples every format decodes to: 16-bit values of the same level, whatever the file held.
struct FormatCase {
  const char* name;
  WaveFormat format;
  int tolerance;  // the format's own quantisation
};
void PrintTo(const FormatCase& testCase, std::ostream* out) { *out << testCase.name; }

class WaveSamplesTest : public testing::TestWithParam<FormatCase> {};

TEST_P(WaveSamplesTest, DecodeToSixteenBitsAtTheirLevel) {
  const WaveFormat& f = GetParam().format;
  const auto wave = decodeWave(waveFile(f, 200));
  ASSERT_EQ(wave->frames, 200);
  ASSERT_EQ(wave->samples.size(), 200u * f.channels);
  for (int i = 0; i < 200 * f.channels; ++i) {
    const double level = ((i * 37) % 200 - 100) / 128.0;  // as test::sampleBytes writes it
    EXPECT_NEAR(wave->samples[static_cast<std::size_t>(i)], level * 32768, GetParam().tolerance) << "sample " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Formats, WaveSamplesTest,
                         testing::Values(FormatCase{"pcm8", {1, 1, 11025, 8}, 400},
                                         FormatCase{"pcm16", {1, 2, 22050, 16}, 1},
                                         FormatCase{"pcm24", {1, 2, 44100, 24}, 1},
                                         FormatCase{"pcm32", {1, 1, 48000, 32}, 1},
                                         FormatCase{"float", {3, 1, 44100, 32}, 2}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(WaveSamples, FloatBeyondFullScaleIsClippedAndNanIsSilence) {
  std::string data;
  for (float v :
       {1.5F, -3.0F, std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(), -0.5F}) {
    data += test::le32(std::bit_cast<std::uint32_t>(v));
  }
  const auto wave = decodeWave(riff({fmtChunk({3, 1, 22050, 32}), chunk("data", data)}));
  ASSERT_EQ(wave->frames, 5);
  EXPECT_EQ(wave->samples, (std::vector<std::int16_t>{32767, -32767, 0, 32767, -16384}));
}

}  // namespace
}  // namespace vesk::media
