// The cab panel's pictures and sprites: every element the vehicle file names (plain pictures, needles, linear
// gauges, lamps and the "[Others]" pictures) becomes a named picture and a sprite with its layer, colour key and
// first visibility. The multi-picture elements are made while the vehicle file is read; they are listed here
// too, so that the data checker sees every element in one list.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "data/vehicle_spec.h"
#include "media/image_list.h"
#include "media/sprite_engine.h"

namespace vesk::data {

struct PanelElement {
  enum class Kind { Plain, Rotating, LinearGauge, MultiPicture };
  std::string picture;  // the picture's name in the image list
  std::string section;  // the vehicle file's key that names it
  std::string file;     // as written in the vehicle file
  Kind kind = Kind::Plain;
  int x = 0;
  int y = 0;  // a linear gauge's base line; its sprite starts at 0
  int z = 0;
  bool transparent = true;
  bool visible = true;
  int patternWidth = 0;  // multi-picture elements only
  int patternHeight = 0;
};

// The elements the vehicle file defines (a section without a file name defines none), in the order the panel
// builds them: the multi-picture elements first, then the background, the tunnel shade, the lamps, the needles,
// the constant-speed lamp, the linear gauges and the "[Others]" pictures.
std::vector<PanelElement> panelElements(const VehicleSpec& vehicle, std::string_view vehicleFileName);

// Builds the elements that the vehicle file's reader has not built (all but the multi-picture ones) from the
// vehicle folder. A picture that is missing or cannot be decoded throws DataError with its file name followed by
// "の生成エラー".
void buildCabPanel(const std::filesystem::path& vehicleDir, std::string_view vehicleFileName,
                   const VehicleSpec& vehicle, media::ImageList& images, media::SpriteEngine& sprites);

}  // namespace vesk::data
