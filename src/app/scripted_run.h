// ScriptedRun: a window run driven for tests and measurement: the script's input timed from the first frame, an
// end after a number of seconds, and at the end the drawing area as a picture and the run's figures as a line of
// JSON on standard output.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <utility>
#include <vector>

#include "sim/input_event.h"

namespace vesk::app {

class DrivingWindow;

struct ScriptedRunOptions {
  std::vector<std::pair<std::int64_t, sim::InputEvent>> input;  // virtual ms from the first frame, event
  std::optional<double> exitAfterSeconds;
  std::optional<std::filesystem::path> screenshot;
  bool stats = false;
};

// Attaches to the window's first-frame and closing hooks; the window must outlive nothing here but the run.
class ScriptedRun {
 public:
  ScriptedRun(DrivingWindow& window, ScriptedRunOptions options);
  // Whether the screenshot could not be written.
  bool failed() const { return failed_; }

 private:
  void started();
  void finished();

  DrivingWindow& window_;
  ScriptedRunOptions options_;
  bool failed_ = false;
};

}  // namespace vesk::app
