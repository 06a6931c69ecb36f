// RunRecord: what happened on a drive, written down after every tick: the speed along the line with the
// speed allowed there and the notches in effect (the run curve), every station served or passed (arrival and
// departure against the timetable, how far from the stopping mark the train came to rest), and every time the
// train protection or the emergency brake had to act, and every overspeed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sim/line_ahead.h"

namespace vesk::sim {

class Drive;

struct RunSample {
  std::int64_t timeMs = 0;
  double position = 0;  // cm
  double speed = 0;     // km/h
  double allowed = 0;   // km/h allowed here at that moment (999 none)
  int powerNotch = 0;   // in effect
  int brakeNotch = 0;   // in effect, negative
};

struct StationVisit {
  int station = 0;
  std::string name;
  bool stopped = false;         // served (came to rest in the platform); else passed
  bool start = false;           // the station the run started at
  std::int32_t timetable = 0;   // the station's time in the timetable (clock units)
  std::int32_t arrival = -1;    // clock units; -1 for the start and for a pass
  std::int32_t departure = -1;  // clock when the train moved off; -1 none (the end of the run)
  double stopErrorCm = 0;       // position - stopping mark (negative short of it)
  double passSpeed = 0;         // km/h at the mark, when passed
};

struct StationMark {
  std::string name;
  double position = 0;  // the stopping mark, cm
  bool stop = false;    // kind 0 or 2
};

struct OverspeedEvent {
  double position = 0;
  double speed = 0;
  double allowed = 0;
  SpeedSpan::Source source = SpeedSpan::Source::Limit;
};

class RunRecord {
 public:
  explicit RunRecord(const Drive& drive);
  // After every tick.
  void afterTick(const Drive& drive);

  const std::vector<RunSample>& samples() const { return samples_; }
  const std::vector<StationVisit>& visits() const { return visits_; }
  const std::vector<OverspeedEvent>& overspeeds() const { return overspeeds_; }
  // Forced braking or warnings of the train protection: ATS-S bells, ATS-P warnings and brakings, ATC
  // brakings, the vigilance device's brake.
  int protectionInterventions() const { return protection_; }
  // Emergency brake applications, by the handle or by a latch (the emergency position the drive starts in
  // does not count).
  int emergencyBrakings() const { return emergencies_; }
  bool runEnded() const { return runEnded_; }
  const LineAhead& line() const { return line_; }
  const std::vector<StationMark>& stationMarks() const { return marks_; }

 private:
  void stations(const Drive& drive);

  LineAhead line_;
  std::vector<StationMark> marks_;
  std::vector<RunSample> samples_;
  std::vector<StationVisit> visits_;
  std::vector<OverspeedEvent> overspeeds_;
  int protection_ = 0;
  int emergencies_ = 0;
  bool runEnded_ = false;
  int nextStation_ = 0;
  bool moved_ = false;  // since the last stop
  bool overspeeding_ = false;
  bool emergency_ = true;  // the drive starts with the brake in emergency
  std::uint8_t atsAlarm_ = 0, atsBrake_ = 0, atc_ = 0, latched_ = 0;
  int atsp_ = 0;
};

}  // namespace vesk::sim
