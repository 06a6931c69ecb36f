#include "sim/saved_state.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

#include "core/number_parse.h"
#include "core/rounding.h"
#include "sim/drive.h"
#include "sim/line_jump.h"
#include "sim/stations.h"

namespace vesk::sim {
namespace {

constexpr int kNumberFields = 6;
// No train runs faster; a larger speed can only come from damaged text.
constexpr double kMaxSpeed = 1000;
// Ten million kilometres: beyond any line, and whole centimetres stay exact in a double.
constexpr double kMaxPosition = 1e12;
// What a refusal quotes of a field.
constexpr std::size_t kQuotedBytes = 40;

const std::array<const char*, kNumberFields> kFieldNames = {"station", "speed",    "frame",
                                                            "clock",   "position", "preceding train frame"};

std::string quote(std::string_view text) {
  std::string q = "\"" + std::string(text.substr(0, kQuotedBytes));
  if (text.size() > kQuotedBytes) q += "...";
  return q + "\"";
}

RestoreRefusal damaged(std::string detail) { return {std::string(kDamagedStateMessage), std::move(detail)}; }
RestoreRefusal outOfRange(std::string detail) { return {std::string(kStateOutOfRangeMessage), std::move(detail)}; }

int stationRows(const data::RouteData& route) {
  return std::max(0, std::min(route.stationCount, data::kStationCapacity));
}

const std::string& stationName(const data::RouteData& route, int k) {
  return route.stations[static_cast<std::size_t>(k)].name;
}

std::string wholeNumber(double value) { return std::to_string(core::even(value)); }

// The refusal for a state outside this drive's line, if it is.
std::optional<RestoreRefusal> rangeFault(const Drive& drive, const SavedState& st) {
  const int stations = stationRows(drive.route);
  if (st.station < 0 || st.station >= stations) {
    return outOfRange("station " + std::to_string(st.station) + ": the line has " + std::to_string(stations) +
                      " stations");
  }
  if (st.frame < 0 || (drive.lastFramePosition > 0 && st.frame > drive.lastFramePosition)) {
    return outOfRange("frame " + std::to_string(st.frame) + " is not on the line's video");
  }
  if (std::fabs(st.speed) > kMaxSpeed) return outOfRange("speed " + wholeNumber(st.speed) + " km/h");
  if (st.clock < 0) return outOfRange("clock " + std::to_string(st.clock));
  if (std::fabs(st.position) > kMaxPosition) return outOfRange("position " + wholeNumber(st.position) + " cm");
  if (st.precedingFrame < 0) return outOfRange("preceding train frame " + std::to_string(st.precedingFrame));
  return std::nullopt;
}

}  // namespace

SavedState captureState(const Drive& drive, std::string_view routeFileName) {
  const TrainState& s = drive.state;
  SavedState st;
  st.routeFileName = std::string(routeFileName);
  st.station = s.currentStation;
  st.speed = static_cast<double>(core::even(s.speed));
  st.frame = s.frame;
  st.clock = s.clock;
  st.position = static_cast<double>(core::even(s.position));
  st.precedingFrame = s.precedingFrame;
  return st;
}

std::string savedStateLine(const SavedState& st) {
  return st.routeFileName + "," + std::to_string(st.station) + "," + wholeNumber(st.speed) + "," +
         std::to_string(st.frame) + "," + std::to_string(st.clock) + "," + wholeNumber(st.position) + "," +
         std::to_string(st.precedingFrame);
}

std::string savedStateTitle(const Drive& drive) {
  const data::RouteData& route = drive.route;
  const int count = stationRows(route);
  const double position = drive.state.position;
  std::string from;
  std::string to;
  if (count > 0 && position < static_cast<double>(route.stations[0].position)) {
    // Before the first station the section leads to it: a title that is never empty keeps the slot in the menu.
    to = stationName(route, 0);
  }
  for (int i = 0; i < count; ++i) {
    const bool last = i + 1 == count;
    const auto row = static_cast<std::size_t>(i);
    if (static_cast<double>(route.stations[row].position) <= position &&
        (last || position < static_cast<double>(route.stations[row + 1].position))) {
      from = stationName(route, i);
      if (!last) to = stationName(route, i + 1);
      break;
    }
  }
  return route.lineName2 + "（" + from + "～" + to + "）";
}

SavedSlot saveSlot(const Drive& drive, std::string_view routeFileName) {
  return {savedStateTitle(drive), savedStateLine(captureState(drive, routeFileName))};
}

CheckedState parseStateLine(std::string_view line) {
  // The six numbers are the last six fields; what comes before them is the route file name.
  std::array<std::string_view, kNumberFields> fields;
  std::string_view rest = line;
  for (int i = kNumberFields - 1; i >= 0; --i) {
    const std::size_t comma = rest.rfind(',');
    if (comma == std::string_view::npos) {
      return damaged("only " + std::to_string(kNumberFields - i) + " of the 7 fields: " + quote(line));
    }
    fields[static_cast<std::size_t>(i)] = rest.substr(comma + 1);
    rest = rest.substr(0, comma);
  }
  SavedState st;
  st.routeFileName = std::string(rest);

  std::array<std::int32_t*, kNumberFields> whole = {&st.station, nullptr, &st.frame,
                                                    &st.clock,   nullptr, &st.precedingFrame};
  std::array<double*, kNumberFields> real = {nullptr, &st.speed, nullptr, nullptr, &st.position, nullptr};
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (whole[i] != nullptr) {
      const std::optional<std::int32_t> value = core::parseInt(fields[i]);
      if (!value) return damaged(std::string(kFieldNames[i]) + " " + quote(fields[i]) + " is not a whole number");
      *whole[i] = *value;
    } else {
      const std::optional<double> value = core::parseReal(fields[i]);
      if (!value) return damaged(std::string(kFieldNames[i]) + " " + quote(fields[i]) + " is not a number");
      *real[i] = *value;
    }
  }
  return st;
}

CheckedState checkSavedState(const Drive& drive, std::string_view routeFileName, std::string_view line) {
  if (line.empty()) return RestoreRefusal{std::string(kNoSavedStateMessage), {}};
  CheckedState parsed = parseStateLine(line);
  if (const auto* st = std::get_if<SavedState>(&parsed)) {
    // The file name as the title screen chose it, case and all.
    if (st->routeFileName != routeFileName) {
      return RestoreRefusal{std::string(kOtherRouteMessage), "saved on " + quote(st->routeFileName)};
    }
    if (std::optional<RestoreRefusal> fault = rangeFault(drive, *st)) return *fault;
  }
  return parsed;
}

void restoreState(Drive& drive, const SavedState& st) {
  const data::RouteData& route = drive.route;
  TrainState& s = drive.state;
  // The stopping stations behind the current one: the one-man announcements go on from the entry after theirs.
  int stopsBehind = 0;
  for (int k = 0; k < st.station && k < stationRows(route); ++k) {
    if (route.stations[static_cast<std::size_t>(k)].kind == 0) ++stopsBehind;
  }

  s.speed = st.speed;
  leaveCurrentPlace(drive);
  placeAtFrame(drive, st.frame);
  s.clock = st.clock;
  s.precedingFrame = st.precedingFrame;
  // The preceding train's frame advance starts afresh too.
  s.precedingAccumulator = 0;
  s.precedingSpeedUnitRow = -1;
  s.currentStation = st.station;

  resetProtectionOutsideSections(drive);
  rebuildCrossingQueue(drive);

  // Running on with the brakes released, or standing held by the last service notch.
  const int lastService = -(std::max(drive.vehicle.brakeNotches, 1) - 1);
  setHandlesInEffect(drive, st.speed > 0 ? 0 : lastService);

  s.position = st.position;
  if (!chooseNextStop(drive, st.station) && st.station >= 0 && st.station < stationRows(route)) {
    // No stop lies ahead: the current station is the last one to stop at.
    s.nextStop = st.station;
    s.targetPosition = static_cast<double>(route.stations[static_cast<std::size_t>(st.station)].position);
  }
  s.distanceToStop = s.targetPosition - s.position;
  drive.control.announceIndex = 2 * stopsBehind + 1;
  drive.masconupdate();
}

}  // namespace vesk::sim
