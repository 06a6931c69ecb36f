#include "demo_line/pictures.h"

#include <QGuiApplication>

#include <stdexcept>

#include "demo_line/guide_pictures.h"
#include "demo_line/panel_pictures.h"
#include "demo_line/picture_files.h"
#include "demo_line/signal_pictures.h"
#include "demo_line/title_pictures.h"
#include "demo_line/track_pictures.h"

namespace vesk::demo {
namespace {

void writeTrackPictures(const PictureFolder& folder, const PictureInputs& inputs) {
  const std::string track = "image\\track\\";
  folder.write(track + "teimoku.bmp", stopTargetSheet());
  folder.write(track + "line_s.bmp", stopLinePicture(QColor(0xFF, 0xD8, 0x00)));
  folder.write(track + "line_m.bmp", stopLinePicture(QColor(0xE8, 0x20, 0x20)));
  folder.write(track + "line_e.bmp", stopLinePicture(QColor(0xF4, 0xF4, 0xF4)));
  folder.write(track + "slope_down.bmp", gradientPostSheet(inputs.slopesDown));
  folder.write(track + "slope_up.bmp", gradientPostSheet(inputs.slopesUp));
  folder.write(track + "limit.bmp", speedLimitSheet(inputs.limits));
  folder.write(track + "remain.bmp", remainingDistanceSheet());
  folder.write(track + "other.bmp", otherSignSheet());
  folder.write(track + "signal.bmp", signalSheet());
  const QImage indicators = routeIndicatorSheet();
  for (const char* name : {"signal_s.bmp", "signal_l.bmp", "signal_r.bmp"}) folder.write(track + name, indicators);
  for (int phase = 0; phase < kAnimPhases; ++phase) {
    folder.write(track + "anim_" + std::to_string(phase) + ".bmp", windTurbinePicture(phase));
  }
  folder.write(track + "cross_0.bmp", levelCrossingPicture(false));
  folder.write(track + "cross_1.bmp", levelCrossingPicture(true));
}

void writeGuidePictures(const PictureFolder& folder, const std::vector<RouteStop>& stops) {
  folder.write("image\\monitor.bmp", monitorSheet(stops));
  folder.write("image\\staf\\overlay.bmp", stafOverlayPicture(stops));
  folder.write("image\\staf\\standby.bmp", standbyPicture());
  folder.write("image\\staf\\subdisp.bmp", routeMapPicture(stops));
}

std::string twoDigits(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

void writeTitlePictures(const PictureFolder& folder, const std::vector<RouteStop>& stops) {
  const std::string title = "image\\title\\";
  for (int k = 0; k < 6; ++k) folder.write(title + "line" + twoDigits(k + 1) + ".bmp", lineButtonPicture(k, stops));
  for (int k = 0; k < 3; ++k) folder.write(title + "train" + twoDigits(k + 1) + ".bmp", trainPlatePicture(k));
  for (int k = 0; k < kTitleScenes; ++k) {
    folder.write(title + "title" + twoDigits(k + 1) + ".jpg", titleScenePicture(k));
  }
  folder.write(title + "title2.jpg", menuBackgroundPicture(stops));
}

}  // namespace

void writePictures(const std::filesystem::path& root, const PictureInputs& inputs) {
  // Text needs the fonts that only a running QGuiApplication provides.
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
    throw std::logic_error("writePictures needs a QGuiApplication");
  }
  const PictureFolder folder(root);
  for (const PanelLayout& layout : panelLayouts()) writePanelPictures(folder, layout);
  writeTrackPictures(folder, inputs);
  const std::vector<RouteStop> stops = routeStops(inputs.stations);
  writeGuidePictures(folder, stops);
  writeTitlePictures(folder, stops);
}

}  // namespace vesk::demo
