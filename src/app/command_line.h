// The simulator's command line. Without arguments it opens the title screen; a route author opens a drive
// directly; the test and measurement options drive a run by script and report on it (a script or the figures
// without a route drive the demo line's down local with the VK500).
//   vesk [--data DIR] [--route FILE --vehicle FILE [--start-station K]]
//        [--script FILE] [--exit-after SECONDS] [--screenshot FILE.png] [--stats] | --help | --version
#pragma once

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace vesk::app {

struct CommandLine {
  std::optional<std::filesystem::path> dataDir;
  std::string route = "line_down_local.dat";
  std::string vehicle = "train_VK500.dat";
  int startStation = -1;  // -1: the route's start position
  std::optional<std::filesystem::path> script;
  std::optional<double> exitAfterSeconds;
  std::optional<std::filesystem::path> screenshot;
  bool stats = false;
  bool routeGiven = false;  // --route and --vehicle
  bool help = false;
  bool version = false;

  // The title screen, unless a drive was asked for (by its route, a script or the figures).
  bool opensTitle() const { return !routeGiven && !script && !stats; }
};

struct CommandLineError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The arguments after the program name.
CommandLine parseCommandLine(const std::vector<std::string>& args);

inline constexpr const char* kUsage =
    "usage: vesk [--data DIR] [--route FILE --vehicle FILE [--start-station K]]\n"
    "            [--script FILE] [--exit-after SECONDS] [--screenshot FILE.png] [--stats]\n"
    "       vesk --help | --version\n";

// What --help prints.
inline constexpr const char* kHelp =
    "vesk: a railway cab driving simulator.\n"
    "Without a route the title screen opens: pick a service and a train there.\n"
    "\n"
    "  --data DIR           the data folder (default: the current folder when it holds velmarix.dat, else the\n"
    "                       program's folder when it does, else the bundled demo line)\n"
    "  --route FILE         open a drive on this route file directly (with --vehicle)\n"
    "  --vehicle FILE       the vehicle file of that drive\n"
    "  --start-station K    start the drive at station K (from 0)\n"
    "  --script FILE        drive by a script of timed keys (tests and measurements)\n"
    "  --exit-after SECONDS end the program after this many seconds\n"
    "  --screenshot FILE    at the end, save the drawing area (or the title screen) as a PNG picture\n"
    "  --stats              at the end, print the run's figures as JSON\n"
    "  --help               show this text\n"
    "  --version            show the version\n";

// The program folder: --data DIR when given, else the current folder when it holds "velmarix.dat", else the
// executable's folder when it does, else the bundled demo line.
std::filesystem::path resolveProgramDir(const std::optional<std::filesystem::path>& dataDir,
                                        const std::filesystem::path& currentDir,
                                        const std::filesystem::path& executableDir,
                                        const std::filesystem::path& bundledDemo);

}  // namespace vesk::app
