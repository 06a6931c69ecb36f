#include "demo_line/picture_files.h"

#include <jpeglib.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace vesk::demo {
namespace {

void putLE(std::string& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

}  // namespace

std::string bmpBytes(const QImage& picture) {
  const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
  const int w = rgb.width();
  const int h = rgb.height();
  const std::uint32_t rowBytes = (static_cast<std::uint32_t>(w) * 3 + 3) & ~3u;
  const std::uint32_t dataBytes = rowBytes * static_cast<std::uint32_t>(h);
  std::string out;
  out.reserve(54 + dataBytes);
  // BITMAPFILEHEADER
  out += "BM";
  putLE(out, 54 + dataBytes, 4);
  putLE(out, 0, 4);
  putLE(out, 54, 4);
  // BITMAPINFOHEADER: 24 bits a pixel, no compression, 72 dpi.
  putLE(out, 40, 4);
  putLE(out, static_cast<std::uint32_t>(w), 4);
  putLE(out, static_cast<std::uint32_t>(h), 4);
  putLE(out, 1, 2);
  putLE(out, 24, 2);
  putLE(out, 0, 4);
  putLE(out, dataBytes, 4);
  putLE(out, 2835, 4);
  putLE(out, 2835, 4);
  putLE(out, 0, 4);
  putLE(out, 0, 4);
  for (int y = h - 1; y >= 0; --y) {
    const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    std::uint32_t written = 0;
    for (int x = 0; x < w; ++x) {
      out += static_cast<char>(qBlue(line[x]));
      out += static_cast<char>(qGreen(line[x]));
      out += static_cast<char>(qRed(line[x]));
      written += 3;
    }
    for (; written < rowBytes; ++written) out += '\0';
  }
  return out;
}

std::string jpegBytes(const QImage& picture, int quality) {
  const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(rgb.width());
  info.image_height = static_cast<JDIMENSION>(rgb.height());
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(rgb.constScanLine(static_cast<int>(info.next_scanline)));
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  std::string out(reinterpret_cast<const char*>(buffer), size);
  jpeg_destroy_compress(&info);
  std::free(buffer);
  return out;
}

std::filesystem::path PictureFolder::pathOf(const std::string& name) const {
  std::string relative = name;
  for (char& c : relative) {
    if (c == '\\') c = '/';
  }
  return root_ / std::filesystem::path(relative);
}

void PictureFolder::write(const std::string& name, const QImage& picture) const {
  const std::filesystem::path file = pathOf(name);
  std::filesystem::create_directories(file.parent_path());
  const bool jpeg = file.extension() == ".jpg" || file.extension() == ".jpeg";
  const std::string bytes = jpeg ? jpegBytes(picture, 90) : bmpBytes(picture);
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + file.string());
}

}  // namespace vesk::demo
