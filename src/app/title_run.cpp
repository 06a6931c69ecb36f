#include "app/title_run.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QTimer>
#include <QUrl>

#include <cmath>
#include <iostream>
#include <system_error>

#include "app/title_window.h"

namespace vesk::app {
namespace {

bool saveScreenshot(TitleWindow& title, const std::filesystem::path& file) {
  std::error_code error;
  if (!file.parent_path().empty()) std::filesystem::create_directories(file.parent_path(), error);
  const QString name = QString::fromStdString(file.string());
  if (DrivingWindow* drive = title.drivingWindow(); drive != nullptr && drive->isVisible()) {
    return drive->drawingArea().save(name, "PNG");
  }
  return title.grab().save(name, "PNG");
}

}  // namespace

int runTitle(const TitleRunOptions& options, const WindowMessages& messages) {
  const SettingsStore store;
  TitleServices services;
  services.messages = messages;
  services.pickFile = [](QWidget* parent, const QString& caption, const QString& folder, const QString& filter) {
    return QFileDialog::getOpenFileName(parent, caption, folder, filter);
  };
  services.openDocument = [](const std::filesystem::path& document) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(document.string())));
  };
  // The title is hidden while a drive runs: the program ends when the title closes, not with its last window.
  QApplication::setQuitOnLastWindowClosed(false);
  services.closed = [] { QCoreApplication::quit(); };

  std::unique_ptr<TitleWindow> title = TitleWindow::open(options.programDir, store, std::move(services));
  if (!title) return 2;
  title->show();
  title->start();

  bool failed = false;
  if (options.exitAfterSeconds) {
    const auto ms = static_cast<int>(std::lround(*options.exitAfterSeconds * 1000.0));
    QTimer::singleShot(ms, title.get(), [&] {
      if (options.screenshot && !saveScreenshot(*title, *options.screenshot)) {
        std::cerr << "vesk: cannot write the screenshot " << options.screenshot->string() << '\n';
        failed = true;
      }
      title->quitClick();
    });
  }
  const int status = QApplication::exec();
  title.reset();
  return failed ? 1 : status;
}

}  // namespace vesk::app
