// BMP header reading and a decoder for run-length encoded BMPs (RLE8, RLE4). QImage leaves the pixels that such
// a bitmap skips (end-of-line and delta codes) undefined; here they take palette colour 0, as on Windows.
#pragma once

#include <QImage>

#include <cstdint>
#include <optional>
#include <string_view>

namespace vesk::media {

struct BmpSize {
  std::int64_t width = 0;
  std::int64_t height = 0;  // always positive; top-down bitmaps have a negative height in the file
};

std::optional<BmpSize> readBmpSize(std::string_view bytes);
bool isRunLengthBmp(std::string_view bytes);
std::optional<QImage> decodeRunLengthBmp(std::string_view bytes);

}  // namespace vesk::media
