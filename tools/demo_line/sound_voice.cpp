#include "demo_line/sound_voice.h"

#include <fcntl.h>
#include <sndfile.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <filesystem>
#include <vector>

namespace vesk::demo {

using namespace dsp;

namespace {

// A file name no other call (in this or another process) uses at the same time.
std::filesystem::path temporaryWave() {
  static std::atomic<unsigned> counter{0};
  return std::filesystem::temp_directory_path() /
         ("vesk-voice-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".wav");
}

// Runs espeak-ng with the text as an argument (no shell), its output streams closed off.
bool runEspeak(const std::string& kana, const std::filesystem::path& out) {
  std::vector<std::string> args = {"espeak-ng", "-v", "ja", "-s", "140", "-w", out.string(), kana};
  std::vector<char*> argv;
  argv.reserve(args.size() + 1);
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int error = posix_spawnp(&pid, "espeak-ng", &actions, nullptr, argv.data(), ::environ);
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) return false;
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return false;
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Reads a WAVE as mono samples at kRate (channels averaged, other rates resampled linearly).
std::optional<Samples> readMono(const std::filesystem::path& file) {
  SF_INFO info{};
  SNDFILE* f = sf_open(file.c_str(), SFM_READ, &info);
  if (f == nullptr) return std::nullopt;
  std::vector<float> interleaved(static_cast<std::size_t>(info.frames * info.channels));
  const sf_count_t got = sf_readf_float(f, interleaved.data(), info.frames);
  sf_close(f);
  if (got <= 0 || info.channels <= 0 || info.samplerate <= 0) return std::nullopt;
  Samples mono(static_cast<std::size_t>(got));
  for (std::size_t i = 0; i < mono.size(); ++i) {
    float sum = 0;
    for (int c = 0; c < info.channels; ++c) sum += interleaved[i * static_cast<std::size_t>(info.channels) + c];
    mono[i] = sum / static_cast<float>(info.channels);
  }
  if (info.samplerate == kRate) return mono;
  const double step = static_cast<double>(info.samplerate) / kRate;
  Samples out(static_cast<std::size_t>(static_cast<double>(mono.size()) / step));
  for (std::size_t i = 0; i < out.size(); ++i) {
    const double x = static_cast<double>(i) * step;
    const std::size_t j = static_cast<std::size_t>(x);
    const double frac = x - static_cast<double>(j);
    const float next = j + 1 < mono.size() ? mono[j + 1] : mono[j];
    out[i] = static_cast<float>(mono[j] * (1 - frac) + next * frac);
  }
  return out;
}

// Cuts silence off both ends, keeping a short lead-in and the last word's tail.
Samples trimmed(const Samples& s) {
  const double threshold = 0.01 * peakOf(s);
  std::size_t first = 0, last = s.size();
  while (first < s.size() && std::fabs(s[first]) <= threshold) ++first;
  while (last > first && std::fabs(s[last - 1]) <= threshold) --last;
  if (first >= last) return {};
  first -= std::min(first, static_cast<std::size_t>(frames(0.03)));
  last = std::min(s.size(), last + static_cast<std::size_t>(frames(0.15)));
  return Samples(s.begin() + static_cast<long>(first), s.begin() + static_cast<long>(last));
}

// Decodes UTF-8 into code points (malformed bytes are skipped).
std::vector<char32_t> codePoints(const std::string& text) {
  std::vector<char32_t> out;
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    const int length = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xe ? 3 : (c >> 3) == 0x1e ? 4 : 0;
    if (length == 0 || i + static_cast<std::size_t>(length) > text.size()) {
      ++i;
      continue;
    }
    char32_t cp = length == 1 ? c : c & (0x7f >> length);
    for (int k = 1; k < length; ++k) cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3f);
    out.push_back(cp);
    i += static_cast<std::size_t>(length);
  }
  return out;
}

}  // namespace

std::optional<Samples> speakJapanese(const std::string& kana) {
  const std::filesystem::path file = temporaryWave();
  std::optional<Samples> spoken;
  if (runEspeak(kana, file)) spoken = readMono(file);
  std::error_code ignored;
  std::filesystem::remove(file, ignored);
  if (!spoken) return std::nullopt;
  Samples words = trimmed(*spoken);
  if (words.empty()) return std::nullopt;
  return words;
}

Samples tonePhrase(const std::string& kana) {
  static constexpr int kPentatonic[10] = {0, 2, 4, 7, 9, 12, 14, 16, 19, 21};
  Samples s;
  for (char32_t cp : codePoints(kana)) {
    const bool pause = cp == U' ' || cp == U'\u3000' || cp == U'\u3001' || cp == U'\u3002';
    if (pause) {
      s.resize(s.size() + static_cast<std::size_t>(frames(cp == U'\u3002' ? 0.25 : 0.15)), 0.0f);
      continue;
    }
    const double hz = 392.0 * std::pow(2.0, kPentatonic[cp % 10] / 12.0);
    Samples tone(static_cast<std::size_t>(frames(0.13)), 0.0f);
    addTone(tone, 0, 0.11, hz, 1.0, {1, 0.3, 0.1}, {0.01, 0.03});
    append(s, tone);
  }
  if (s.empty()) s.resize(static_cast<std::size_t>(frames(0.2)), 0.0f);
  return s;
}

}  // namespace vesk::demo
