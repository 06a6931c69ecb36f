// The driving window's menu commands that change the drive: the jump to a station, the beginner mode and the
// stop-position lines.
#include <algorithm>
#include <string_view>

#include "data/track_positions.h"
#include "sim/drive.h"
#include "sim/line_jump.h"
#include "sim/timetable_clock.h"

namespace vesk::sim {
namespace {

void showSprite(Drive& drive, std::string_view picture, bool visible) {
  if (media::Sprite* sprite = drive.sprites.findByPicture(picture)) sprite->visible = visible;
}

}  // namespace

void Drive::StationClick(int k) {
  if (k < 0 || k >= route.stationCount || k >= data::kStationCapacity) return;
  const data::StationRow& station = route.stations[static_cast<std::size_t>(k)];
  TrainState& s = state;

  // Standing, with what this run passed and played forgotten and every sound but the first channel silent.
  s.speed = 0;
  leaveCurrentPlace(*this);

  // At the station's stop, with the route video and the position that belongs to the frame, so that the
  // platforms and stop marks ahead are where the video shows them.
  placeAtFrame(*this, station.frame);
  s.position = static_cast<double>(data::framePosition(route, station.frame).value_or(s.position));
  s.currentStation = k;
  s.nextStop = k;
  s.targetPosition = static_cast<double>(station.position);
  s.distanceToStop = s.targetPosition - s.position;
  texts.NextStopText = "ただいま " + station.name;
  if (const auto clock = timetableClock(route, k)) s.clock = *clock;

  resetProtectionOutsideSections(*this);
  // The handles at the last service notch, in effect at once.
  setHandlesInEffect(*this, -(std::max(vehicle.brakeNotches, 1) - 1));
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
