#include <gtest/gtest.h>
#include <sndfile.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "demo_line/sound_catalog.h"
#include "demo_line/sound_synth.h"
#include "support/temp_dir.h"

namespace vesk::demo {
namespace {

constexpr int kRate = 22050;

struct ReadBack {
  SF_INFO info{};
  std::vector<short> samples;
  double seconds() const { return static_cast<double>(samples.size()) / kRate; }
};

std::filesystem::path fileOf(const std::filesystem::path& root, const std::string& name) {
  std::string relative = name;
  std::replace(relative.begin(), relative.end(), '\\', '/');
  return root / relative;
}

std::optional<ReadBack> readBack(const std::filesystem::path& file) {
  ReadBack r;
  SNDFILE* f = sf_open(file.c_str(), SFM_READ, &r.info);
  if (f == nullptr) return std::nullopt;
  r.samples.resize(static_cast<std::size_t>(r.info.frames * r.info.channels));
  const sf_count_t got = sf_read_short(f, r.samples.data(), static_cast<sf_count_t>(r.samples.size()));
  sf_close(f);
  r.samples.resize(static_cast<std::size_t>(std::max<sf_count_t>(got, 0)));
  return r;
}

std::string bytesOf(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

double rms(const std::vector<short>& s) {
  double sum = 0;
  for (short v : s) sum += static_cast<double>(v) * v;
  return std::sqrt(sum / static_cast<double>(std::max<std::size_t>(s.size(), 1)));
}

// How much of the sound's energy is in its fast changes: the RMS of the first difference over the RMS.
double brightness(const std::vector<short>& s) {
  std::vector<short> steps;
  for (std::size_t i = 1; i < s.size(); ++i) steps.push_back(static_cast<short>((s[i] - s[i - 1]) / 2));
  return rms(steps) / rms(s);
}

// Onsets of the clicks (s): where the first difference's energy over a sliding 2 ms rises through a third of its
// peak, no closer than 25 ms apart.
std::vector<double> clickTimes(const std::vector<short>& s) {
  const std::size_t window = 44;
  std::vector<double> envelope(s.size(), 0.0);
  double sum = 0;
  for (std::size_t i = 1; i < s.size(); ++i) {
    sum += std::abs(s[i] - s[i - 1]);
    if (i > window) sum -= std::abs(s[i - window] - s[i - window - 1]);
    envelope[i] = sum;
  }
  const double threshold = *std::max_element(envelope.begin(), envelope.end()) / 3;
  std::vector<double> times;
  for (std::size_t i = 1; i < envelope.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    if (envelope[i] >= threshold && envelope[i - 1] < threshold && (times.empty() || t - times.back() > 0.025)) {
      times.push_back(t);
    }
  }
  return times;
}

// The period (s) of a window starting at `from`: the shortest lag between 1/3000 s and 1/40 s whose
// self-similarity (normalised autocorrelation) peaks within 10 % of the best, and the best similarity.
struct Pitch {
  double period = 0;
  double strength = 0;
};

Pitch pitchAt(const std::vector<short>& s, std::size_t from) {
  const std::size_t window = 4096, shortest = kRate / 3000, longest = kRate / 40;
  std::vector<double> r(longest + 1, 0.0);
  for (std::size_t lag = shortest; lag <= longest; ++lag) {
    double xy = 0, xx = 0, yy = 0;
    for (std::size_t i = from; i < from + window; ++i) {
      const double x = s[i], y = s[i + lag];
      xy += x * y;
      xx += x * x;
      yy += y * y;
    }
    r[lag] = xy / std::sqrt(xx * yy + 1e-9);
  }
  const double best = *std::max_element(r.begin(), r.end());
  for (std::size_t lag = shortest + 1; lag < longest; ++lag) {
    if (r[lag] >= 0.9 * best && r[lag] >= r[lag - 1] && r[lag] >= r[lag + 1]) {
      // The peak between samples, through a parabola.
      const double curve = r[lag - 1] - 2 * r[lag] + r[lag + 1];
      const double offset = curve < 0 ? 0.5 * (r[lag - 1] - r[lag + 1]) / curve : 0.0;
      return {(static_cast<double>(lag) + offset) / kRate, best};
    }
  }
  return {0, best};
}

// Every catalogue sound, written once for the whole suite.
class SoundSynthTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = std::make_unique<test::TempDir>();
    const auto start = std::chrono::steady_clock::now();
    written_ = writeSounds(dir_->path());
    seconds_ = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  static void TearDownTestSuite() { dir_.reset(); }

  static ReadBack sound(const std::string& name) {
    std::optional<ReadBack> r = readBack(fileOf(dir_->path(), name));
    EXPECT_TRUE(r.has_value()) << name;
    return r.value_or(ReadBack{});
  }

  static inline std::unique_ptr<test::TempDir> dir_;
  static inline bool written_ = false;
  static inline double seconds_ = 0;
};

TEST_F(SoundSynthTest, WritesEveryCatalogueSoundAsMono16BitWaveQuickly) {
  ASSERT_TRUE(written_);
  EXPECT_LT(seconds_, 30.0);
  for (const SoundSpec& spec : allSounds()) {
    SCOPED_TRACE(spec.file);
    const ReadBack r = sound(spec.file);
    EXPECT_EQ(r.info.samplerate, kRate);
    EXPECT_EQ(r.info.channels, 1);
    EXPECT_EQ(r.info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    if (spec.loop) {
      EXPECT_GE(r.seconds(), 1.0);
      EXPECT_LE(r.seconds(), 6.5);
    } else {
      EXPECT_GE(r.seconds(), 0.2);
      EXPECT_LE(r.seconds(), 15.0);
    }
    // Peaks at about -3 dBFS at most, never clipping, and never silent.
    const auto [low, high] = std::minmax_element(r.samples.begin(), r.samples.end());
    const int peak = std::max(-static_cast<int>(*low), static_cast<int>(*high));
    EXPECT_LE(peak, 23300);
    EXPECT_GE(peak, 600);
  }
}

// The step from the last sample back to the first is no bigger than the sound's steps around it (50 ms each side).
TEST_F(SoundSynthTest, LoopsJoinTheirStartWithoutAJump) {
  for (const SoundSpec& spec : allSounds()) {
    if (!spec.loop) continue;
    SCOPED_TRACE(spec.file);
    const std::vector<short> s = sound(spec.file).samples;
    const std::size_t around = kRate / 20;
    ASSERT_GT(s.size(), 2 * around);
    int largest = 0;
    for (std::size_t i = 1; i < around; ++i) {
      largest = std::max({largest, std::abs(s[i] - s[i - 1]), std::abs(s[s.size() - i] - s[s.size() - i - 1])});
    }
    EXPECT_LE(std::abs(s.front() - s.back()), 1.25 * largest);
  }
}

TEST_F(SoundSynthTest, WritingAgainGivesTheSameBytes) {
  test::TempDir again;
  ASSERT_TRUE(writeSounds(again.path()));
  for (const SoundSpec& spec : allSounds()) {
    EXPECT_EQ(bytesOf(fileOf(again.path(), spec.file)), bytesOf(fileOf(dir_->path(), spec.file))) << spec.file;
  }
}

// Four clicks at every rail joint (a "ta-tan" from each bogie), joints every 25 m at the band's middle speed.
TEST_F(SoundSynthTest, RunningClicksComeAtTheBandsSpeed) {
  for (const char* family : {"vk500", "vk103"}) {
    for (int band : {1, 3, 5, 8, 12}) {
      const std::string name = std::string("sound\\") + family + "\\run" + std::to_string(band) + ".wav";
      SCOPED_TRACE(name);
      const ReadBack r = sound(name);
      const double jointSeconds = 25.0 / ((10.0 * band + 5.0) / 3.6);
      const std::vector<double> clicks = clickTimes(r.samples);
      ASSERT_GE(clicks.size(), 4u);
      ASSERT_EQ(clicks.size() % 4, 0u);
      // The loop repeats: the click four on from each one comes one joint later.
      std::vector<double> periods;
      for (std::size_t j = 0; j < clicks.size(); ++j) {
        const std::size_t k = j + 4;
        periods.push_back(k < clicks.size() ? clicks[k] - clicks[j]
                                            : clicks[k - clicks.size()] + r.seconds() - clicks[j]);
      }
      for (double p : periods) EXPECT_NEAR(p, jointSeconds, 0.02 * jointSeconds);
    }
  }
}

TEST_F(SoundSynthTest, RunningGrowsLouderAndBrighterWithTheBand) {
  for (const char* family : {"vk500", "vk103"}) {
    SCOPED_TRACE(family);
    const auto run = [&](int band) {
      return sound(std::string("sound\\") + family + "\\run" + std::to_string(band) + ".wav");
    };
    EXPECT_LT(rms(run(0).samples), 0.5 * rms(run(1).samples));  // barely moving: faint creaking
    for (int band = 1; band + 3 <= 12; band += 3) {
      SCOPED_TRACE(band);
      const ReadBack slower = run(band), faster = run(band + 3);
      EXPECT_GT(rms(faster.samples), 1.3 * rms(slower.samples));
      EXPECT_GT(brightness(faster.samples), brightness(slower.samples));
    }
  }
}

// Motor and engine sounds are tonal and keep one pitch through the loop: the simulator sets their rate.
TEST_F(SoundSynthTest, MotorSoundsHoldOnePitch) {
  for (const char* family : {"vk500", "vk700", "vk103"}) {
    std::vector<SoundSpec> sounds = engineSounds1(family);
    for (const SoundSpec& s : engineSounds3(family)) sounds.push_back(s);
    for (const SoundSpec& spec : sounds) {
      SCOPED_TRACE(spec.file);
      const std::vector<short> s = sound(spec.file).samples;
      ASSERT_GT(s.size(), 30000u);
      const Pitch early = pitchAt(s, 0), late = pitchAt(s, s.size() - 10000);
      EXPECT_GT(early.strength, 0.6);
      EXPECT_NEAR(late.period, early.period, 0.01 * early.period);
    }
  }
}

// Voiced sounds: call-outs are the words alone, announcements their chime and then the same words.
TEST_F(SoundSynthTest, AnnouncementsAreAChimeBeforeTheWords) {
  test::TempDir dir;
  const std::string words = "つぎは、みなとまちです。";
  ASSERT_TRUE(writeSound(dir.path(), {"sound\\route\\next.wav", "announcement", false, words}));
  ASSERT_TRUE(writeSound(dir.path(), {"sound\\kanko\\next.wav", "call-out", false, words}));
  const std::optional<ReadBack> announcement = readBack(dir.path() / "sound/route/next.wav");
  const std::optional<ReadBack> callout = readBack(dir.path() / "sound/kanko/next.wav");
  ASSERT_TRUE(announcement && callout);
  const double chime = announcement->seconds() - callout->seconds();
  EXPECT_GT(chime, 0.8);
  EXPECT_LT(chime, 3.0);
  // The longer the phrase, the longer the sound.
  EXPECT_GT(sound("sound\\route\\overrun.wav").seconds(), sound("sound\\route\\next_10.wav").seconds());
  EXPECT_GT(sound("sound\\kanko\\k21.wav").seconds(), sound("sound\\kanko\\k0.wav").seconds());
}

// Restores PATH when the test ends.
class PathGuard {
 public:
  explicit PathGuard(const std::string& path) : saved_(std::getenv("PATH") ? std::getenv("PATH") : "") {
    ::setenv("PATH", path.c_str(), 1);
  }
  ~PathGuard() { ::setenv("PATH", saved_.c_str(), 1); }
  PathGuard(const PathGuard&) = delete;
  PathGuard& operator=(const PathGuard&) = delete;

 private:
  std::string saved_;
};

// espeak-ng speaks the phrases; without it each phrase still gets a tone sequence of its own.
TEST_F(SoundSynthTest, PhrasesFallBackToTonesWithoutEspeak) {
  test::TempDir dir;
  const SoundSpec stop{"sound\\kanko\\stop.wav", "call-out", false, "ていしいち よし"};
  const SoundSpec pass{"sound\\kanko\\pass.wav", "call-out", false, "つうか"};
  {
    const PathGuard noPrograms(dir.path().string());
    ASSERT_TRUE(writeSound(dir.path() / "tones", stop));
    ASSERT_TRUE(writeSound(dir.path() / "tones", pass));
  }
  const std::optional<ReadBack> stopTones = readBack(dir.path() / "tones/sound/kanko/stop.wav");
  const std::optional<ReadBack> passTones = readBack(dir.path() / "tones/sound/kanko/pass.wav");
  ASSERT_TRUE(stopTones && passTones);
  EXPECT_GT(stopTones->seconds(), passTones->seconds());
  EXPECT_GT(rms(stopTones->samples), 1000.0);

  if (::access("/usr/bin/espeak-ng", X_OK) != 0) GTEST_SKIP() << "espeak-ng is not installed";
  ASSERT_TRUE(writeSound(dir.path() / "spoken", stop));
  const std::optional<ReadBack> spoken = readBack(dir.path() / "spoken/sound/kanko/stop.wav");
  ASSERT_TRUE(spoken);
  EXPECT_NE(spoken->samples, stopTones->samples);
  EXPECT_GT(sound("sound\\route\\overrun.wav").seconds(), 4.0);  // chime and a long spoken sentence
}

}  // namespace
}  // namespace vesk::demo
