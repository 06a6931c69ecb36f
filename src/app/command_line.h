// The simulator's command line. Without arguments it opens the demo line's down local with the VK500; a route
// author opens a drive directly; the test and measurement options drive a run by script and report on it.
//   vesk [--data DIR] [--route FILE --vehicle FILE [--start-station K]]
//        [--script FILE] [--exit-after SECONDS] [--screenshot FILE.png] [--stats]
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
};

struct CommandLineError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The arguments after the program name.
CommandLine parseCommandLine(const std::vector<std::string>& args);

inline constexpr const char* kUsage =
    "usage: vesk [--data DIR] [--route FILE --vehicle FILE [--start-station K]]\n"
    "            [--script FILE] [--exit-after SECONDS] [--screenshot FILE.png] [--stats]\n";

// The program folder: --data DIR when given, else the current folder when it holds "velmarix.dat", else the
// executable's folder when it does, else the bundled demo line.
std::filesystem::path resolveProgramDir(const std::optional<std::filesystem::path>& dataDir,
                                        const std::filesystem::path& currentDir,
                                        const std::filesystem::path& executableDir,
                                        const std::filesystem::path& bundledDemo);

}  // namespace vesk::app
