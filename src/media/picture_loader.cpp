#include "media/picture_loader.h"

#include <jpeglib.h>

#include <csetjmp>
#include <cstdio>
#include <vector>

#include "core/file_bytes.h"
#include "media/bmp_rle.h"

namespace vesk::media {
namespace {

bool sizeAllowed(std::int64_t width, std::int64_t height) {
  return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
         width * height <= kMaxPicturePixels;
}

struct JpegErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

[[noreturn]] void jpegErrorExit(j_common_ptr info) {
  auto* manager = reinterpret_cast<JpegErrorManager*>(info->err);
  std::longjmp(manager->jump, 1);
}

void jpegSilence(j_common_ptr) {}

// Decodes into `rows` (RGB, 3 bytes a pixel). Kept free of C++ objects with destructors between setjmp and the
// calls that may jump back, as longjmp requires.
bool decodeJpegRgb(const unsigned char* data, unsigned long size, std::vector<unsigned char>& rgb, int& width,
                   int& height) {
  jpeg_decompress_struct info;
  JpegErrorManager errors;
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = jpegErrorExit;
  errors.base.output_message = jpegSilence;
  if (setjmp(errors.jump)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, data, size);
  if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  if (info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK ||
      !sizeAllowed(info.image_width, info.image_height)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  width = static_cast<int>(info.output_width);
  height = static_cast<int>(info.output_height);
  rgb.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = rgb.data() + static_cast<std::size_t>(info.output_scanline) * static_cast<std::size_t>(width) * 3;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

std::optional<QImage> decodeJpeg(std::string_view bytes) {
  std::vector<unsigned char> rgb;
  int width = 0;
  int height = 0;
  if (!decodeJpegRgb(reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<unsigned long>(bytes.size()),
                     rgb, width, height)) {
    return std::nullopt;
  }
  QImage image(width, height, QImage::Format_RGB32);
  if (image.isNull()) return std::nullopt;
  for (int y = 0; y < height; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    const unsigned char* src = rgb.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width) * 3;
    for (int x = 0; x < width; ++x, src += 3) line[x] = qRgb(src[0], src[1], src[2]);
  }
  return image;
}

std::optional<QImage> decodeBmp(std::string_view bytes) {
  if (isRunLengthBmp(bytes)) return decodeRunLengthBmp(bytes);
  const auto header = readBmpSize(bytes);
  if (!header || !sizeAllowed(header->width, header->height)) return std::nullopt;
  QImage image;
  if (!image.loadFromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<int>(bytes.size()), "BMP")) {
    return std::nullopt;
  }
  return image.convertToFormat(QImage::Format_RGB32);
}

}  // namespace

std::optional<QImage> decodePicture(std::string_view bytes) {
  if (bytes.size() >= 3 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
      static_cast<unsigned char>(bytes[1]) == 0xD8) {
    return decodeJpeg(bytes);
  }
  if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') return decodeBmp(bytes);
  return std::nullopt;
}

std::optional<QImage> loadPicture(const std::filesystem::path& path) {
  const auto bytes = core::readFileBytes(path);
  if (!bytes) return std::nullopt;
  return decodePicture(*bytes);
}

QImage applyColourKey(const QImage& picture, QRgb transparentColour) {
  QImage out = picture.convertToFormat(QImage::Format_ARGB32);
  const QRgb key = transparentColour & 0x00FFFFFFu;
  for (int y = 0; y < out.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < out.width(); ++x) {
      if ((line[x] & 0x00FFFFFFu) == key) line[x] = 0;
    }
  }
  return out.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QRgb bottomLeftColour(const QImage& picture) {
  if (picture.isNull()) return 0;
  return picture.pixel(0, picture.height() - 1);
}

}  // namespace vesk::media
