#include "support/media_files.h"

#include <jpeglib.h>
#include <sndfile.h>

#include <cstdio>
#include <cstring>

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

std::string bmp24(const QImage& image) {
  const int w = image.width();
  const int h = image.height();
  const int row = (w * 3 + 3) / 4 * 4;
  std::string s = bmpHeaders(w, h, 24, 0, 54, static_cast<std::uint32_t>(row * h), 0);
  for (int y = h - 1; y >= 0; --y) {
    std::string line;
    for (int x = 0; x < w; ++x) {
      const QRgb c = image.pixel(x, y);
      line += static_cast<char>(qBlue(c));
      line += static_cast<char>(qGreen(c));
      line += static_cast<char>(qRed(c));
    }
    line.resize(static_cast<std::size_t>(row), '\0');
    s += line;
  }
  return s;
}

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

std::string jpeg(const QImage& image, int quality) {
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(image.width());
  info.image_height = static_cast<JDIMENSION>(image.height());
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  std::vector<unsigned char> row(static_cast<std::size_t>(image.width()) * 3);
  while (info.next_scanline < info.image_height) {
    const int y = static_cast<int>(info.next_scanline);
    for (int x = 0; x < image.width(); ++x) {
      const QRgb c = image.pixel(x, y);
      row[3 * static_cast<std::size_t>(x)] = static_cast<unsigned char>(qRed(c));
      row[3 * static_cast<std::size_t>(x) + 1] = static_cast<unsigned char>(qGreen(c));
      row[3 * static_cast<std::size_t>(x) + 2] = static_cast<unsigned char>(qBlue(c));
    }
    JSAMPROW rows[] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  std::string out(reinterpret_cast<const char*>(buffer), size);
  jpeg_destroy_compress(&info);
  std::free(buffer);
  return out;
}

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
