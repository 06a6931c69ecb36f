#include "app/scripted_run.h"

#include <QTimer>

#include <cmath>
#include <iostream>
#include <system_error>

#include "app/driving_window.h"

namespace vesk::app {

ScriptedRun::ScriptedRun(DrivingWindow& window, ScriptedRunOptions options)
    : window_(window), options_(std::move(options)) {
  window_.setFirstFrameHook([this] { started(); });
  window_.setClosingHook([this] { finished(); });
}

void ScriptedRun::started() {
  DriveSession& session = window_.session();
  const std::int64_t origin = session.virtualNowMs();
  for (auto& [atMs, event] : options_.input) session.push(std::move(event), origin + atMs);
  options_.input.clear();
  if (options_.exitAfterSeconds) {
    const auto ms = static_cast<int>(std::lround(*options_.exitAfterSeconds * 1000.0));
    QTimer::singleShot(ms, &window_, [this] { window_.close(); });
  }
}

void ScriptedRun::finished() {
  if (options_.screenshot) {
    std::error_code error;
    const std::filesystem::path folder = options_.screenshot->parent_path();
    if (!folder.empty()) std::filesystem::create_directories(folder, error);
    if (!window_.drawingArea().save(QString::fromStdString(options_.screenshot->string()), "PNG")) {
      std::cerr << "vesk: cannot write the screenshot " << options_.screenshot->string() << '\n';
      failed_ = true;
    }
  }
  if (options_.stats) {
    DriveSession& session = window_.session();
    const RunFigures figures = window_.stats().finish(session.virtualNowMs(), session.timing());
    std::cout << RunStats::json(figures) << std::endl;
  }
}

}  // namespace vesk::app
