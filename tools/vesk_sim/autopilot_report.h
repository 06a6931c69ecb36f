// The automatic driver's report on a drive: a line per station (arrival and departure against the timetable,
// how far from the stopping mark the train came to rest), then the overspeeds, whether the run ended with the
// latest departure and the earliest arrival, the wall time it took, and the closing line
//   autopilot: S stops, worst stop error E cm, latest arrival L s, protection interventions P, emergency brakings B
#pragma once

#include <string>

#include "sim/run_record.h"

namespace vesk::tools {

struct AutopilotTotals {
  int stops = 0;              // served, the start station not counted
  long worstStopErrorCm = 0;  // largest distance from a stopping mark
  long latestArrivalS = 0;    // the arrival latest against its timetable time (negative: early everywhere)
  long earliestArrivalS = 0;  // the arrival earliest against its timetable time
  long latestDepartureS = 0;  // the departure latest against its timetable time
  int protectionInterventions = 0;
  int emergencyBrakings = 0;
  int overspeeds = 0;
};

AutopilotTotals autopilotTotals(const sim::RunRecord& record);
// `wallSeconds`: how long the drive took on this machine.
std::string autopilotReport(const sim::RunRecord& record, double drivenSeconds, double wallSeconds);

}  // namespace vesk::tools
