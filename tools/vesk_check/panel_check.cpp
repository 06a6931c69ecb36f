#include "vesk_check/panel_check.h"

#include <QSize>

#include "core/path_resolver.h"
#include "data/cab_panel.h"
#include "media/picture_loader.h"

namespace vesk::tools {
namespace {

constexpr int kDrawingWidth = 800;
constexpr int kDrawingHeight = 850;

std::string sizeText(int w, int h) { return std::to_string(w) + " x " + std::to_string(h); }

}  // namespace

std::vector<std::string> panelFindings(const std::filesystem::path& vehicleDir, std::string_view vehicleFileName,
                                       const data::VehicleSpec& vehicle) {
  std::vector<std::string> out;
  for (const data::PanelElement& e : data::panelElements(vehicle, vehicleFileName)) {
    const auto path = core::resolveDataFile(vehicleDir, e.file);
    const auto picture = path ? media::loadPicture(*path) : std::nullopt;
    if (!picture) continue;  // reported as a missing or unreadable file
    const std::string what = e.section + " (" + e.file + ")";
    int w = picture->width();
    int h = picture->height();
    if (e.kind == data::PanelElement::Kind::MultiPicture) {
      if (e.patternWidth <= 0 || e.patternHeight <= 0) {
        out.push_back(what + ": pattern size " + sizeText(e.patternWidth, e.patternHeight) + " is not a size");
        continue;
      }
      if (w < e.patternWidth || h < e.patternHeight) {
        out.push_back(what + ": the picture (" + sizeText(w, h) + ") is smaller than one pattern (" +
                      sizeText(e.patternWidth, e.patternHeight) + "), so it never shows");
        continue;
      }
      w = e.patternWidth;
      h = e.patternHeight;
    }
    // A linear gauge moves up from its base line; its base line is where it rests.
    const int top = e.y;
    if (e.x < 0 || top < 0 || e.x + w > kDrawingWidth || top + h > kDrawingHeight) {
      out.push_back(what + ": placed at " + std::to_string(e.x) + ", " + std::to_string(top) + " with size " +
                    sizeText(w, h) + ", it reaches outside the 800 x 850 drawing area");
    }
  }
  return out;
}

}  // namespace vesk::tools
