// Feeds arbitrary bytes to the interface string file reader and the controller map reader.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "data/data_error.h"
#include "data/string_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  try {
    vesk::data::readStringFile(bytes);
  } catch (const vesk::data::DataError&) {
  }
  vesk::data::readControllerCodes(bytes);
  return 0;
}
