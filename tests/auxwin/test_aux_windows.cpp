// The windows beside the driving window on the offscreen platform: the simple cab's lamps and buttons, the value
// display's grid, jump and resistance switch, the help text from "operation.dat", and every window handing its
// keys to the driving window (once each, a text field typing them as well).
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QTest>

#include <fstream>
#include <string>
#include <vector>

#include "auxwin/help_window.h"
#include "auxwin/simple_cab_window.h"
#include "auxwin/value_display_window.h"
#include "core/sjis.h"
#include "sim/aux_window_data.h"
#include "sim/driver_info.h"
#include "support/drive_fixture.h"
#include "support/temp_dir.h"

namespace vesk::auxwin {
namespace {

// Stands for the driving window: records the keys it is given.
class KeyTarget : public QWidget {
 public:
  std::string typed;
  int presses = 0;
  int releases = 0;

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    ++presses;
    typed += event->text().toStdString();
  }
  void keyReleaseEvent(QKeyEvent*) override { ++releases; }
};

// What a window posted, applied to a drive when asked.
struct Posted {
  std::vector<sim::InputEvent> events;
  std::function<void(sim::InputEvent)> sink() {
    return [this](sim::InputEvent e) { events.push_back(std::move(e)); };
  }
  std::string typed() const {
    std::string s;
    for (const sim::InputEvent& e : events) {
      if (e.kind == sim::InputEvent::Kind::Char) s += e.character;
    }
    return s;
  }
  void applyTo(sim::Drive& drive) {
    for (const sim::InputEvent& e : events) applyInput(drive, e);
    events.clear();
  }
};

sim::AuxWindowData handles(int power, int brake) {
  sim::AuxWindowData data;
  data.powerHandle = power;
  data.brakeHandle = brake;
  return data;
}

struct LampCase {
  const char* name;
  int power;
  int brake;
  std::string lit;  // the lamps not white, in order KB1..KB8, KN, KP1..KP5
};

class SimpleCabLamps : public testing::TestWithParam<LampCase> {};

TEST_P(SimpleCabLamps, FollowTheHandles) {
  Posted posted;
  SimpleCabWindow cab(posted.sink());
  cab.refresh(handles(GetParam().power, GetParam().brake));
  std::string lit;
  for (const char* lamp :
       {"KB1", "KB2", "KB3", "KB4", "KB5", "KB6", "KB7", "KB8", "KN", "KP1", "KP2", "KP3", "KP4", "KP5"}) {
    const QColor c = cab.lampColour(lamp);
    if (c == QColor(Qt::white)) continue;
    lit += std::string(lamp) + (c == QColor(Qt::red) ? ":red " : c == QColor(Qt::yellow) ? ":yellow " : ":lime ");
  }
  EXPECT_EQ(lit, GetParam().lit);
}

INSTANTIATE_TEST_SUITE_P(
    , SimpleCabLamps,
    testing::Values(LampCase{"coasting", 0, 0, "KN:lime "}, LampCase{"powerTwo", 2, 0, "KP1:yellow KP2:yellow "},
                    LampCase{"powerSixLightsAllFive", 6, 0, "KP1:yellow KP2:yellow KP3:yellow KP4:yellow KP5:yellow "},
                    LampCase{"brakeThree", 0, -3, "KB1:red KB2:red KB3:red "},
                    LampCase{"emergencyNine", 0, -9,
                             "KB1:red KB2:red KB3:red KB4:red KB5:red KB6:red KB7:red KB8:red "}),
    [](const testing::TestParamInfo<LampCase>& info) { return std::string(info.param.name); });

TEST(SimpleCab, StatusBarShowsTheDoorText) {
  Posted posted;
  SimpleCabWindow cab(posted.sink());
  sim::AuxWindowData data;
  data.doorStatusText = "ドアが開いています";
  cab.refresh(data);
  EXPECT_EQ(cab.findChild<QStatusBar*>(QStringLiteral("StatusBar1"))->currentMessage(),
            QStringLiteral("ドアが開いています"));
  cab.refresh({});
  EXPECT_TRUE(cab.findChild<QStatusBar*>(QStringLiteral("StatusBar1"))->currentMessage().isEmpty());
}

TEST(SimpleCab, ButtonsTypeTheDrivingKeysAndTheTwoDisabledOnesNothing) {
  Posted posted;
  SimpleCabWindow cab(posted.sink());
  cab.show();
  for (const char* name : {"Button1", "Button6", "Button2", "Button3", "Button4", "Button5"}) {
    QTest::mouseClick(cab.findChild<QPushButton*>(QString::fromLatin1(name)), Qt::LeftButton);
  }
  EXPECT_EQ(posted.typed(), "2587");
}

struct ReverserCase {
  const char* name;
  int reverser;
  double speed;
  int after;
};

class SimpleCabReverser : public testing::TestWithParam<ReverserCase> {};

TEST_P(SimpleCabReverser, TurnsTheReverserTheOtherWayAtAStandstill) {
  auto f = test::makeDrive();
  f->drive.control.reverser = GetParam().reverser;
  f->drive.state.speed = GetParam().speed;
  Posted posted;
  SimpleCabWindow cab(posted.sink());
  cab.show();
  QTest::mouseClick(cab.findChild<QPushButton*>(QStringLiteral("Button7")), Qt::LeftButton);
  posted.applyTo(f->drive);
  EXPECT_EQ(f->drive.control.reverser, GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(, SimpleCabReverser,
                         testing::Values(ReverserCase{"forwardToBackward", 1, 0, -1},
                                         ReverserCase{"backwardToForward", -1, 0, 1},
                                         ReverserCase{"neutralStays", 0, 0, 0}, ReverserCase{"notAtSpeed", 1, 30, 1}),
                         [](const testing::TestParamInfo<ReverserCase>& info) { return std::string(info.param.name); });

TEST(AuxWindowKeys, EachWindowHandsEveryKeyToTheDrivingWindowOnce) {
  KeyTarget target;
  Posted posted;
  SimpleCabWindow cab(posted.sink());
  ValueDisplayWindow values(posted.sink(), {});
  HelpWindow help;
  cab.setKeyTarget(&target);
  values.setKeyTarget(&target);
  help.setKeyTarget(&target);
  QTest::keyClick(&cab, Qt::Key_8, Qt::NoModifier);
  QTest::keyClick(values.findChild<QTableWidget*>(QStringLiteral("StringGrid1")), Qt::Key_2, Qt::NoModifier);
  QTest::keyClick(help.findChild<QPlainTextEdit*>(QStringLiteral("Memo1")), Qt::Key_Space, Qt::NoModifier);
  QTest::keyClick(cab.findChild<QPushButton*>(QStringLiteral("Button2")), Qt::Key_Space, Qt::NoModifier);
  EXPECT_EQ(target.typed, "82  ");
  EXPECT_EQ(target.presses, 4);
  EXPECT_EQ(target.releases, 4);
  // The focused button did not click on the space bar.
  EXPECT_TRUE(posted.events.empty());
}

TEST(AuxWindowKeys, TheJumpFieldTypesItsKeysAndHandsThemOnOnce) {
  KeyTarget target;
  Posted posted;
  ValueDisplayWindow values(posted.sink(), {});
  values.setKeyTarget(&target);
  auto* edit = values.findChild<QLineEdit*>(QStringLiteral("Edit1"));
  QTest::keyClicks(edit, "120");
  QTest::keyClick(edit, Qt::Key_Return);
  EXPECT_EQ(edit->text(), QStringLiteral("120"));
  EXPECT_EQ(target.presses, 4);
  EXPECT_EQ(target.typed, "120\r");
}

TEST(ValueDisplay, GridShowsPlayingChannelsWithTheirVolumeAndAClickStopsOne) {
  auto f = test::makeDrive();
  auto wave = std::make_shared<media::Wave>();
  wave->sampleRate = 22050;
  wave->frames = 22050 * 10;
  f->sounds.bind_wave(12, wave);
  f->sounds.bind_wave(13, wave);
  f->sounds.play_loop(12);
  f->sounds.set_volume(12, -600);
  f->drive.valueDisplayShown = true;
  Posted posted;
  ValueDisplayWindow values(posted.sink(), {});
  values.show();
  values.refresh(sim::auxWindowDataOf(f->drive));
  auto* grid = values.findChild<QTableWidget*>(QStringLiteral("StringGrid1"));
  // Channel 12: row 1, column 2.
  EXPECT_EQ(grid->item(1, 2)->text(), QStringLiteral("-600"));
  EXPECT_EQ(grid->item(1, 2)->background().color(), QColor(Qt::cyan));
  // A silent wave and an empty channel are not filled.
  EXPECT_TRUE(grid->item(1, 3)->text().isEmpty());
  EXPECT_EQ(grid->item(1, 3)->background().style(), Qt::NoBrush);
  EXPECT_EQ(grid->item(0, 0)->background().style(), Qt::NoBrush);

  values.gridCellClick(1, 2);
  posted.applyTo(f->drive);
  EXPECT_FALSE(f->sounds.is_playing(12));
  values.refresh(sim::auxWindowDataOf(f->drive));
  EXPECT_EQ(grid->item(1, 2)->background().style(), Qt::NoBrush);
}

TEST(ValueDisplay, ReadoutsAndTitleComeFromTheDriveOnlyWhileShown) {
  auto f = test::makeDrive();
  f->drive.state.speed = 42.26;
  f->drive.valueDisplayTitle = "P4   ";
  EXPECT_TRUE(sim::auxWindowDataOf(f->drive).readouts.empty());
  f->drive.valueDisplayShown = true;
  sim::valueDisplayStep(f->drive);  // the tick's part
  Posted posted;
  ValueDisplayWindow values(posted.sink(), {});
  values.refresh(sim::auxWindowDataOf(f->drive));
  EXPECT_EQ(values.readout("Label1"), QStringLiteral("42.3 km/h"));
  EXPECT_EQ(values.windowTitle(), QStringLiteral("P4   "));
}

struct JumpCase {
  const char* name;
  const char* text;
  int frame;  // -1: refused with a message
};

class ValueDisplayJump : public testing::TestWithParam<JumpCase> {};

TEST_P(ValueDisplayJump, SetsTheFrameOrSaysTheTextIsNotANumber) {
  auto f = test::makeDrive();
  f->drive.state.frame = 77;
  Posted posted;
  std::vector<QString> errors;
  ValueDisplayWindow values(posted.sink(), [&](const QString& e) { errors.push_back(e); });
  values.findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(QString::fromUtf8(GetParam().text));
  values.jumpClick();
  posted.applyTo(f->drive);
  if (GetParam().frame < 0) {
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(errors[0].contains(QString::fromUtf8(GetParam().text)));
    EXPECT_EQ(f->drive.state.frame, 77);
  } else {
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(f->drive.state.frame, GetParam().frame);
  }
}

INSTANTIATE_TEST_SUITE_P(, ValueDisplayJump,
                         testing::Values(JumpCase{"number", "1500", 1500}, JumpCase{"spaces", " 20 ", 20},
                                         JumpCase{"word", "abc", -1}, JumpCase{"fraction", "1.5", -1},
                                         JumpCase{"empty", "", -1}, JumpCase{"tooLarge", "99999999999", -1}),
                         [](const testing::TestParamInfo<JumpCase>& info) { return std::string(info.param.name); });

TEST(ValueDisplay, ResistanceButtonTogglesTheSwitchAndIsBoldWhileOn) {
  auto f = test::makeDrive();
  Posted posted;
  ValueDisplayWindow values(posted.sink(), {});
  auto* button = values.findChild<QPushButton*>(QStringLiteral("Button3"));
  values.resistanceClick();
  posted.applyTo(f->drive);
  EXPECT_EQ(f->drive.control.resistanceOff, 1);
  values.refresh(sim::auxWindowDataOf(f->drive));
  EXPECT_TRUE(button->font().bold());
  values.resistanceClick();
  posted.applyTo(f->drive);
  EXPECT_EQ(f->drive.control.resistanceOff, 0);
  values.refresh(sim::auxWindowDataOf(f->drive));
  EXPECT_FALSE(button->font().bold());
}

TEST(HelpWindow, FirstLineIsTheTitleAndTheRestTheText) {
  test::TempDir dir;
  std::ofstream(dir.path() / "Operation.DAT", std::ios::binary)
      << core::utf8ToSjis("操作説明\r\n8: 力行\r\n2: ブレーキ\r\n");
  HelpWindow help;
  help.load(dir.path());
  EXPECT_EQ(help.windowTitle(), QStringLiteral("操作説明"));
  EXPECT_EQ(help.text(), QStringLiteral("8: 力行\n2: ブレーキ"));
}

TEST(HelpWindow, AMissingFileIsNamedInTheText) {
  test::TempDir dir;
  HelpWindow help;
  help.load(dir.path());
  EXPECT_TRUE(help.text().contains(QStringLiteral("operation.dat")));
}

}  // namespace
}  // namespace vesk::auxwin
