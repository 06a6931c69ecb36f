#include "app/command_line.h"

#include <cmath>

#include "core/number_parse.h"
#include "core/path_resolver.h"

namespace vesk::app {
namespace {

// Packs made on Windows may spell the name in capitals.
bool holdsStringFile(const std::filesystem::path& dir) {
  return !dir.empty() && core::resolveDataFile(dir, "velmarix.dat").has_value();
}

}  // namespace

CommandLine parseCommandLine(const std::vector<std::string>& args) {
  CommandLine c;
  bool routeGiven = false;
  bool vehicleGiven = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const auto value = [&]() -> const std::string& {
      if (i + 1 >= args.size()) throw CommandLineError(a + " needs a value");
      return args[++i];
    };
    if (a == "--data") {
      c.dataDir = value();
    } else if (a == "--route") {
      c.route = value();
      routeGiven = true;
    } else if (a == "--vehicle") {
      c.vehicle = value();
      vehicleGiven = true;
    } else if (a == "--start-station") {
      const auto k = core::parseInt(value());
      if (!k || *k < 0) throw CommandLineError("--start-station takes a station number from 0");
      c.startStation = static_cast<int>(*k);
    } else if (a == "--script") {
      c.script = value();
    } else if (a == "--exit-after") {
      const auto seconds = core::parseReal(value());
      if (!seconds || !std::isfinite(*seconds) || *seconds < 0) throw CommandLineError("--exit-after takes seconds");
      c.exitAfterSeconds = *seconds;
    } else if (a == "--screenshot") {
      c.screenshot = value();
    } else if (a == "--stats") {
      c.stats = true;
    } else {
      throw CommandLineError("unknown argument " + a);
    }
  }
  if (routeGiven != vehicleGiven) throw CommandLineError("--route and --vehicle go together");
  if (c.startStation >= 0 && !routeGiven) throw CommandLineError("--start-station needs --route and --vehicle");
  return c;
}

std::filesystem::path resolveProgramDir(const std::optional<std::filesystem::path>& dataDir,
                                        const std::filesystem::path& currentDir,
                                        const std::filesystem::path& executableDir,
                                        const std::filesystem::path& bundledDemo) {
  if (dataDir) return *dataDir;
  if (holdsStringFile(currentDir)) return currentDir;
  if (holdsStringFile(executableDir)) return executableDir;
  return bundledDemo;
}

}  // namespace vesk::app
