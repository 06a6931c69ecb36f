// WAVE files byte by byte, for the cases that well-behaved writers never make: chunks in any order, any sample
// format, sizes that do not match the bytes that follow.
#pragma once

#include <bit>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vesk::test {

inline std::string le16(std::uint32_t v) { return {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)}; }
inline std::string le32(std::uint32_t v) { return le16(v & 0xFFFF) + le16(v >> 16); }

// One chunk: id, size (the body's unless given) and body, padded to an even length.
inline std::string chunk(std::string_view id, const std::string& body, std::int64_t size = -1) {
  std::string out(id);
  out += le32(static_cast<std::uint32_t>(size < 0 ? static_cast<std::int64_t>(body.size()) : size));
  out += body;
  if (body.size() % 2 == 1) out += '\0';
  return out;
}

struct WaveFormat {
  std::uint16_t tag = 1;  // 1 PCM, 3 IEEE float, 6 A-law, 7 mu-law
  std::uint16_t channels = 1;
  std::uint32_t rate = 22050;
  std::uint16_t bits = 16;
};

inline std::string fmtChunk(const WaveFormat& f) {
  const std::uint32_t blockAlign = f.channels * ((f.bits + 7u) / 8u);
  return chunk("fmt ", le16(f.tag) + le16(f.channels) + le32(f.rate) + le32(f.rate * blockAlign) + le16(blockAlign) +
                           le16(f.bits));
}

// Interleaved samples of a slow ramp in the format's sample size (8-bit unsigned, 16/24/32-bit signed, 32-bit
// float for tag 3, one byte a sample for A-law and mu-law).
inline std::string sampleBytes(const WaveFormat& f, int frames) {
  std::string out;
  for (int i = 0; i < frames * f.channels; ++i) {
    const double value = ((i * 37) % 200 - 100) / 128.0;  // within -0.79 .. 0.77
    if (f.tag == 3) {
      out += le32(std::bit_cast<std::uint32_t>(static_cast<float>(value)));
    } else if (f.bits <= 8) {
      out += static_cast<char>(static_cast<std::uint8_t>(128 + value * 127));
    } else {
      const auto full = static_cast<std::int32_t>(value * 2147483647.0);
      const std::string word = le32(static_cast<std::uint32_t>(full));
      out += word.substr(4 - f.bits / 8);  // the most significant bytes
    }
  }
  return out;
}

inline std::string riff(const std::vector<std::string>& chunks, std::int64_t size = -1) {
  std::string body = "WAVE";
  for (const auto& c : chunks) body += c;
  return chunk("RIFF", body, size);
}

// The usual file: "fmt " then "data".
inline std::string waveFile(const WaveFormat& f, int frames) {
  return riff({fmtChunk(f), chunk("data", sampleBytes(f, frames))});
}

}  // namespace vesk::test
