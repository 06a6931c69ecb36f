// The headless runner's commands. Each returns the process's exit status.
#pragma once

#include <string>
#include <vector>

namespace vesk::tools {

int dumpVehicle(const std::vector<std::string>& args);
int dumpRoute(const std::vector<std::string>& args);
int dumpStrings(const std::vector<std::string>& args);
int runDrive(const std::vector<std::string>& args);

}  // namespace vesk::tools
