// The OpenAL sound bank heard: OpenAL Soft's wave file writer renders what the bank plays, in real time, into a
// file that the tests measure (level, pitch, the tones of many channels at once). OpenAL reads its configuration
// once per process, so this is a program of its own, which points OpenAL at a configuration of its own before any
// OpenAL call; the cases that need yet another configuration run in a child process.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <complex>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <numbers>
#include <string>
#include <thread>
#include <vector>

#include "media/openal_sound_bank.h"
#include "media/sine_wave.h"
#include "support/temp_dir.h"

namespace vesk::media {
namespace {

using namespace std::chrono_literals;

std::filesystem::path gFolder;    // this run's temporary folder
std::filesystem::path gWaveFile;  // where OpenAL writes what it renders

// OpenAL's configuration for this run: the wave writer, stereo 32-bit float at 44100 Hz.
std::string renderConfig(const std::filesystem::path& waveFile) {
  return "[general]\nchannels = stereo\nsample-type = float32\nfrequency = 44100\n[wave]\nfile = " + waveFile.string() +
         "\n";
}

// What the writer wrote: the mean of both channels, as fractions of full scale.
struct Rendered {
  int rate = 0;
  std::vector<double> samples;

  std::size_t at(std::chrono::milliseconds t) const { return static_cast<std::size_t>(t.count() * rate / 1000); }
  std::size_t firstAbove(double threshold) const {
    for (std::size_t i = 0; i < samples.size(); ++i) {
      if (std::abs(samples[i]) > threshold) return i;
    }
    return samples.size();
  }
  std::size_t lastAbove(double threshold) const {
    for (std::size_t i = samples.size(); i > 0; --i) {
      if (std::abs(samples[i - 1]) > threshold) return i - 1;
    }
    return 0;
  }
};

Rendered readRendered() {
  const auto wave = loadWave(gWaveFile);
  Rendered out;
  out.rate = wave->sampleRate;
  if (wave->channels <= 0) return out;
  const auto channels = static_cast<std::size_t>(wave->channels);
  for (std::size_t f = 0; f + channels <= wave->samples.size(); f += channels) {
    double sum = 0;
    for (std::size_t c = 0; c < channels; ++c) sum += wave->samples[f + c];
    out.samples.push_back(sum / static_cast<double>(channels) / 32768.0);
  }
  return out;
}

double rms(const std::vector<double>& x, std::size_t from, std::size_t to) {
  double sum = 0;
  for (std::size_t i = from; i < to; ++i) sum += x[i] * x[i];
  return std::sqrt(sum / static_cast<double>(to - from));
}

// The frequency of the dominant tone: upward zero crossings, placed between samples by linear interpolation.
double zeroCrossingHz(const std::vector<double>& x, std::size_t from, std::size_t to, int rate) {
  double first = -1;
  double last = -1;
  int crossings = 0;
  for (std::size_t i = from + 1; i < to; ++i) {
    if (x[i - 1] < 0 && x[i] >= 0) {
      const double t = static_cast<double>(i - 1) + x[i - 1] / (x[i - 1] - x[i]);
      if (first < 0) first = t;
      last = t;
      ++crossings;
    }
  }
  return crossings < 2 ? 0.0 : (crossings - 1) * rate / (last - first);
}

// A measure over consecutive frames of the window [from, to), the median of the frames' values: a frame that
// holds a change (the mixer applies it within one period of the call) does not sway it.
double medianOverFrames(const Rendered& r, std::size_t from, std::size_t to,
                        const std::function<double(std::size_t, std::size_t)>& measure) {
  const std::size_t frame = r.at(25ms);
  std::vector<double> values;
  for (std::size_t start = from; start + frame <= to; start += frame) values.push_back(measure(start, start + frame));
  if (values.empty()) return 0;
  std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2), values.end());
  return values[values.size() / 2];
}

// The amplitude of one frequency in a window of n samples (Goertzel).
double toneAmplitude(const std::vector<double>& x, std::size_t from, std::size_t n, double hz, int rate) {
  std::complex<double> sum = 0;
  for (std::size_t i = 0; i < n; ++i) {
    sum += x[from + i] * std::polar(1.0, -2.0 * std::numbers::pi * hz * static_cast<double>(i) / rate);
  }
  return 2.0 * std::abs(sum) / static_cast<double>(n);
}

// A 441 Hz tone of one second at 22050 Hz: a whole number of periods, so it loops without a seam.
std::shared_ptr<const Wave> loopTone() { return test::sineWave(22050, 22050, 441, 0.25); }

// Plays the looping tone for 0.4 s, changes it, plays 0.4 s more and stops; the device writes the file as it closes.
// The file writer mixes on its own thread at the pace of the clock: a machine too busy to give it that time renders
// less than was played, so such a take is done again (at most three times).
Rendered renderToneChangedHalfway(const std::function<void(OpenAlSoundBank&)>& change) {
  Rendered r;
  for (int take = 0; take < 3; ++take) {
    {
      OpenAlSoundBank bank;
      if (!bank.working()) return r;
      bank.bind_wave(0, loopTone());
      bank.play_loop(0);
      std::this_thread::sleep_for(400ms);
      change(bank);
      std::this_thread::sleep_for(400ms);
      bank.stop(0);
      std::this_thread::sleep_for(100ms);
    }
    r = readRendered();
    if (r.lastAbove(0.01) > r.firstAbove(0.01) + r.at(700ms)) break;
  }
  return r;
}

TEST(OpenAlRender, MinusSixDecibelsHalveTheAmplitude) {
  const Rendered r = renderToneChangedHalfway([](OpenAlSoundBank& bank) { bank.set_volume(0, -602); });
  ASSERT_EQ(r.rate, 44100);
  const std::size_t start = r.firstAbove(0.01);
  const std::size_t end = r.lastAbove(0.01);
  ASSERT_GT(end, start + r.at(700ms)) << "the tone is missing or too short";
  const auto level = [&](std::size_t a, std::size_t b) { return rms(r.samples, a, b); };
  const double full = medianOverFrames(r, start + r.at(50ms), start + r.at(300ms), level);
  const double half = medianOverFrames(r, end - r.at(300ms), end - r.at(50ms), level);
  EXPECT_GT(full, 0.05);
  EXPECT_NEAR(half / full, 0.5, 0.01) << "full " << full << ", after -6.02 dB " << half;
}

TEST(OpenAlRender, DoubleRateDoublesThePitch) {
  const Rendered r = renderToneChangedHalfway([](OpenAlSoundBank& bank) { bank.set_rate(0, 2.0); });
  const std::size_t start = r.firstAbove(0.01);
  const std::size_t end = r.lastAbove(0.01);
  ASSERT_GT(end, start + r.at(700ms)) << "the tone is missing or too short";
  const auto pitch = [&](std::size_t a, std::size_t b) { return zeroCrossingHz(r.samples, a, b, r.rate); };
  const double recorded = medianOverFrames(r, start + r.at(50ms), start + r.at(300ms), pitch);
  const double doubled = medianOverFrames(r, end - r.at(300ms), end - r.at(50ms), pitch);
  EXPECT_NEAR(recorded, 441.0, 2.0);
  EXPECT_NEAR(doubled / recorded, 2.0, 0.01) << recorded << " Hz, then " << doubled << " Hz";
}

TEST(OpenAlRender, AllChannelsSoundAtOnce) {
  // Every channel its own tone: 100, 120, ... 3920 Hz, each a whole number of periods in 0.2 s.
  const auto toneHz = [](int channel) { return 100.0 + 20.0 * channel; };
  // 192 of them stay below full scale even where their peaks meet, so that OpenAL's output limiter never acts;
  // their phases are spread all the same.
  constexpr double kAmplitude = 0.005;
  {
    OpenAlSoundBank bank;
    ASSERT_TRUE(bank.working());
    for (int ch = 0; ch < SoundBank::kChannelCount; ++ch) {
      bank.bind_wave(ch, test::sineWave(44100, 44100, toneHz(ch), kAmplitude, 1, 2.4 * ch));
    }
    for (int ch = 0; ch < SoundBank::kChannelCount; ++ch) bank.play_loop(ch);
    std::this_thread::sleep_for(600ms);
  }
  const Rendered r = readRendered();
  const std::size_t start = r.firstAbove(0.001);
  const std::size_t n = r.at(200ms);
  const std::size_t from = start + r.at(200ms);
  ASSERT_LE(from + n, r.samples.size()) << "the tones are missing or too short";
  std::vector<double> tones;
  double strongestBetweenTones = 0;
  for (int ch = 0; ch < SoundBank::kChannelCount; ++ch) {
    tones.push_back(toneAmplitude(r.samples, from, n, toneHz(ch), r.rate));
    strongestBetweenTones =
        std::max(strongestBetweenTones, toneAmplitude(r.samples, from, n, toneHz(ch) + 10.0, r.rate));
  }
  std::vector<double> sorted = tones;
  std::sort(sorted.begin(), sorted.end());
  const double median = sorted[sorted.size() / 2];
  EXPECT_GT(median, kAmplitude * 0.3);
  EXPECT_LT(median, kAmplitude * 1.01);
  for (int ch = 0; ch < SoundBank::kChannelCount; ++ch) {
    EXPECT_NEAR(tones[static_cast<std::size_t>(ch)] / median, 1.0, 0.05) << "channel " << ch;
  }
  EXPECT_LT(strongestBetweenTones, median * 0.1);
}

// Runs `scenario` in a child process whose OpenAL reads `config` (and uses `drivers`); its exit status is the
// scenario's result (0: as expected) and its stderr what the bank said.
void inChildProcess(const std::string& config, const char* drivers, const std::function<int()>& scenario) {
  const std::filesystem::path path = gFolder / "child.conf";
  std::FILE* out = std::fopen(path.c_str(), "w");
  if (out == nullptr) std::_Exit(90);
  std::fputs(config.c_str(), out);
  std::fclose(out);
  setenv("ALSOFT_CONF", path.c_str(), 1);
  setenv("ALSOFT_DRIVERS", drivers, 1);
  const int result = scenario();
  std::error_code ignored;
  std::filesystem::remove_all(gFolder, ignored);  // the child never returns to main, which would remove it
  std::_Exit(result);
}

TEST(OpenAlDevice, ADeviceThatGoesAwaySilencesTheBankAndSaysSoOnce) {
  if (!std::filesystem::is_character_file("/dev/full")) GTEST_SKIP() << "no /dev/full to make writing fail";
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  // Writing to /dev/full fails at the writer's first period, and OpenAL Soft takes the device as disconnected.
  const auto scenario = [] {
    std::vector<std::string> messages;
    {
      OpenAlSoundBank bank({"", [&](const std::string& m) {
                              messages.push_back(m);
                              std::fprintf(stderr, "%s\n", m.c_str());
                            }});
      const auto tone = loopTone();
      bank.bind_wave(0, tone);
      bank.play_loop(0);
      const auto until = std::chrono::steady_clock::now() + 3s;
      while (bank.working() && std::chrono::steady_clock::now() < until) std::this_thread::sleep_for(10ms);
      if (bank.working()) return 1;
      bank.bind_wave(1, tone);
      bank.play_loop(1);
      bank.set_volume(1, -100);
      bank.set_rate(1, 2);
      bank.pause_all();
      bank.resume_all();
      if (bank.is_playing(0) || bank.is_playing(1)) return 2;
      if (bank.channelState(1).buffer != 0) return 3;
    }
    return messages.size() == 1 ? 0 : 4;
  };
  EXPECT_EXIT(inChildProcess(renderConfig("/dev/full"), "wave", scenario), testing::ExitedWithCode(0),
              "sound device was disconnected");
}

TEST(OpenAlDevice, FewerSourcesThanChannelsLeaveTheRestSilent) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const auto scenario = [] {
    std::vector<std::string> messages;
    OpenAlSoundBank bank({"", [&](const std::string& m) {
                            messages.push_back(m);
                            std::fprintf(stderr, "%s\n", m.c_str());
                          }});
    if (!bank.working()) return 1;
    if (bank.sourceCount() != 64) return 2;
    const auto tone = loopTone();
    bank.bind_wave(63, tone);
    bank.play_loop(63);
    bank.bind_wave(64, tone);
    bank.play_loop(64);
    if (!bank.is_playing(63) || bank.is_playing(64)) return 3;
    if (bank.channelState(64).source != 0 || bank.bufferCount() != 1) return 4;
    return messages.size() == 1 ? 0 : 5;
  };
  EXPECT_EXIT(inChildProcess("[general]\nsources = 64\n", "null", scenario), testing::ExitedWithCode(0),
              "gives 64 of 192 channels");
}

}  // namespace
}  // namespace vesk::media

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  vesk::test::TempDir folder;
  vesk::media::gFolder = folder.path();
  vesk::media::gWaveFile = folder.path() / "rendered.wav";
  const auto config = folder.write("alsoft.conf", vesk::media::renderConfig(vesk::media::gWaveFile));
  // Before any OpenAL call: OpenAL Soft reads both once.
  setenv("ALSOFT_CONF", config.c_str(), 1);
  setenv("ALSOFT_DRIVERS", "wave", 1);
  return RUN_ALL_TESTS();
}
