// The program run from its title screen: the title window on the data folder with the desktop's file dialog and
// document viewer, until it is quit; for tests and measurements an end after some seconds with a picture of
// what is on screen.
#pragma once

#include <filesystem>
#include <optional>

#include "app/driving_window.h"

namespace vesk::app {

struct TitleRunOptions {
  std::filesystem::path programDir;
  std::optional<double> exitAfterSeconds;
  std::optional<std::filesystem::path> screenshot;  // written at the end: the title, or the drive's drawing area
};

// Runs the event loop until the title is quit; the program's exit status (2: no data folder, 1: the screenshot
// could not be written).
int runTitle(const TitleRunOptions& options, const WindowMessages& messages);

}  // namespace vesk::app
