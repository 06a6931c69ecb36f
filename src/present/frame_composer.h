// FrameComposer: draws the driving window's 800 x 850 drawing area from a snapshot of the drive: the video
// picture with the information texts on the forward view, every sprite in Z order (pattern cells, rotation in
// 256 steps about the centre, alpha), the cab monitor's text, the analog clock and the closing fade.
#pragma once

#include <QFont>
#include <QImage>

#include <algorithm>
#include <string>
#include <unordered_map>

#include "media/image_list.h"
#include "present/drawn_state.h"
#include "present/view_geometry.h"
#include "sim/drive_snapshot.h"

namespace vesk::present {

class FrameComposer {
 public:
  // The pictures must outlive the composer; they are only read.
  FrameComposer(const media::ImageList& images, ViewGeometry view);

  // `video`: the picture of the route video to show (a null image leaves the view black); `fadeLevel` 0 (none)
  // to 255. `out` becomes the finished drawing area.
  void compose(const sim::DriveSnapshot& shot, const QImage& video, int fadeLevel, QImage& out);

  // The drawing area of a paused drive that comes back to the front: the panel's sprites with the route's standby
  // picture over the view at (0, 0).
  void composeStandby(const sim::DriveSnapshot& shot, const QImage& standby, QImage& out);

  // The same, drawn with a painter on an 800 x 850 device (the window's own surface), every pixel of it.
  void compose(QPainter& p, const DrawnState& drawn, const QImage& video, int fadeLevel);
  void composeStandby(QPainter& p, const DrawnState& drawn, const QImage& standby);

  const ViewGeometry& view() const { return view_; }
  // The font of the information texts at a size in points: bold italic, the Japanese UI font or its stand-in.
  static QFont textFont(int pointSize);

 private:
  const media::ImageEntry* entry(const std::string& picture);
  QSize viewSize() const { return {std::max(view_.width, 1), std::max(view_.height, 1)}; }
  void drawView(QPainter& p, const DrawnState& drawn, const QImage& video);
  void drawSprites(QPainter& p, const DrawnState& drawn);
  void drawMonitor(QPainter& p, const DrawnState& drawn);
  void drawClock(QPainter& p, const DrawnState& drawn);

  const media::ImageList& images_;
  ViewGeometry view_;
  std::unordered_map<std::string, const media::ImageEntry*> byName_;  // lower-case name -> entry
};

}  // namespace vesk::present
