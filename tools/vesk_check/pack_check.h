// The data validator: reads a program folder's interface strings, controller map, vehicle and route files as
// the simulator would, and checks that every picture, sound and video they name exists (found as the simulator
// finds it, ignoring letter case) and decodes. Every problem becomes a finding with the file, the line and the
// message the simulator would show.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace vesk::tools {

struct Finding {
  std::string file;  // relative to the program folder
  int line = 0;      // 0: the file as a whole
  std::string message;
};

struct CheckRequest {
  std::filesystem::path programDir;
  // Route and vehicle files to check; empty: those the title screen offers.
  std::vector<std::string> files;
};

std::vector<Finding> checkPack(const CheckRequest& request);

std::string formatFinding(const Finding& finding);

// The files the title screen offers.
const std::vector<std::string>& titleRouteFiles();
const std::vector<std::string>& titleVehicleFiles();
// The title screen's trains for a route file: by its direction (the first six characters).
std::vector<std::string> vehiclesOfRoute(const std::string& routeFile);

}  // namespace vesk::tools
