#include "sim/run_record.h"

#include <algorithm>
#include <cmath>

#include "sim/drive.h"

namespace vesk::sim {
namespace {

// Counts a flag each time it comes on.
void countRise(int& count, std::uint8_t& last, bool now) {
  if (now && last == 0) ++count;
  last = now ? 1 : 0;
}

}  // namespace

RunRecord::RunRecord(const Drive& drive) : line_(drive) {
  const data::RouteData& r = drive.route;
  const double x = drive.state.position;
  for (int i = 0; i < std::min(r.stationCount, data::kStationCapacity); ++i) {
    const data::StationRow& s = r.stations[static_cast<std::size_t>(i)];
    marks_.push_back({s.name, static_cast<double>(s.position), s.kind == 0 || s.kind == 2});
  }
  // The run starts in the platform of its first station: that station is the start, those behind do not count.
  while (nextStation_ < r.stationCount &&
         static_cast<double>(r.stations[static_cast<std::size_t>(nextStation_)].platformEnd) < x) {
    ++nextStation_;
  }
  if (nextStation_ < r.stationCount) {
    const data::StationRow& s = r.stations[static_cast<std::size_t>(nextStation_)];
    if (static_cast<double>(s.platformStart) <= x) {
      StationVisit start;
      start.station = nextStation_;
      start.name = s.name;
      start.stopped = true;
      start.start = true;
      start.timetable = s.departureTime;
      start.stopErrorCm = x - static_cast<double>(s.position);
      visits_.push_back(start);
      ++nextStation_;
    }
  }
}

void RunRecord::afterTick(const Drive& drive) {
  const TrainState& s = drive.state;
  const ControlState& c = drive.control;
  const SpeedSpan allowed = line_.allowedAt(drive, s.position);
  samples_.push_back({drive.timeMs, s.position, s.speed, allowed.kmh, s.powerNotch, s.brakeNotch});
  const bool over = std::fabs(s.speed) > allowed.kmh;
  if (over && !overspeeding_) overspeeds_.push_back({s.position, s.speed, allowed.kmh, allowed.source});
  if (over && overspeeding_ && !overspeeds_.empty()) {
    overspeeds_.back().speed = std::max(overspeeds_.back().speed, std::fabs(s.speed));
  }
  overspeeding_ = over;

  countRise(protection_, atsAlarm_, s.atsAlarm != 0);
  countRise(protection_, atsBrake_, s.atsBrakeLatched != 0);
  countRise(protection_, atc_, s.atcLatched != 0);
  countRise(protection_, latched_, s.emergencyLatched != 0);
  if (s.atspState >= 1 && atsp_ == 0) ++protection_;
  atsp_ = s.atspState;
  const bool emergency = s.emergencyLatched != 0 || c.brakeHandle == -drive.vehicle.brakeNotches;
  if (emergency && !emergency_) ++emergencies_;
  emergency_ = emergency;

  stations(drive);
  if (s.runEnded != 0) runEnded_ = true;
}

void RunRecord::stations(const Drive& drive) {
  const TrainState& s = drive.state;
  const data::RouteData& r = drive.route;
  const double speed = std::fabs(s.speed);
  // The departure from the last stop: the first tick the train moves.
  if (speed > 0 && !moved_) {
    moved_ = true;
    if (!visits_.empty() && visits_.back().stopped && visits_.back().departure < 0) visits_.back().departure = s.clock;
  }
  while (nextStation_ < r.stationCount) {
    const data::StationRow& st = r.stations[static_cast<std::size_t>(nextStation_)];
    const double x = s.position;
    const bool inPlatform = static_cast<double>(st.platformStart) <= x && x <= static_cast<double>(st.platformEnd);
    if (st.kind != 1 && inPlatform && speed == 0 && moved_) {
      StationVisit visit;
      visit.station = nextStation_;
      visit.name = st.name;
      visit.stopped = true;
      visit.timetable = st.departureTime;
      visit.arrival = s.clock;
      visit.stopErrorCm = x - static_cast<double>(st.position);
      visits_.push_back(visit);
      ++nextStation_;
      moved_ = false;
      continue;
    }
    if (x > static_cast<double>(st.platformEnd) || (st.kind == 1 && x >= static_cast<double>(st.position))) {
      StationVisit visit;
      visit.station = nextStation_;
      visit.name = st.name;
      visit.timetable = st.departureTime;
      visit.passSpeed = speed;
      visits_.push_back(visit);
      ++nextStation_;
      continue;
    }
    break;
  }
}

}  // namespace vesk::sim
