// The Save menu: the slots in the settings store, the captions with "No Data" for empty slots, and a save and
// restore through the store in the driving window on the demo line, with the messages of each outcome.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMessageBox>
#include <QSettings>
#include <QTest>

#include <filesystem>
#include <mutex>

#include "app/driving_window.h"
#include "app/save_menu.h"
#include "core/rounding.h"
#include "media/virtual_sound_bank.h"
#include "support/temp_dir.h"

namespace vesk::app {
namespace {

const std::filesystem::path kPack = VESK_DEMO_PACK;
constexpr const char* kRoute = "line_down_local.dat";

TEST(SavedSlots, WriteAndReadBackThroughTheStore) {
  test::TempDir dir;
  const SettingsStore store(dir.path());
  const SavedSlots slots(store);
  // Nothing saved yet: three empty titles and empty lines.
  const auto empty = slots.titles();
  ASSERT_TRUE(empty.has_value());
  for (const QString& title : *empty) EXPECT_TRUE(title.isEmpty());
  EXPECT_EQ(slots.line(2), "");

  ASSERT_TRUE(slots.write(2, {"本線（港～丘）", "line_down_local.dat,3,73,5460,26100,303333,0"}));
  const auto titles = slots.titles();
  ASSERT_TRUE(titles.has_value());
  EXPECT_EQ((*titles)[0], QString());
  EXPECT_EQ((*titles)[1], QStringLiteral("本線（港～丘）"));
  EXPECT_EQ(slots.line(2), "line_down_local.dat,3,73,5460,26100,303333,0");
  // The store's own names, as other tools of the user may read them.
  QSettings file(QString::fromStdString((dir.path() / "vesk.ini").string()), QSettings::IniFormat);
  EXPECT_EQ(file.value(QStringLiteral("Save2")).toString(),
            QStringLiteral("line_down_local.dat,3,73,5460,26100,303333,0"));
  EXPECT_EQ(file.value(QStringLiteral("Save2Title")).toString(), QStringLiteral("本線（港～丘）"));
}

TEST(SavedSlots, ALineEditedByHandWithoutQuotesIsReadWhole) {
  test::TempDir dir;
  dir.write("vesk.ini", "[General]\nSave1=line_down_local.dat,3,73,5460,26100,303333,0\nSave1Title=x\n");
  EXPECT_EQ(SavedSlots(SettingsStore(dir.path())).line(1), "line_down_local.dat,3,73,5460,26100,303333,0");
}

TEST(SavedSlots, AStoreThatCannotBeWrittenSaysSo) {
  const SettingsStore store(std::filesystem::path("/proc/vesk-no-such-folder"));
  QString where;
  EXPECT_FALSE(SavedSlots(store).write(1, {"t", "l"}, &where));
  EXPECT_TRUE(where.contains(QStringLiteral("vesk.ini"))) << where.toStdString();
}

class SaveMenuTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(std::filesystem::exists(kPack / "velmarix.dat"))
        << "no demo pack at " << kPack << ": write it with scripts/demo.sh";
    const sim::DriveChoice choice{kPack, {}, "train_VK500.dat", kRoute, -1};
    WindowMessages messages;
    window = DrivingWindow::open(choice, store, messages, nullptr, makeVirtualSoundBank);
    ASSERT_NE(window, nullptr);
    window->show();
    window->startDrive();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->framesShown() >= 3; }, 5000));
    // Paused, so that the state saved and the state restored can be compared exactly.
    window->start1Click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->session().paused(); }, 5000));
  }
  void TearDown() override {
    if (window) window->close();
  }

  QAction* action(const char* name) { return window->findChild<QAction*>(QString::fromLatin1(name)); }
  void openMenu() {
    QMenu* menu = window->findChild<QMenu*>(QStringLiteral("SaveS1"));
    ASSERT_NE(menu, nullptr);
    Q_EMIT menu->aboutToShow();
  }
  // The text of the message box shown, which is then closed.
  QString takeMessage() {
    QMessageBox* box = nullptr;
    if (!QTest::qWaitFor([&] { return (box = window->findChild<QMessageBox*>(QStringLiteral("message"))); }, 5000)) {
      return QStringLiteral("(no message)");
    }
    const QString text = box->text();
    delete box;
    return text;
  }
  template <class F> auto read(F f) {
    sim::Drive& d = window->session().drive();
    std::lock_guard lock(d.mutex());
    return f(d);
  }
  sim::TrainState state() {
    return read([](sim::Drive& d) { return d.state; });
  }

  test::TempDir settingsDir;
  SettingsStore store{settingsDir.path()};
  std::unique_ptr<DrivingWindow> window;
};

TEST_F(SaveMenuTest, EmptySlotsShowNoDataAndOnlyTheirSaveItemsWork) {
  openMenu();
  for (const char* name : {"Load1", "Load2", "Load3", "Save1", "Save2", "Save3"}) {
    ASSERT_NE(action(name), nullptr) << name;
    EXPECT_EQ(action(name)->text(), QStringLiteral("No Data")) << name;
  }
  for (const char* name : {"Load1", "Load2", "Load3"}) EXPECT_FALSE(action(name)->isEnabled()) << name;
  for (const char* name : {"Save1", "Save2", "Save3"}) EXPECT_TRUE(action(name)->isEnabled()) << name;
  EXPECT_EQ(window->findChild<QMenu*>(QStringLiteral("L1"))->title(), QStringLiteral("運転状態を復元(&L)"));
  EXPECT_EQ(window->findChild<QMenu*>(QStringLiteral("S2"))->title(), QStringLiteral("運転状態を保存(&S)"));

  // Restoring an empty slot (through its item, greyed in the menu) says so.
  action("Load1")->setEnabled(true);
  action("Load1")->trigger();
  EXPECT_EQ(takeMessage(), QStringLiteral("運転状態が保存されていません"));
}

TEST_F(SaveMenuTest, SavedStateComesBackThroughTheStore) {
  const sim::TrainState saved = state();
  action("Save2")->trigger();
  EXPECT_EQ(takeMessage(), QStringLiteral("運転状態を保存しました"));
  const std::string title = read([](sim::Drive& d) { return sim::savedStateTitle(d); });
  openMenu();
  EXPECT_EQ(action("Load2")->text().toStdString(), title);
  EXPECT_EQ(action("Save2")->text().toStdString(), title);
  EXPECT_TRUE(action("Load2")->isEnabled());
  EXPECT_EQ(action("Load1")->text(), QStringLiteral("No Data"));

  // Elsewhere on the line, then back.
  window->StationClick(2);
  ASSERT_TRUE(QTest::qWaitFor([&] { return state().frame != saved.frame; }, 5000));
  window->setWindowTitle(QStringLiteral("debug"));
  action("Load2")->trigger();
  ASSERT_TRUE(QTest::qWaitFor([&] { return state().frame == saved.frame; }, 5000));
  const sim::TrainState back = state();
  EXPECT_EQ(back.clock, saved.clock);
  EXPECT_EQ(back.position, static_cast<double>(core::even(saved.position)));
  EXPECT_EQ(back.speed, static_cast<double>(core::even(saved.speed)));
  EXPECT_EQ(back.currentStation, saved.currentStation);
  EXPECT_EQ(back.precedingFrame, saved.precedingFrame);
  EXPECT_EQ(window->windowTitle().toStdString(), read([](sim::Drive& d) { return d.route.lineName; }));
  EXPECT_TRUE(window->session().paused()) << "a restore leaves the pause as it was";
}

struct RefusedCase {
  const char* name;
  const char* line;
  const char* message;
};

class SaveMenuRefusal : public SaveMenuTest, public testing::WithParamInterface<RefusedCase> {};

TEST_P(SaveMenuRefusal, ShowsWhyAndLeavesTheDrive) {
  const RefusedCase& c = GetParam();
  {
    QSettings file(QString::fromStdString((settingsDir.path() / "vesk.ini").string()), QSettings::IniFormat);
    file.setValue(QStringLiteral("Save3"), QString::fromUtf8(c.line));
    file.setValue(QStringLiteral("Save3Title"), QStringLiteral("よそ"));
  }
  openMenu();
  EXPECT_TRUE(action("Load3")->isEnabled());
  const sim::TrainState before = state();
  action("Load3")->trigger();
  EXPECT_TRUE(takeMessage().startsWith(QString::fromUtf8(c.message)));
  QTest::qWait(100);
  const sim::TrainState after = state();
  EXPECT_EQ(after.frame, before.frame);
  EXPECT_EQ(after.clock, before.clock);
  EXPECT_EQ(after.position, before.position);
}

INSTANTIATE_TEST_SUITE_P(Cases, SaveMenuRefusal,
                         testing::Values(RefusedCase{"AnotherRoute", "line_up_rapid.dat,0,0,10,25000,0,0",
                                                     "運転状態を保存したダイヤではありません"},
                                         RefusedCase{"Damaged", "line_down_local.dat,0,x,10,25000,0,0",
                                                     "保存された運転状態が壊れています"},
                                         RefusedCase{"OutOfRange", "line_down_local.dat,400,0,10,25000,0,0",
                                                     "保存された運転状態はこの路線にありません"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vesk::app
