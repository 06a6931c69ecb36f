#include "support/media_files.h"

#include <sndfile.h>

#include <cstdio>
#include <cstring>

#include "demo_line/picture_files.h"

namespace vesk::test {
namespace {

void put16(std::string& s, unsigned v) {
  s += static_cast<char>(v & 0xFF);
  s += static_cast<char>((v >> 8) & 0xFF);
}

void put32(std::string& s, std::uint32_t v) {
  put16(s, v & 0xFFFF);
  put16(s, v >> 16);
}

std::string bmpHeaders(int width, int height, int bitCount, std::uint32_t compression, std::uint32_t dataOffset,
                       std::uint32_t dataSize, std::uint32_t colours) {
  std::string s = "BM";
  put32(s, dataOffset + dataSize);
  put32(s, 0);
  put32(s, dataOffset);
  put32(s, 40);
  put32(s, static_cast<std::uint32_t>(width));
  put32(s, static_cast<std::uint32_t>(height));
  put16(s, 1);
  put16(s, static_cast<unsigned>(bitCount));
  put32(s, compression);
  put32(s, dataSize);
  put32(s, 2835);
  put32(s, 2835);
  put32(s, colours);
  put32(s, 0);
  return s;
}

}  // namespace

QImage picture(int width, int height, const std::function<QRgb(int, int)>& colour) {
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) image.setPixel(x, y, colour(x, y));
  }
  return image;
}

std::string bmp24(const QImage& image) { return demo::bmpBytes(image); }

std::string bmpRle8(int width, int height, const std::vector<QRgb>& palette, const std::vector<std::uint8_t>& codes) {
  const auto offset = static_cast<std::uint32_t>(54 + 4 * palette.size());
  std::string s = bmpHeaders(width, height, 8, 1, offset, static_cast<std::uint32_t>(codes.size()),
                             static_cast<std::uint32_t>(palette.size()));
  for (QRgb c : palette) {
    s += static_cast<char>(qBlue(c));
    s += static_cast<char>(qGreen(c));
    s += static_cast<char>(qRed(c));
    s += '\0';
  }
  s.append(reinterpret_cast<const char*>(codes.data()), codes.size());
  return s;
}

std::string jpeg(const QImage& image, int quality) { return demo::jpegBytes(image, quality); }

std::string wave(int rate, int frames, int channels) {
  std::string s = "RIFF";
  const auto dataBytes = static_cast<std::uint32_t>(frames * channels * 2);
  put32(s, 36 + dataBytes);
  s += "WAVEfmt ";
  put32(s, 16);
  put16(s, 1);
  put16(s, static_cast<unsigned>(channels));
  put32(s, static_cast<std::uint32_t>(rate));
  put32(s, static_cast<std::uint32_t>(rate * channels * 2));
  put16(s, static_cast<unsigned>(channels * 2));
  put16(s, 16);
  s += "data";
  put32(s, dataBytes);
  for (int i = 0; i < frames * channels; ++i) put16(s, static_cast<unsigned>((i * 37) & 0x3FFF));
  return s;
}

std::string waveWithChunkBeforeData(int rate, int frames) {
  const std::string plain = wave(rate, frames);
  std::string list = "LIST";
  put32(list, 12);
  list += "INFOabcdefgh";
  std::string s = plain.substr(0, 36) + list + plain.substr(36);
  const auto riffSize = static_cast<std::uint32_t>(s.size() - 8);
  std::memcpy(s.data() + 4, &riffSize, 4);
  return s;
}

}  // namespace vesk::test
