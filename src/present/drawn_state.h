// DrawnState: exactly what a composed drawing area shows of the drive, taken from a snapshot. The composer reads
// nothing else, so two equal states draw the same pixels and the frame loop need not draw the second again.
#pragma once

#include <QImage>
#include <QString>

#include <vector>

#include "media/sprite_engine.h"
#include "sim/drive_snapshot.h"
#include "sim/overlay_texts.h"
#include "sim/train_state.h"

namespace vesk::present {

struct ViewGeometry;

struct DrawnState {
  std::vector<media::Sprite> sprites;  // in drawing order, lower Z first
  sim::OverlayTexts texts;
  sim::HandleTexts handleTexts;
  int moji = 0;
  int information = 0;
  int viewSurfaceTop = 0;
  QString kilometrePost;  // the cab monitor's texts
  QString monitorDate;
  QString monitorClock;
  QImage clockFace;

  bool operator==(const DrawnState& other) const = default;
};

DrawnState drawnState(const sim::DriveSnapshot& shot, const ViewGeometry& view);

}  // namespace vesk::present
