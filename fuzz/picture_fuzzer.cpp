// Feeds arbitrary bytes to the picture decoders (libjpeg, QImage's BMP reader, our run-length BMP decoder) and
// to the colour key.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "present/picture_loader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto picture = vesk::present::decodePicture(std::string_view(reinterpret_cast<const char*>(data), size));
  if (picture) {
    const QImage keyed = vesk::present::applyColourKey(*picture, vesk::present::bottomLeftColour(*picture));
    (void)keyed;
  }
  return 0;
}
