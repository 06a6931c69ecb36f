#include "vesk_sim/run_checks.h"

#include <string>

#include "advice/data_advice.h"
#include "data/data_error.h"
#include "data/route_file.h"
#include "data/string_file.h"

namespace vesk::tools {
namespace {

constexpr std::int64_t kAutopilotMaxMs = 6LL * 3600 * 1000;
constexpr const char* kNaming = "route files are line_*.dat, vehicle files train_*.dat";

// The route as the drive reads it, without its pictures; none when it does not read.
std::unique_ptr<data::RouteData> readRoute(const sim::DriveChoice& c) {
  try {
    const data::UiStrings strings = data::loadStringFile(c.programDir);
    media::DrivePictures pictures;
    return data::loadRouteFile(c.programDir, c.routeFileName, {strings, c.vehicleFileName}, pictures, {nullptr, false});
  } catch (const data::DataError&) {
    return nullptr;
  }
}

}  // namespace

RunNumbers checkRunNumbers(const Options& o, bool summarise) {
  RunNumbers n;
  // The automatic driver drives until the run ends (at most six hours) unless told otherwise.
  const bool autopilot = o.flags.count("--autopilot") != 0;
  n.durationMs = !o.has("--ms") && autopilot ? kAutopilotMaxMs : parseNumberOption("--ms", o.value("--ms"));
  if (n.durationMs < 0) throw UsageError("--ms must be 0 or more (milliseconds to drive), not " + o.value("--ms"));
  n.every = summarise ? 0 : 1;
  if (o.has("--every")) {
    n.every = parseNumberOption("--every", o.value("--every"));
    if (n.every < 1) {
      throw UsageError("--every must be 1 or more (1 prints every tick's line), not " + o.value("--every"));
    }
  }
  if (o.has("--start-station") && parseNumberOption("--start-station", o.value("--start-station")) < 0) {
    throw UsageError("--start-station must be 0 or more (0 is the route's first station), not " +
                     o.value("--start-station"));
  }
  return n;
}

void checkDriveChoice(const sim::DriveChoice& c) {
  const std::string& route = c.routeFileName;
  const std::string& vehicle = c.vehicleFileName;
  if (isVehicleFileName(route) && isRouteFileName(vehicle)) {
    throw DriveChoiceError("--route " + route + " and --vehicle " + vehicle + " are the wrong way round: " + kNaming);
  }
  const auto data = readRoute(c);
  if (!data) return;
  if (data->speedUnitCount == 0 && data->stationCount == 0) {
    std::string problem = route + " given as --route is not a route file: it has no [SpeedUnit] rows and no "
                                  "[Station] list";
    if (isVehicleFileName(route)) problem += " (" + std::string(kNaming) + ")";
    throw DriveChoiceError(problem);
  }
  if (c.startStation >= data->stationCount) {
    throw DriveChoiceError("--start-station " + std::to_string(c.startStation) + " is not a station of " + route +
                           ": its stations are numbered 0 to " + std::to_string(data->stationCount - 1));
  }
}

}  // namespace vesk::tools
