#include "media/wave_chunks.h"

#include <algorithm>
#include <cstdint>

namespace vesk::media {
namespace {

constexpr std::size_t kHeaderSize = 8;  // an id and a 32-bit size

std::uint32_t size32(std::string_view at, bool bigEndian) {
  std::uint32_t value = 0;
  for (int i = 0; i < 4; ++i) {
    const auto byte = static_cast<std::uint8_t>(at[static_cast<std::size_t>(bigEndian ? i : 3 - i)]);
    value = (value << 8) | byte;
  }
  return value;
}

std::string sizeBytes(std::size_t size, bool bigEndian) {
  std::string out(4, '\0');
  for (int i = 0; i < 4; ++i) {
    out[static_cast<std::size_t>(bigEndian ? 3 - i : i)] = static_cast<char>((size >> (8 * i)) & 0xFF);
  }
  return out;
}

void appendChunk(std::string& out, std::string_view id, std::string_view body, bool bigEndian) {
  out += id;
  out += sizeBytes(body.size(), bigEndian);
  out += body;
  if (body.size() % 2 == 1) out += '\0';
}

}  // namespace

std::optional<std::string> soundChunksOfWave(std::string_view bytes) {
  if (bytes.size() < 12 || bytes.substr(8, 4) != "WAVE") return std::nullopt;
  const std::string_view riff = bytes.substr(0, 4);
  if (riff != "RIFF" && riff != "RIFX") return std::nullopt;
  const bool bigEndian = riff == "RIFX";

  std::optional<std::string_view> format, fact, data;
  // Every step moves on by at least a chunk header, so the walk ends within size / 8 steps.
  for (std::size_t at = 12; bytes.size() - at >= kHeaderSize;) {
    const std::string_view id = bytes.substr(at, 4);
    const std::uint64_t size = size32(bytes.substr(at + 4, 4), bigEndian);
    const std::size_t bodyAt = at + kHeaderSize;
    const std::string_view body =
        bytes.substr(bodyAt, static_cast<std::size_t>(std::min<std::uint64_t>(size, bytes.size() - bodyAt)));
    if (id == "fmt " && !format) format = body;
    if (id == "fact" && !fact) fact = body;
    if (id == "data" && !data) data = body;
    const std::uint64_t next = bodyAt + size + (size % 2);
    if (next >= bytes.size()) break;
    at = static_cast<std::size_t>(next);
  }
  if (!format || !data) return std::nullopt;

  std::string chunks = "WAVE";
  appendChunk(chunks, "fmt ", *format, bigEndian);
  if (fact) appendChunk(chunks, "fact", *fact, bigEndian);
  appendChunk(chunks, "data", *data, bigEndian);
  std::string out;
  appendChunk(out, riff, chunks, bigEndian);
  return out;
}

}  // namespace vesk::media
