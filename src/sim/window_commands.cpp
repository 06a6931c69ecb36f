// The driving window's menu commands that change the drive: the jump to a station, the beginner mode and the
// stop-position lines.
#include <algorithm>
#include <string_view>

#include "data/track_positions.h"
#include "sim/drive.h"
#include "sim/timetable_clock.h"

namespace vesk::sim {
namespace {

void showSprite(Drive& drive, std::string_view picture, bool visible) {
  if (media::Sprite* sprite = drive.sprites.findByPicture(picture)) sprite->visible = visible;
}

// Whether a signal's or a speed limit's section holds the frame.
bool inSignalOrLimitSection(const data::RouteData& route, std::int32_t frame) {
  for (int i = 0; i < route.signalCount && i < data::kSignalCapacity; ++i) {
    const data::SignalRow& r = route.signals[static_cast<std::size_t>(i)];
    if (r.visibleFrom <= frame && frame <= r.visibleTo) return true;
  }
  for (int i = 0; i < route.speedLimitCount && i < data::kSpeedLimitCapacity; ++i) {
    const data::SpeedLimitRow& r = route.speedLimits[static_cast<std::size_t>(i)];
    if (r.frame <= frame && frame <= r.endFrame) return true;
  }
  return false;
}

}  // namespace

void Drive::StationClick(int k) {
  if (k < 0 || k >= route.stationCount || k >= data::kStationCapacity) return;
  const data::StationRow& station = route.stations[static_cast<std::size_t>(k)];
  TrainState& s = state;

  // Standing, with what this run passed and played forgotten and every sound but the first channel silent.
  s.speed = 0;
  s.frameAccumulator = 0;
  clearPerRunTables();
  for (int channel = 1; channel < media::SoundBank::kChannelCount; ++channel) sounds.stop(channel);

  // At the station's stop, with the route video (a side video that was playing ends) and the position that
  // belongs to the frame, so that the platforms and stop marks ahead are where the video shows them.
  s.frame = station.frame;
  s.position = static_cast<double>(data::framePosition(route, station.frame).value_or(s.position));
  s.speedUnitRow = -1;
  s.videoMode = 0;
  s.sideVideoRow = -1;
  s.sideFrame = 0;
  s.currentStation = k;
  s.nextStop = k;
  s.targetPosition = static_cast<double>(station.position);
  s.distanceToStop = s.targetPosition - s.position;
  texts.NextStopText = "ただいま " + station.name;
  if (const auto clock = timetableClock(route, k)) s.clock = *clock;

  if (!inSignalOrLimitSection(route, s.frame)) {
    s.atsSpeedCode = kNone;
    s.shownSignalImage = kNone;
    s.lastSignalImage = kNone;
    s.shownSignalCallout = kNone;
  }

  // The handles at the last service notch, in effect at once.
  const int lastService = -(std::max(vehicle.brakeNotches, 1) - 1);
  control.powerHandle = 0;
  s.powerNotch = 0;
  control.holdPosition = 0;
  control.brakeHandle = lastService;
  s.brakeNotch = lastService;
  s.sapNotch = lastService;
  masconupdate();
}

void Drive::setBeginnerMode(bool on) {
  settings.ATS = on ? 1 : 0;
  control.atsOn = on ? 0 : 1;
  if (!on) showSprite(*this, "img_Lamp_Ats1", true);
}

void Drive::setStopLinesShown(bool shown) {
  for (const char* line : {"img_unten_teimokuS", "img_unten_teimokuM", "img_unten_teimokuE"}) {
    showSprite(*this, line, shown);
  }
}

}  // namespace vesk::sim
