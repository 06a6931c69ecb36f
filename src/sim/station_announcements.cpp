// Announcements near stations on conductor-operated lines: each "[Announce]" row plays its environment sound once
// a run, in the 5 m that follow a point a given distance after (while the next stop is more than 100 m away) or
// before a station's stopping mark.
#include <algorithm>

#include "sim/drive.h"
#include "sim/sound_levels.h"
#include "sim/sound_select.h"

namespace vesk::sim {
namespace {

constexpr double kReachCm = 500;
constexpr double kFarFromStopCm = 10000;

}  // namespace

void stationAnnouncementStep(Drive& drive) {
  const data::RouteData& route = drive.route;
  // One-man trains (1) have the driver's own announcement keys instead.
  if (route.oneMan != 0 && route.oneMan != 2) return;
  const TrainState& s = drive.state;
  const int last = std::clamp(route.announceCount, 0, data::kAnnounceCapacity - 1);
  for (int k = 1; k <= last; ++k) {
    std::uint8_t& done = drive.line.announceDone[static_cast<std::size_t>(k)];
    const data::AnnounceRow& row = route.announcements[static_cast<std::size_t>(k)];
    if (done != 0 || row.station < 0 || row.station >= route.stationCount || row.station >= data::kStationCapacity) {
      continue;
    }
    const double mark = static_cast<double>(route.stations[static_cast<std::size_t>(row.station)].position);
    const double offset = row.distance * 100.0;
    double point = 0;
    if (row.side == 0) {
      if (!(s.distanceToStop > kFarFromStopCm)) continue;
      point = mark + offset;
    } else if (row.side == 1) {
      point = mark - offset;
    } else {
      continue;
    }
    if (!(point <= s.position && s.position < point + kReachCm)) continue;
    const int channel = environmentChannel(drive.soundLayout.driveSoundCount, row.sound);
    if (drive.sounds.is_playing(channel)) continue;
    drive.sounds.play_once(channel);
    done = 1;
  }
}

}  // namespace vesk::sim
