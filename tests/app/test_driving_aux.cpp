// The driving window's Controller menu and the windows beside it, on the demo line: the menu's items and their
// exclusive marks, the port settings dialog, the port's and the joystick's notices in the status line (a joystick
// pulled out while driving leaves the handles, plugged back in drives again), the debug title; the simple cab and
// the help window from the Display menu, the value display with F3, and a key typed in the value display driving.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <mutex>

#include "app/driving_window.h"
#include "auxwin/help_window.h"
#include "auxwin/simple_cab_window.h"
#include "auxwin/value_display_window.h"
#include "devices/controller_hub.h"
#include "devices/virtual_joystick.h"
#include "media/virtual_sound_bank.h"
#include "support/temp_dir.h"

namespace vesk::app {
namespace {

const std::filesystem::path kPack = VESK_DEMO_PACK;

class DrivingAuxTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(std::filesystem::exists(kPack / "velmarix.dat")) << "no demo pack at " << kPack;
    messages.error = [this](const QString& text) { errors.push_back(text); };
    const sim::DriveChoice choice{kPack, {}, "train_VK500.dat", "line_down_local.dat", -1};
    window = DrivingWindow::open(choice, store, messages, nullptr, makeVirtualSoundBank, &hub);
    ASSERT_NE(window, nullptr) << (errors.empty() ? "" : errors.front().toStdString());
    window->show();
    window->startDrive();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->framesShown() >= 3; }, 5000));
  }
  void TearDown() override {
    if (window) window->close();
  }

  QAction* action(const char* name) { return window->findChild<QAction*>(QString::fromLatin1(name)); }
  template <class F> auto read(F f) {
    sim::Drive& drive = window->session().drive();
    std::lock_guard lock(drive.mutex());
    return f(drive);
  }
  QString status() { return window->statusBar()->currentMessage(); }
  static bool waitFor(const std::function<bool()>& done) { return QTest::qWaitFor(done, 5000); }

  devices::ControllerHub hub;  // outlives the window, as the program's would
  test::TempDir settingsDir;
  SettingsStore store{settingsDir.path()};
  WindowMessages messages;
  std::vector<QString> errors;
  std::unique_ptr<DrivingWindow> window;
};

TEST_F(DrivingAuxTest, ControllerMenuHasItsItemsWithOneControllerMarked) {
  auto* menu = window->findChild<QMenu*>(QStringLiteral("Controller1"));
  ASSERT_NE(menu, nullptr);
  EXPECT_TRUE(menu->menuAction()->isEnabled());
  const std::vector<std::pair<const char*, const char*>> items = {{"COM11", "標準/TSマスコン(&N)"},
                                                                  {"COM21", "Windows用電車でGO! コントローラ(&U)"},
                                                                  {"COM31", "PS用電車でGO! コントローラ(&M)"},
                                                                  {"COM41", "三鶯重工 OHC-PC01(&S)"},
                                                                  {"debug1", "デバッグオプション(&D)"},
                                                                  {"Setup1", "TSマスコン（設定）(&P)"},
                                                                  {"Connect1", "TSマスコン（接続）(&C)"}};
  for (const auto& [name, caption] : items) {
    QAction* a = action(name);
    ASSERT_NE(a, nullptr) << name;
    EXPECT_EQ(a->text(), QString::fromUtf8(caption));
  }
  EXPECT_TRUE(action("COM11")->isChecked());
  action("COM31")->trigger();
  EXPECT_EQ(hub.controllerType(), 2);
  EXPECT_TRUE(action("COM31")->isChecked());
  EXPECT_FALSE(action("COM11")->isChecked());
  action("COM11")->trigger();
  EXPECT_EQ(hub.controllerType(), 0);
}

TEST_F(DrivingAuxTest, TheNextDriveKeepsTheControllerType) {
  action("COM41")->trigger();
  window->close();
  window.reset();
  const sim::DriveChoice choice{kPack, {}, "train_VK500.dat", "line_down_local.dat", -1};
  window = DrivingWindow::open(choice, store, messages, nullptr, makeVirtualSoundBank, &hub);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(action("COM41")->isChecked());
}

TEST_F(DrivingAuxTest, SetupShowsThePortDialogAndConnectReportsInTheStatusLine) {
  bool dialogSeen = false;
  QTimer::singleShot(100, [&] {
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
      dialogSeen = true;
      dialog->reject();
    }
  });
  action("Setup1")->trigger();
  EXPECT_TRUE(dialogSeen);
  // No such port on this machine: the failure is said in the status line and nothing changes.
  devices::SerialSettings settings = hub.serial().settings();
  settings.portName = QStringLiteral("/dev/vesk-no-such-port");
  hub.serial().setSettings(settings);
  action("Connect1")->trigger();
  EXPECT_FALSE(hub.serialOpen());
  EXPECT_FALSE(status().isEmpty());
}

TEST_F(DrivingAuxTest, JoystickPulledOutLeavesTheHandlesSaysSoAndPluggedBackInDrives) {
  action("COM21")->trigger();
  auto joystick = std::make_unique<test::VirtualJoystick>();
  ASSERT_TRUE(joystick->attached());
  hub.pollJoystick();
  if (hub.joystickName() != test::kVirtualJoystickName) GTEST_SKIP() << "a game controller is plugged in";
  read([](sim::Drive& d) { return d.control.brakeHandle = 0; });
  // Power 2, read by the poll of the running drive.
  joystick->set(0, -8000);
  ASSERT_TRUE(waitFor([&] { return read([](sim::Drive& d) { return d.control.powerHandle; }) == 2; }))
      << read([](sim::Drive& d) { return d.control.powerHandle * 100 + d.control.brakeHandle; }) << " "
      << hub.joystickConnected() << status().toStdString();

  joystick.reset();
  ASSERT_TRUE(waitFor([&] { return status().contains(QStringLiteral("外れました")); })) << status().toStdString();
  QTest::qWait(300);
  EXPECT_EQ(read([](sim::Drive& d) { return d.control.powerHandle; }), 2);

  joystick = std::make_unique<test::VirtualJoystick>();
  ASSERT_TRUE(waitFor([&] { return status().contains(QStringLiteral("つなぎました")); })) << status().toStdString();
  joystick->set(0, -2000);
  EXPECT_TRUE(waitFor([&] { return read([](sim::Drive& d) { return d.control.powerHandle; }) == 1; }))
      << read([](sim::Drive& d) { return d.control.powerHandle * 100 + d.control.brakeHandle; }) << " "
      << hub.joystickConnected() << status().toStdString();
}

TEST_F(DrivingAuxTest, PausedDriveDoesNotReadTheJoystick) {
  action("COM21")->trigger();
  test::VirtualJoystick joystick;
  hub.pollJoystick();
  if (hub.joystickName() != test::kVirtualJoystickName) GTEST_SKIP() << "a game controller is plugged in";
  window->start1Click();
  joystick.set(0, -8000);
  QTest::qWait(400);
  EXPECT_EQ(read([](sim::Drive& d) { return d.control.powerHandle; }), 0);
  window->start1Click();
  EXPECT_TRUE(waitFor([&] { return read([](sim::Drive& d) { return d.control.powerHandle; }) == 2; }));
}

TEST_F(DrivingAuxTest, DebugOptionUnmarkedPutsTheLineNameBackInTheTitle) {
  action("debug1")->trigger();
  EXPECT_TRUE(hub.debug());
  window->setWindowTitle(QStringLiteral("X:1 Y:2"));
  action("debug1")->trigger();
  EXPECT_FALSE(hub.debug());
  EXPECT_EQ(window->windowTitle(), QString::fromStdString(window->session().loaded().route->lineName));
}

TEST_F(DrivingAuxTest, DisplayMenuShowsTheSimpleCabAndTheHelpWindow) {
  EXPECT_FALSE(window->simpleCab().isVisible());
  action("N3")->trigger();
  EXPECT_TRUE(window->simpleCab().isVisible());
  read([](sim::Drive& d) { return d.control.brakeHandle = 0; });
  // The cab's power lamps follow the handle as the drive runs.
  QTest::keyClick(&window->simpleCab(), Qt::Key_8);
  EXPECT_TRUE(waitFor([&] { return window->simpleCab().lampColour("KP1") == QColor(Qt::yellow); }));
  action("menu_d1")->trigger();
  EXPECT_TRUE(window->help().isVisible());
}

TEST_F(DrivingAuxTest, F3ShowsTheValueDisplayWhoseKeysDriveAndItsCloseBoxHidesIt) {
  QTest::keyClick(window.get(), Qt::Key_F3);
  ASSERT_TRUE(waitFor([&] { return window->valueDisplay().isVisible(); }));
  const int before = read([](sim::Drive& d) { return d.control.powerHandle; });
  read([](sim::Drive& d) { return d.control.brakeHandle = 0; });
  QTest::keyClick(&window->valueDisplay(), Qt::Key_8);
  EXPECT_TRUE(waitFor([&] { return read([](sim::Drive& d) { return d.control.powerHandle; }) == before + 1; }));
  EXPECT_TRUE(waitFor([&] { return !window->valueDisplay().readout("Label1").isEmpty(); }));
  window->valueDisplay().close();
  EXPECT_TRUE(waitFor([&] { return !read([](sim::Drive& d) { return d.valueDisplayShown; }); }));
  QTest::qWait(100);
  EXPECT_FALSE(window->valueDisplay().isVisible());
}

TEST_F(DrivingAuxTest, ClosingTheWindowClosesTheSerialPortAndLetsTheHubGo) {
  window->close();
  EXPECT_FALSE(hub.serialOpen());
  EXPECT_FALSE(window->simpleCab().isVisible());
}

}  // namespace
}  // namespace vesk::app
