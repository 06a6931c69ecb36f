// Wave: the decoded samples of one WAVE file. A missing or invalid file gives an empty wave, whose channel stays
// silent.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vesk::media {

struct Wave {
  int sampleRate = 0;  // the recorded rate
  int channels = 0;
  std::int64_t frames = 0;
  std::vector<std::int16_t> samples;  // interleaved
  std::string fileName;               // as the data file names it; kept for traces and messages

  bool empty() const { return frames <= 0 || sampleRate <= 0; }
  double seconds() const { return empty() ? 0.0 : static_cast<double>(frames) / sampleRate; }
};

// Longest wave decoded (in samples of all channels); a longer file is refused as invalid.
inline constexpr std::int64_t kMaxWaveSamples = std::int64_t{64} << 20;

std::shared_ptr<const Wave> decodeWave(std::string_view bytes);
// `fileName` names the wave in traces (the path's file name when empty); an unreadable file gives an empty wave
// that still carries its name.
std::shared_ptr<const Wave> loadWave(const std::filesystem::path& path, std::string fileName = {});

}  // namespace vesk::media
