// The signal the driver is approaching: its picture on the forward view (or, with cab signalling, in the cab),
// its call-out number, and its passing. A signal counts as passed within 15 frames of its position, either side.
#include <cstdlib>

#include "sim/drive.h"
#include "sim/protection.h"

namespace vesk::sim {
namespace {

constexpr int kPassingFrames = 15;

void setPattern(Drive& drive, const ProtectionSprites::Id& id, int pattern) {
  if (media::Sprite* sprite = spriteOf(drive, id)) sprite->pattern = pattern;
}

void place(Drive& drive, const ProtectionSprites::Id& id, int x, int y) {
  if (media::Sprite* sprite = spriteOf(drive, id)) {
    sprite->x = static_cast<double>(x) + drive.route.signalOffsetX;
    sprite->y = static_cast<double>(y) + drive.route.signalOffsetY;
  }
}

void clearSignalSprites(Drive& drive) {
  const ProtectionSprites& ids = protectionSprites(drive);
  for (const auto* id : {&ids.signalMain, &ids.signalSub0, &ids.signalSub1, &ids.signalSub2}) setPattern(drive, *id, 0);
}

// Puts the signal of `row` on the forward view, or its picture into the cab with cab signalling.
void showSignal(Drive& drive, const data::SignalRow& row, int picture) {
  const ProtectionSprites& ids = protectionSprites(drive);
  clearSignalSprites(drive);
  place(drive, ids.signalMain, row.mainX, row.mainY);
  place(drive, ids.signalSub1, row.sub1X, row.sub1Y);
  place(drive, ids.signalSub2, row.sub2X, row.sub2Y);
  place(drive, ids.signalSub0, row.sub0X, row.sub0Y);
  if (drive.vehicle.atsType != 2) {
    if (row.headType < 9) {
      setPattern(drive, ids.signalMain, picture);
      setPattern(drive, ids.signalSub0, row.sub0Pattern);
      if (row.sub1Pattern >= 1) setPattern(drive, ids.signalSub1, row.sub1Pattern);
      if (row.sub2Pattern >= 1) setPattern(drive, ids.signalSub2, row.sub2Pattern);
    }
    drive.state.shownSignalCallout = row.calloutNumber;
    return;
  }
  // Cab signalling: only type-9 heads stand beside the line; the cab signal shows the speed.
  drive.sounds.play_once(drive.vehicle.soundAtc);
  if (row.headType == 9) {
    setPattern(drive, ids.signalMain, picture);
    setPattern(drive, ids.signalSub0, row.sub0Pattern);
  }
  if (media::Sprite* cab = spriteOf(drive, ids.cabSignal)) {
    cab->visible = picture >= 35;
    if (picture >= 35) cab->pattern = picture - 35;
  }
}

}  // namespace

void updateShownSignal(Drive& drive) {
  TrainState& s = drive.state;
  const data::RouteData& r = drive.route;
  const int n = std::min(r.signalCount, data::kSignalCapacity);
  int shown = -1;
  bool passing = false;
  for (int i = 0; i < n; ++i) {
    const data::SignalRow& row = r.signals[static_cast<std::size_t>(i)];
    if (row.visibleFrom <= s.frame && s.frame < row.visibleTo) shown = i;
    if (std::abs(static_cast<std::int64_t>(s.frame) - row.visibleTo) <= kPassingFrames) passing = true;
  }
  // A signal being passed leaves the view; the next one comes up once it is passed (so that its picture, its
  // call-out and the cab signal's bell come once).
  if (passing) {
    clearSignalSprites(drive);
    s.atsAcknowledged = 0;
    s.shownSignalImage = kNone;
    s.lastSignalImage = kNone;
    s.shownSignalCallout = kNone;
    return;
  }
  if (shown < 0) return;
  s.shownSignalImage = drive.line.signals[static_cast<std::size_t>(shown)].image;
  if (s.shownSignalImage == s.lastSignalImage) return;
  showSignal(drive, r.signals[static_cast<std::size_t>(shown)], s.shownSignalImage);
  s.lastSignalImage = s.shownSignalImage;
}

}  // namespace vesk::sim
