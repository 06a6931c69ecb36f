// The driving window's menus: Start (pause and resume), Move (the stations), Display (the preferences and view
// options, the help and simple cab windows), Controller (controller_menu.h) and Save (the saved states).
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QWidget>

#include <algorithm>

#include "app/driving_window.h"
#include "app/run_curve_dialog.h"
#include "app/save_menu.h"
#include "auxwin/help_window.h"
#include "auxwin/simple_cab_window.h"
#include "media/video_source.h"
#include "sim/headless_drive.h"

namespace vesk::app {
namespace {

QString caption(const std::string& fromStrings, const char* fallback) {
  return fromStrings.empty() ? QString::fromUtf8(fallback) : QString::fromStdString(fromStrings);
}

void showWindow(QWidget* window) {
  window->show();
  window->raise();
  window->activateWindow();
}

}  // namespace

QAction* DrivingWindow::addToggle(QMenu* menu, const char* name, const char* text, bool checked,
                                  std::function<void(sim::Drive&, bool)> apply) {
  QAction* action = menu->addAction(QString::fromUtf8(text));
  action->setObjectName(QString::fromLatin1(name));
  action->setCheckable(true);
  action->setChecked(checked);
  // Only the user's choice acts (the check set from the settings at load does not).
  connect(action, &QAction::triggered, this, [this, apply = std::move(apply)](bool marked) {
    session_->push(sim::InputEvent::call([apply, marked](sim::Drive& d) { apply(d, marked); }));
  });
  return action;
}

void DrivingWindow::showMessage(const QString& text) {
  auto* box = new QMessageBox(QMessageBox::Information, windowTitle(), text, QMessageBox::Ok, this);
  box->setObjectName(QStringLiteral("message"));
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->open();
}

void DrivingWindow::buildMenus(const sim::Settings& settings) {
  const sim::LoadedDrive& loaded = session_->loaded();
  const data::UiStrings& strings = loaded.strings;
  QMenuBar* bar = menuBar();

  // Start: a command on the bar itself. The drive is running when the window first shows.
  start1_ = bar->addAction(caption(strings.startCaption, "Start"));
  start1_->setObjectName(QStringLiteral("start1"));
  start1_->setText(QStringLiteral("一時停止(&S)"));
  connect(start1_, &QAction::triggered, this, [this] { start1Click(); });

  // Move: one item per stopping station in line order, never the last station.
  QMenu* move = bar->addMenu(caption(strings.moveCaption, "Move"));
  move->setObjectName(QStringLiteral("GoTo1"));
  const data::RouteData& route = *loaded.route;
  const int last = std::min(route.stationCount, data::kStationCapacity) - 1;
  for (int k = 0; k < last; ++k) {
    const data::StationRow& station = route.stations[static_cast<std::size_t>(k)];
    if (station.kind != 0 && station.kind != 2) continue;
    QAction* item = move->addAction(QString::fromStdString(station.name));
    item->setObjectName(QStringLiteral("Sta%1").arg(k));
    connect(item, &QAction::triggered, this, [this, k] { StationClick(k); });
  }

  QMenu* display = bar->addMenu(caption(strings.displayCaption, "Display"));
  display->setObjectName(QStringLiteral("Show1"));
  QAction* help = display->addAction(QStringLiteral("操作説明(&U)"));
  help->setObjectName(QStringLiteral("menu_d1"));
  connect(help, &QAction::triggered, this, [this] { showWindow(help_); });
  addToggle(display, "D1", "解説なし(&D)", settings.Information == 1,
            [](sim::Drive& d, bool on) { d.settings.Information = on ? 1 : 0; });
  QAction* simpleCab = display->addAction(QStringLiteral("かんたん運転台(&E)"));
  simpleCab->setObjectName(QStringLiteral("N3"));
  connect(simpleCab, &QAction::triggered, this, [this] { showWindow(simpleCab_); });
  addToggle(display, "OFF1", "喚呼なし(&K)", settings.Kanko == 1,
            [](sim::Drive& d, bool on) { d.settings.Kanko = on ? 1 : 0; });
  addToggle(display, "OFF2", "入門モード(&B)", settings.ATS == 1,
            [](sim::Drive& d, bool on) { d.setBeginnerMode(on); });
  addToggle(display, "P1", "停止位置ラインを表示しない(&S)", false,
            [](sim::Drive& d, bool on) { d.setStopLinesShown(!on); });
  QAction* effects = addToggle(display, "OFFV1", "視覚効果OFF(&V)", settings.Tunnel == 1,
                               [](sim::Drive& d, bool on) { d.settings.Tunnel = on ? 1 : 0; });
  effects->setVisible(false);
  QAction* moji = addToggle(display, "OFFC1", "文字表示モード切り替え(&C)", settings.Moji == 1,
                            [](sim::Drive& d, bool on) { d.settings.Moji = on ? 1 : 0; });
  connect(moji, &QAction::triggered, this, [this](bool on) { setMoji(on, false); });
  // The automatic driver drives until the driver presses a key; the run curve of the drive so far.
  demonstration_ = display->addAction(QStringLiteral("デモ運転(&A)"));
  demonstration_->setObjectName(QStringLiteral("Demo1"));
  demonstration_->setCheckable(true);
  connect(demonstration_, &QAction::triggered, this, [this](bool on) { session_->setDemonstration(on); });
  QAction* curve = display->addAction(QStringLiteral("運転曲線(&R)"));
  curve->setObjectName(QStringLiteral("RunCurve1"));
  connect(curve, &QAction::triggered, this, [this, settings] {
    showRunCurve(this, session_->runRecord(), choice_.routeFileName + " / " + choice_.vehicleFileName,
                 [choice = choice_, settings] {
                   sim::HeadlessDrive how;
                   how.settings = settings;
                   sim::LoadServices services;
                   services.videoFrameCount = media::videoFrameCount;
                   return sim::driveHeadless(choice, services, how);
                 });
  });

  QMenu* controller = bar->addMenu(caption(strings.controlCaption, "Controller(&C)"));
  controller->setObjectName(QStringLiteral("Controller1"));
  buildControllerMenu(controller);
  QMenu* save = bar->addMenu(caption(strings.saveCaption, "Save(&S)"));
  save->setObjectName(QStringLiteral("SaveS1"));
  SaveMenuHooks hooks;
  hooks.message = [this](const QString& message) { showMessage(message); };
  hooks.restored = [this] {
    setWindowTitle(QString::fromStdString(session_->loaded().route->lineName));
    loop_.invalidate();
  };
  new SaveMenu(save, store_, *session_, choice_.routeFileName, std::move(hooks));
}

}  // namespace vesk::app
