// Feeds arbitrary bytes to the picture decoders (libjpeg, QImage's BMP reader, our run-length BMP decoder) and
// to the colour key.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "media/picture_loader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto picture = vesk::media::decodePicture(std::string_view(reinterpret_cast<const char*>(data), size));
  if (picture) {
    const QImage keyed = vesk::media::applyColourKey(*picture, vesk::media::bottomLeftColour(*picture));
    (void)keyed;
  }
  return 0;
}
