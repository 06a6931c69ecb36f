// Feeds arbitrary bytes to the vehicle file reader. The folder it reads pictures from holds a BMP, a run-length
// BMP and a JPEG, so that the picture keys reach the picture loader and the sprite creation.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "data/data_error.h"
#include "data/vehicle_file.h"
#include "support/media_files.h"
#include "support/temp_dir.h"

namespace {

vesk::test::TempDir* pictureDir = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  pictureDir = new vesk::test::TempDir();
  const QImage strip = vesk::test::picture(40, 10, [](int x, int y) { return y == 9 ? 0xFF00FF : qRgb(x * 6, 0, 0); });
  pictureDir->write("a.bmp", vesk::test::bmp24(strip));
  pictureDir->write("b.jpg", vesk::test::jpeg(strip));
  pictureDir->write("c.bmp",
                    vesk::test::bmpRle8(4, 2, {qRgb(0, 0, 0), qRgb(255, 0, 0)}, {2, 1, 0, 0, 0, 2, 1, 0, 1, 1, 0, 1}));
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vesk::media::ImageList images;
  vesk::media::SpriteEngine sprites;
  try {
    vesk::data::VehicleSpec spec = vesk::data::readVehicleFile(
        std::string_view(reinterpret_cast<const char*>(data), size), pictureDir->path(), "fuzz.dat", images, sprites);
    vesk::data::applyPostLoadChecks(spec);
  } catch (const vesk::data::DataError&) {
  }
  return 0;
}
