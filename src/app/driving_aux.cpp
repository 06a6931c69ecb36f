// The driving window's external controllers and the windows beside it: the Controller menu over the controllers,
// their notices in the status line, the joystick read while the drive runs; the simple cab, the value display
// (shown and hidden with F3) and the help window, fed from each frame's snapshot and handing their keys back here.
#include <QMessageBox>
#include <QStatusBar>

#include "app/controller_menu.h"
#include "app/driving_window.h"
#include "auxwin/help_window.h"
#include "auxwin/simple_cab_window.h"
#include "auxwin/value_display_window.h"
#include "core/path_resolver.h"
#include "data/speed_unit_reload.h"
#include "devices/controller_hub.h"

namespace vesk::app {

void DrivingWindow::buildAuxWindows(const sim::Settings& settings) {
  if (controllers_ == nullptr) {
    ownControllers_ = std::make_unique<devices::ControllerHub>();
    controllers_ = ownControllers_.get();
  }
  // The calibration of the calibrated-codes layout comes with the settings.
  controllers_->attachDrive(session_->input(), settings);
  statusBar()->setObjectName(QStringLiteral("StatusLine"));

  const auto post = [this](sim::InputEvent event) { session_->push(std::move(event)); };
  simpleCab_ = new auxwin::SimpleCabWindow(post, this);
  valueDisplay_ = new auxwin::ValueDisplayWindow(
      post,
      [this](const QString& text) {
        auto* box = new QMessageBox(QMessageBox::Warning, windowTitle(), text, QMessageBox::Ok, valueDisplay_);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
      },
      this);
  valueDisplay_->onReloadSpeedUnits([this] { reloadSpeedUnits(); });
  help_ = new auxwin::HelpWindow(this);
  help_->load(choice_.programDir);
  simpleCab_->setKeyTarget(this);
  valueDisplay_->setKeyTarget(this);
  help_->setKeyTarget(this);
  // Closing the value display by its close box is the same as F3.
  connect(valueDisplay_, &QDialog::finished, this,
          [this] { session_->push(sim::InputEvent::call([](sim::Drive& d) { d.valueDisplayShown = false; })); });
}

void DrivingWindow::reloadSpeedUnits() {
  // Read on this thread; put in place on the simulation thread, the only one that reads the table while driving.
  const auto file = core::resolveDataFile(choice_.programDir, choice_.routeFileName);
  const auto rows = file ? data::rereadSpeedUnits(*file) : std::nullopt;
  if (!rows) {
    statusBar()->showMessage(QStringLiteral("速度表 [SpeedUnit] を読み直せませんでした: ") +
                             QString::fromStdString(choice_.routeFileName));
    return;
  }
  data::RouteData* route = session_->loaded().route.get();
  session_->push(sim::InputEvent::call([route, rows = *rows](sim::Drive&) { data::replaceSpeedUnits(*route, rows); }));
  statusBar()->showMessage(QStringLiteral("速度表 [SpeedUnit] を読み直しました (%1 行)").arg(rows->size()));
}

void DrivingWindow::buildControllerMenu(QMenu* menu) {
  ControllerMenu::Window window;
  window.widget = this;
  window.status = [this](const QString& text) { statusBar()->showMessage(text); };
  window.title = [this](const QString& text) { setWindowTitle(text); };
  window.restoreTitle = [this] { setWindowTitle(QString::fromStdString(session_->loaded().route->lineName)); };
  controllerMenu_ = new ControllerMenu(menu, *controllers_, std::move(window));
}

void DrivingWindow::setControllersRunning(bool running) {
  if (controllers_ != nullptr) controllers_->setJoystickPolling(running);
}

void DrivingWindow::showAuxWindows(const sim::DriveSnapshot& shot) {
  const sim::AuxWindowData& data = shot.auxWindows;
  if (data.valueDisplayShown != valueDisplayShown_) {
    valueDisplayShown_ = data.valueDisplayShown;
    valueDisplay_->setVisible(valueDisplayShown_);
  }
  if (simpleCab_->isVisible()) simpleCab_->refresh(data);
  if (valueDisplay_->isVisible()) valueDisplay_->refresh(data);
}

void DrivingWindow::closeAuxWindows() {
  if (controllers_ != nullptr) {
    // The serial port closes; nothing more goes into this drive's queue.
    controllers_->setJoystickPolling(false);
    controllers_->detachDrive();
  }
  if (simpleCab_ != nullptr) simpleCab_->close();
  if (valueDisplay_ != nullptr) valueDisplay_->hide();
}

}  // namespace vesk::app
