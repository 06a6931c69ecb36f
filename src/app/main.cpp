// vesk: the railway cab driving simulator. Opens a drive (the demo line's down local with the VK500 unless told
// otherwise) in the driving window.
#include <QApplication>
#include <QDir>
#include <QFont>
#include <QMessageBox>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "app/command_line.h"
#include "app/driving_window.h"
#include "app/loading_window.h"
#include "app/scripted_run.h"
#include "sim/script.h"

namespace {

using namespace vesk;

// The script's events as the drive's input; a script that does not read ends the program before any window.
app::ScriptedRunOptions scriptedRun(const app::CommandLine& options) {
  app::ScriptedRunOptions run;
  run.exitAfterSeconds = options.exitAfterSeconds;
  run.screenshot = options.screenshot;
  run.stats = options.stats;
  if (!options.script) return run;
  std::ifstream in(*options.script, std::ios::binary);
  if (!in) throw app::CommandLineError("cannot read the script " + options.script->string());
  std::stringstream text;
  text << in.rdbuf();
  for (const sim::ScriptEvent& e : sim::parseScript(text.str())) run.input.emplace_back(e.timeMs, sim::scriptInput(e));
  return run;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  // One font for every text, so that texts measure the same on every machine.
  QFont font(QStringLiteral("Noto Sans CJK JP"));
  font.setPointSize(10);
  QApplication::setFont(font);

  app::CommandLine options;
  app::ScriptedRunOptions run;
  try {
    std::vector<std::string> args(argv + 1, argv + argc);
    options = app::parseCommandLine(args);
    run = scriptedRun(options);
  } catch (const app::CommandLineError& e) {
    std::cerr << "vesk: " << e.what() << '\n' << app::kUsage;
    return 1;
  } catch (const sim::ScriptError& e) {
    std::cerr << "vesk: " << e.what() << '\n';
    return 1;
  }

  sim::DriveChoice choice;
  choice.programDir =
      app::resolveProgramDir(options.dataDir, std::filesystem::current_path(),
                             QCoreApplication::applicationDirPath().toStdString(), VESK_BUNDLED_DEMO_DIR);
  choice.routeFileName = options.route;
  choice.vehicleFileName = options.vehicle;
  choice.startStation = options.startStation;

  // A run that ends by itself reports on the terminal instead of waiting in a message box.
  const bool unattended = options.exitAfterSeconds.has_value();
  const QString title = QStringLiteral("鉄道運転シミュレータ");
  app::WindowMessages messages;
  messages.error = [&](const QString& text) {
    if (unattended) {
      std::cerr << text.toStdString() << '\n';
    } else {
      QMessageBox::critical(nullptr, title, text);
    }
  };
  messages.notice = [&](const QString& text) {
    if (unattended) {
      std::cerr << text.toStdString() << '\n';
    } else {
      QMessageBox::warning(nullptr, title, text);
    }
  };

  const app::SettingsStore store;
  app::LoadingWindow loading;
  loading.show();
  std::unique_ptr<app::DrivingWindow> window;
  try {
    window = app::DrivingWindow::open(choice, store, messages, &loading);
  } catch (const std::exception& e) {
    // Not a data error (those have their message box): a start station the route does not have, and the like.
    loading.close();
    std::cerr << "vesk: " << e.what() << '\n';
    return 1;
  }
  loading.close();
  if (!window) return 2;

  app::ScriptedRun scripted(*window, std::move(run));
  window->show();
  window->startDrive();
  const int status = QApplication::exec();
  window.reset();
  return scripted.failed() ? 1 : status;
}
