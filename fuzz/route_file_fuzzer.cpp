// Feeds arbitrary bytes to the route file reader and the track positions built from it. The folder it reads
// pictures from holds a BMP and a JPEG, so that the picture keys reach the picture loader and the sprites.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "data/data_error.h"
#include "data/route_file.h"
#include "data/track_positions.h"
#include "support/media_files.h"
#include "support/temp_dir.h"

namespace {

vesk::test::TempDir* pictureDir = nullptr;
vesk::data::UiStrings* strings = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  pictureDir = new vesk::test::TempDir();
  const QImage sign = vesk::test::picture(64, 32, [](int x, int y) { return y == 31 ? 0xFF00FF : qRgb(x * 4, 0, 0); });
  pictureDir->write("a.bmp", vesk::test::bmp24(sign));
  pictureDir->write("b.jpg", vesk::test::jpeg(sign));
  strings = new vesk::data::UiStrings();
  strings->viewWidth = 800;
  strings->viewHeight = 450;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vesk::media::DrivePictures pictures;
  try {
    auto route = vesk::data::readRouteFile(std::string_view(reinterpret_cast<const char*>(data), size),
                                           pictureDir->path(), "fuzz.dat", {*strings, "train.dat"}, pictures);
    vesk::data::computeTrackPositions(*route);
  } catch (const vesk::data::DataError&) {
  }
  return 0;
}
