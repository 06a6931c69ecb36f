// The preceding train: a train ahead on the same line that runs by its own timetable ("[Pre_Train]"). Between
// two of its stops it runs at the speed of the earlier stop's row once the clock has passed that row's departure
// time, and it moves along the video's frames the way the train itself does. Only its frame matters: the signals
// behind it show stop.
#include <algorithm>

#include "sim/drive.h"
#include "sim/motion.h"
#include "sim/protection.h"

namespace vesk::sim {
namespace {

// The frame of a row's station; none when the row names no station.
std::optional<std::int32_t> stationFrame(const data::RouteData& r, int row) {
  const int station = r.preTrains[static_cast<std::size_t>(row)].station;
  if (station < 0 || station >= std::min(r.stationCount, data::kStationCapacity)) return std::nullopt;
  return r.stations[static_cast<std::size_t>(station)].frame;
}

// The row whose interval [its station's frame, the next row's station's frame) holds the frame; the last row's
// interval has no end.
const data::PreTrainRow* rowAt(const data::RouteData& r, std::int32_t frame) {
  const int rows = std::min(r.preTrainCount, data::kPreTrainCapacity);
  for (int i = 0; i < rows; ++i) {
    const auto from = stationFrame(r, i);
    if (!from || frame < *from) continue;
    std::optional<std::int32_t> to;
    for (int k = i + 1; k < rows && !to; ++k) to = stationFrame(r, k);
    if (!to || frame < *to) return &r.preTrains[static_cast<std::size_t>(i)];
  }
  return nullptr;
}

// The video's recorded speed where the preceding train is; a recorded speed of 0 counts as 1 km/h, as it does
// for the train.
void lookUpPrecedingFrameSpeed(Drive& drive) {
  TrainState& s = drive.state;
  const auto found = lookUpFrameSpeed(drive.route, s.precedingFrame, s.precedingSpeedUnitRow);
  if (!found) {
    s.precedingFrameSpeed = std::max(s.precedingFrameSpeed, 1);
    return;
  }
  s.precedingFrameSpeed = std::max(found->speed, 1);
  s.precedingSpeedUnitRow = found->row;
}

}  // namespace

void advancePrecedingTrain(Drive& drive) {
  TrainState& s = drive.state;
  if (s.precedingFrame == 0 || s.precedingFrame <= s.frame) return;
  const data::RouteData& r = drive.route;
  const data::PreTrainRow* row = rowAt(r, s.precedingFrame);
  s.precedingSpeed = row != nullptr && s.clock > row->departureClock ? row->speed : 0;
  if (s.precedingFrameSpeed == 0) lookUpPrecedingFrameSpeed(drive);
  std::int32_t remainder = 0;
  const std::int32_t before = s.precedingFrame;
  advanceFrame(s.precedingSpeed, s.precedingFrameSpeed, s.precedingFrame, s.precedingAccumulator, remainder);
  if (s.precedingFrame != before) lookUpPrecedingFrameSpeed(drive);
}

void retirePrecedingTrain(Drive& drive) {
  if (drive.state.precedingFrame > drive.route.preTrainParam) drive.state.precedingFrame = 0;
}

}  // namespace vesk::sim
