// The items along the line that wait for the driver's call-out (Enter), found by the tick:
// - the other item ("[OtherKanko]" entry, or the time check):
//   900, the time check, while the frame lies inside a "[Time]" row (strictly between its two frames);
//   else entry 0, a passing station, from 300 m before the platform of a station of kind 1 to its platform end;
//   else entry 1, the stopping position, over the last 200 m before the next stop's mark while moving forwards;
//   an entry the route's list does not reach is never pending;
// - the speed-limit item ("[LimitKanko]" entries two per "[SpeedLimit]" row: 2i the limit ahead, 2i + 1 its end):
//   the limit ahead over the 300 frames before the row's first frame; its end over the 200 frames after the row's
//   last frame (while the release sign shows); the first row in table order that matches wins;
// - level crossings ("[Cross]" rows): a crossing enters the crossing queue once, when the frame has reached its
//   first frame (while before its last), and leaves it, uncalled, when the frame reaches its last frame; Enter
//   calls the call-out slot of the row's second value. Reaching rather than hitting the frames keeps a fast
//   train, whose frame moves on by many frames a tick, from missing a crossing.
// A newly pending other or limit item forgets the last item called, so that Enter calls it.
#include <algorithm>

#include "sim/drive.h"
#include "sim/stations.h"

namespace vesk::sim {
namespace {

constexpr int kTimeCheckItem = 900;
constexpr int kPassingStationItem = 0;
constexpr int kStoppingPositionItem = 1;
constexpr double kPassingStationReachCm = 30000;
constexpr double kStoppingPositionReachCm = 20000;
constexpr int kLimitAheadFrames = 300;
constexpr int kLimitEndFrames = 200;

// Crossing rows: not yet reached, in the queue, done.
constexpr std::uint8_t kCrossingQueued = 1;
constexpr std::uint8_t kCrossingDone = 2;

int otherItem(const Drive& drive) {
  const TrainState& s = drive.state;
  const data::RouteData& route = drive.route;
  const int times = std::min(route.timetableCount, data::kTimetableCapacity);
  for (int i = 0; i < times; ++i) {
    const data::TimetableRow& row = route.timetable[static_cast<std::size_t>(i)];
    if (row.frameFrom < s.frame && s.frame < row.frameTo) return kTimeCheckItem;
  }
  if (route.otherCalloutCount > kPassingStationItem) {
    const int stations = std::min(route.stationCount, data::kStationCapacity);
    for (int i = 0; i < stations; ++i) {
      const data::StationRow& st = route.stations[static_cast<std::size_t>(i)];
      if (st.kind == 1 && static_cast<double>(st.platformStart) - kPassingStationReachCm <= s.position &&
          s.position <= static_cast<double>(st.platformEnd)) {
        return kPassingStationItem;
      }
    }
  }
  if (route.otherCalloutCount > kStoppingPositionItem && s.speed > 0 && s.distanceToStop > 0 &&
      s.distanceToStop <= kStoppingPositionReachCm) {
    return kStoppingPositionItem;
  }
  return kNone;
}

void updateOtherItem(Drive& drive) {
  TrainState& s = drive.state;
  const int item = otherItem(drive);
  if (item == s.pendingOther) return;
  s.pendingOther = item;
  if (item != kNone) s.lastCallOutId = -1;
}

void updateLimitItem(Drive& drive) {
  TrainState& s = drive.state;
  const data::RouteData& route = drive.route;
  int item = kNone;
  std::uint8_t ahead = 0;
  std::uint8_t end = 0;
  const int limits = std::min(route.speedLimitCount, data::kSpeedLimitCapacity);
  for (int i = 0; i < limits; ++i) {
    const data::SpeedLimitRow& row = route.speedLimits[static_cast<std::size_t>(i)];
    if (row.frame - kLimitAheadFrames <= s.frame && s.frame < row.frame) {
      item = 2 * i;
      ahead = 1;
    } else if (row.endFrame <= s.frame && s.frame < row.endFrame + kLimitEndFrames) {
      item = 2 * i + 1;
      end = 1;
    } else {
      continue;
    }
    break;
  }
  if (item != kNone && item >= route.limitCalloutCount) {
    item = kNone;
    ahead = 0;
    end = 0;
  }
  if (item == s.pendingLimit && ahead == s.limitWarnPending && end == s.limitEndPending) return;
  s.pendingLimit = item;
  s.limitWarnPending = ahead;
  s.limitEndPending = end;
  if (item != kNone) s.lastCallOutId = -1;
}

void updateCrossings(Drive& drive) {
  TrainState& s = drive.state;
  const data::RouteData& route = drive.route;
  const int rows = std::min(route.crossingCount, data::kCrossingCapacity);
  for (int r = 0; r < rows; ++r) {
    const data::CrossingRow& row = route.crossings[static_cast<std::size_t>(r)];
    std::uint8_t& state = drive.line.crossingEntered[static_cast<std::size_t>(r)];
    if (state == 0 && row.frameOn <= s.frame && s.frame < row.frameOff) {
      state = kCrossingQueued;
      const auto free = std::find(s.crossingQueue.begin(), s.crossingQueue.end(), -1);
      if (free != s.crossingQueue.end()) *free = r;
      s.crossingPending = r;
    } else if (state == kCrossingQueued && s.frame >= row.frameOff) {
      state = kCrossingDone;
      const auto at = std::find(s.crossingQueue.begin(), s.crossingQueue.end(), r);
      if (at != s.crossingQueue.end()) {
        std::rotate(at, at + 1, s.crossingQueue.end());
        s.crossingQueue.back() = -1;
      }
      if (s.crossingQueue[0] == -1) s.crossingPending = -1;
    }
  }
}

}  // namespace

void callOutItemsStep(Drive& drive) {
  updateOtherItem(drive);
  updateLimitItem(drive);
  updateCrossings(drive);
}

}  // namespace vesk::sim
