#include "media/bmp_rle.h"

#include <vector>

#include "media/picture_loader.h"

namespace vesk::media {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCompressionRle8 = 1;
constexpr std::uint32_t kCompressionRle4 = 2;

std::uint32_t u32(std::string_view b, std::size_t at) {
  if (at + 4 > b.size()) return 0;
  return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}

std::uint16_t u16(std::string_view b, std::size_t at) {
  if (at + 2 > b.size()) return 0;
  return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) |
                                    static_cast<unsigned>(static_cast<unsigned char>(b[at + 1])) << 8);
}

struct InfoHeader {
  std::uint32_t size = 0;
  std::int64_t width = 0;
  std::int64_t height = 0;  // signed, as in the file
  std::uint16_t bitCount = 0;
  std::uint32_t compression = 0;
  std::uint32_t coloursUsed = 0;
};

std::optional<InfoHeader> readInfoHeader(std::string_view b) {
  if (b.size() < kFileHeaderSize + 12 || b[0] != 'B' || b[1] != 'M') return std::nullopt;
  InfoHeader h;
  h.size = u32(b, 14);
  if (h.size == 12) {  // OS/2 core header: 16-bit sizes, no compression
    h.width = u16(b, 18);
    h.height = u16(b, 20);
    h.bitCount = u16(b, 24);
    return h;
  }
  if (h.size < 40 || b.size() < kFileHeaderSize + 40) return std::nullopt;
  h.width = static_cast<std::int32_t>(u32(b, 18));
  h.height = static_cast<std::int32_t>(u32(b, 22));
  h.bitCount = u16(b, 28);
  h.compression = u32(b, 30);
  h.coloursUsed = u32(b, 46);
  return h;
}

// Writes pixels of a bottom-up bitmap into the image, ignoring those outside it.
class RunLengthCanvas {
 public:
  RunLengthCanvas(QImage& image, const std::vector<QRgb>& palette) : image_(image), palette_(palette) {}
  void put(unsigned index) {
    if (x_ < image_.width() && y_ >= 0 && y_ < image_.height()) {
      const QRgb colour = index < palette_.size() ? palette_[index] : palette_.front();
      reinterpret_cast<QRgb*>(image_.scanLine(image_.height() - 1 - static_cast<int>(y_)))[x_] = colour;
    }
    ++x_;
  }
  void endOfLine() {
    x_ = 0;
    ++y_;
  }
  void move(std::int64_t dx, std::int64_t dy) {
    x_ += dx;
    y_ += dy;
  }
  bool past() const { return y_ >= image_.height(); }

 private:
  QImage& image_;
  const std::vector<QRgb>& palette_;
  std::int64_t x_ = 0;  // wide: delta codes can push far past the bitmap
  std::int64_t y_ = 0;
};

}  // namespace

std::optional<BmpSize> readBmpSize(std::string_view bytes) {
  const auto h = readInfoHeader(bytes);
  if (!h) return std::nullopt;
  return BmpSize{h->width, h->height < 0 ? -h->height : h->height};
}

bool isRunLengthBmp(std::string_view bytes) {
  const auto h = readInfoHeader(bytes);
  return h && h->size >= 40 &&
         ((h->compression == kCompressionRle8 && h->bitCount == 8) ||
          (h->compression == kCompressionRle4 && h->bitCount == 4));
}

std::optional<QImage> decodeRunLengthBmp(std::string_view b) {
  const auto h = readInfoHeader(b);
  if (!h || !isRunLengthBmp(b)) return std::nullopt;
  // Run-length bitmaps are always stored bottom-up.
  if (h->height <= 0 || h->width <= 0 || h->width > kMaxPictureSide || h->height > kMaxPictureSide ||
      h->width * h->height > kMaxPicturePixels) {
    return std::nullopt;
  }
  const std::size_t maxColours = h->bitCount == 8 ? 256 : 16;
  const std::size_t colours = h->coloursUsed == 0 || h->coloursUsed > maxColours ? maxColours : h->coloursUsed;
  const std::size_t paletteAt = kFileHeaderSize + h->size;
  std::vector<QRgb> palette;
  for (std::size_t i = 0; i < colours && paletteAt + 4 * i + 4 <= b.size(); ++i) {
    const std::size_t at = paletteAt + 4 * i;
    palette.push_back(qRgb(static_cast<unsigned char>(b[at + 2]), static_cast<unsigned char>(b[at + 1]),
                           static_cast<unsigned char>(b[at])));
  }
  if (palette.empty()) return std::nullopt;

  QImage image(static_cast<int>(h->width), static_cast<int>(h->height), QImage::Format_RGB32);
  if (image.isNull()) return std::nullopt;
  image.fill(palette.front());
  RunLengthCanvas canvas(image, palette);
  const bool four = h->bitCount == 4;
  std::size_t at = u32(b, 10);
  auto byteAt = [&](std::size_t i) { return static_cast<unsigned>(static_cast<unsigned char>(b[i])); };
  while (at + 2 <= b.size() && !canvas.past()) {
    const unsigned count = byteAt(at);
    const unsigned value = byteAt(at + 1);
    at += 2;
    if (count > 0) {
      for (unsigned i = 0; i < count; ++i) canvas.put(four ? (i % 2 == 0 ? value >> 4 : value & 0x0F) : value);
      continue;
    }
    if (value == 0) {
      canvas.endOfLine();
    } else if (value == 1) {
      break;
    } else if (value == 2) {
      if (at + 2 > b.size()) break;
      canvas.move(byteAt(at), byteAt(at + 1));
      at += 2;
    } else {
      // Absolute run of `value` pixels, padded to a 16-bit boundary.
      const std::size_t dataBytes = four ? (value + 1) / 2 : value;
      if (at + dataBytes > b.size()) break;
      for (unsigned i = 0; i < value; ++i) {
        const unsigned byte = byteAt(at + (four ? i / 2 : i));
        canvas.put(four ? (i % 2 == 0 ? byte >> 4 : byte & 0x0F) : byte);
      }
      at += dataBytes + (dataBytes % 2);
    }
  }
  return image;
}

}  // namespace vesk::media
