// The one way pictures enter the program: JPEG through libjpeg-turbo, BMP through QImage (run-length encoded
// BMPs through our own decoder, so that the pixels they skip are defined). Nothing else is accepted.
#pragma once

#include <QImage>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

namespace vesk::media {

// Pictures larger than this (in either side, or in pixels) are refused instead of decoded.
inline constexpr int kMaxPictureSide = 16384;
inline constexpr std::int64_t kMaxPicturePixels = std::int64_t{16} << 20;

// Decodes a picture held in memory; std::nullopt when it is neither a readable JPEG nor a readable BMP.
// The result is Format_RGB32.
std::optional<QImage> decodePicture(std::string_view bytes);
std::optional<QImage> loadPicture(const std::filesystem::path& path);

// Turns every pixel of the transparent colour into a fully transparent one (premultiplied ARGB result).
QImage applyColourKey(const QImage& picture, QRgb transparentColour);
// The colour of the bottom-left pixel (x 0, y height - 1), the data files' way of naming a transparent colour.
QRgb bottomLeftColour(const QImage& picture);

}  // namespace vesk::media
