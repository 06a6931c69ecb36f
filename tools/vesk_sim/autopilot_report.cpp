#include "vesk_sim/autopilot_report.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "vesk_sim/drive_summary.h"

namespace vesk::tools {
namespace {

long seconds(std::int32_t units) { return std::lround(units / 30.0); }

const char* sourceName(sim::SpeedSpan::Source source) {
  switch (source) {
  case sim::SpeedSpan::Source::Limit:
    return "speed limit";
  case sim::SpeedSpan::Source::Section:
    return "section speed";
  case sim::SpeedSpan::Source::Signal:
    return "signal";
  case sim::SpeedSpan::Source::SpeedCheck:
    return "speed check";
  case sim::SpeedSpan::Source::TopSpeed:
    return "top speed";
  }
  return "";
}

}  // namespace

AutopilotTotals autopilotTotals(const sim::RunRecord& record) {
  AutopilotTotals t;
  bool anyArrival = false;
  bool anyDeparture = false;
  for (const sim::StationVisit& v : record.visits()) {
    if (!v.stopped) continue;
    if (v.departure >= 0) {
      const long late = seconds(v.departure - v.timetable);
      t.latestDepartureS = anyDeparture ? std::max(t.latestDepartureS, late) : late;
      anyDeparture = true;
    }
    if (v.start) continue;
    ++t.stops;
    t.worstStopErrorCm = std::max(t.worstStopErrorCm, std::lround(std::fabs(v.stopErrorCm)));
    const long late = seconds(v.arrival - v.timetable);
    t.latestArrivalS = anyArrival ? std::max(t.latestArrivalS, late) : late;
    t.earliestArrivalS = anyArrival ? std::min(t.earliestArrivalS, late) : late;
    anyArrival = true;
  }
  t.protectionInterventions = record.protectionInterventions();
  t.emergencyBrakings = record.emergencyBrakings();
  t.overspeeds = static_cast<int>(record.overspeeds().size());
  return t;
}

std::string autopilotReport(const sim::RunRecord& record, double drivenSeconds, double wallSeconds) {
  std::string out;
  char line[320];
  for (const sim::StationVisit& v : record.visits()) {
    if (!v.stopped) {
      std::snprintf(line, sizeof line, "  %s: passed at %.0f km/h\n", v.name.c_str(), v.passSpeed);
      out += line;
      continue;
    }
    std::string arrival = "start";
    if (!v.start) {
      char a[160];
      std::snprintf(a, sizeof a, "arrived %s (timetable %s, %+ld s), stop error %+ld cm", clockText(v.arrival).c_str(),
                    clockText(v.timetable).c_str(), seconds(v.arrival - v.timetable), std::lround(v.stopErrorCm));
      arrival = a;
    }
    std::string departure;
    if (v.departure >= 0) {
      char d[96];
      std::snprintf(d, sizeof d, ", departed %s (%+ld s)", clockText(v.departure).c_str(),
                    seconds(v.departure - v.timetable));
      departure = d;
    }
    std::snprintf(line, sizeof line, "  %s: %s%s\n", v.name.c_str(), arrival.c_str(), departure.c_str());
    out += line;
  }
  for (const sim::OverspeedEvent& o : record.overspeeds()) {
    std::snprintf(line, sizeof line, "  overspeed: %.1f km/h where the %s allows %.0f, at %.0f m\n", o.speed,
                  sourceName(o.source), o.allowed, o.position / 100);
    out += line;
  }
  const AutopilotTotals t = autopilotTotals(record);
  std::snprintf(line, sizeof line, "autopilot: run %s, overspeeds %d, latest departure %ld s, earliest arrival %ld s\n",
                record.runEnded() ? "ended" : "not ended", t.overspeeds, t.latestDepartureS, t.earliestArrivalS);
  out += line;
  std::snprintf(line, sizeof line, "autopilot: %.0f s driven in %.3f wall seconds\n", drivenSeconds, wallSeconds);
  out += line;
  std::snprintf(line, sizeof line,
                "autopilot: %d stops, worst stop error %ld cm, latest arrival %ld s, protection interventions %d, "
                "emergency brakings %d\n",
                t.stops, t.worstStopErrorCm, t.latestArrivalS, t.protectionInterventions, t.emergencyBrakings);
  out += line;
  return out;
}

}  // namespace vesk::tools
