// The title window on the demo line (scripts/demo.sh writes it to build/demo-pack): the opening gives way to the
// title picture with the jingle, the menu shows one item a tick, the variant key chooses the other service and
// offers every train, a vehicle file of one's own is used once, a train opens the drive with the loading phases
// in the status line and the title comes back when the drive closes; a movie that cannot be played and missing
// pictures are reported and the title goes on; the program's own title run leaves a picture of it.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <array>
#include <filesystem>
#include <fstream>

#include "app/title_window.h"
#include "devices/controller_hub.h"
#include "media/virtual_sound_bank.h"
#include "support/command_run.h"
#include "support/media_files.h"
#include "support/temp_dir.h"
#include "support/test_pack.h"

namespace vesk::app {
namespace {

const std::filesystem::path kPack = VESK_DEMO_PACK;

std::unique_ptr<media::SoundBank> recordingBank(const std::function<std::int64_t()>& nowMs) {
  return std::make_unique<media::VirtualSoundBank>(nowMs);
}

class TitleWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(std::filesystem::exists(kPack / "velmarix.dat"))
        << "no demo pack at " << kPack << ": write it with scripts/demo.sh";
  }
  void TearDown() override {
    if (title) title->quitClick();
  }

  TitleServices services() {
    TitleServices s;
    s.makeBank = recordingBank;
    s.messages.error = [this](const QString& text) { errors.push_back(text); };
    s.messages.notice = [this](const QString& text) { notices.push_back(text); };
    s.pickFile = [this](QWidget*, const QString& caption, const QString&, const QString& filter) {
      dialogCaptions.push_back(caption + QStringLiteral(" | ") + filter);
      return pickedFile;
    };
    s.openDocument = [this](const std::filesystem::path& document) {
      openedDocuments.push_back(document);
      return documentOpens;
    };
    s.closed = [this] { ++closedCount; };
    return s;
  }

  void openTitle(const std::filesystem::path& dir = kPack) {
    title = TitleWindow::open(dir, store, services());
    ASSERT_NE(title, nullptr);
    title->show();
    title->start();
  }
  // From the opening to the menu with every item shown.
  void toMenu() {
    title->Timer1Timer();
    title->Imageclick();
    for (int i = 0; i < 12; ++i) title->Timer1Timer();
  }

  template <class T = QWidget> T* child(const char* name) { return title->findChild<T*>(QString::fromLatin1(name)); }
  bool shown(const char* name) { return !child(name)->isHidden(); }
  std::array<bool, kTrainCount> trainsShown() { return {shown("train1"), shown("train2"), shown("train3")}; }
  media::VirtualSoundBank& titleBank() { return dynamic_cast<media::VirtualSoundBank&>(title->player().bank()); }

  test::TempDir settingsDir;
  SettingsStore store{settingsDir.path()};
  std::vector<QString> errors;
  std::vector<QString> notices;
  std::vector<QString> dialogCaptions;
  std::vector<std::filesystem::path> openedDocuments;
  QString pickedFile;
  bool documentOpens = true;
  int closedCount = 0;
  std::unique_ptr<TitleWindow> title;
};

TEST_F(TitleWindowTest, WithoutAMovieTheJinglePlaysAndTheTitlePictureShowsAtTheFirstTick) {
  openTitle();
  EXPECT_EQ(title->titleState(), TitleState::Opening);
  EXPECT_EQ(title->size(), QSize(640, 360));
  EXPECT_TRUE(shown("DXDraw1"));
  EXPECT_FALSE(shown("quit"));
  EXPECT_FALSE(shown("HELP"));
  EXPECT_TRUE(title->timerRunning());

  title->Timer1Timer();
  EXPECT_EQ(title->titleState(), TitleState::Picture);
  ASSERT_NE(titleBank().wave(0), nullptr);
  EXPECT_EQ(titleBank().wave(0)->fileName, "sound\\28803.wav");
  EXPECT_FALSE(titleBank().wave(0)->empty());
  EXPECT_TRUE(titleBank().is_playing(0));
  EXPECT_FALSE(shown("DXDraw1"));
  EXPECT_TRUE(shown("cts"));
  EXPECT_TRUE(shown("quit"));
  EXPECT_EQ(title->size(), QSize(800, 600));
  EXPECT_FALSE(shown("Label1"));
  // One of the six title pictures, drawn in full.
  const std::string& name = title->titlePictureName();
  EXPECT_TRUE(name.size() == 23 && name.starts_with("image\\title\\title0") && name[18] >= '1' && name[18] <= '6' &&
              name.ends_with(".jpg"))
      << name;
  const QPixmap picture = child<QLabel>("Image1")->pixmap();
  EXPECT_EQ(picture.size(), QSize(800, 600));
  EXPECT_TRUE(notices.empty()) << notices.front().toStdString();
}

TEST_F(TitleWindowTest, TheMenuIsRevealedOneItemATick) {
  openTitle();
  title->Timer1Timer();
  // A click on the prompt opens the menu.
  QTest::mouseClick(child("cts"), Qt::LeftButton);
  ASSERT_EQ(title->titleState(), TitleState::Menu);
  EXPECT_FALSE(shown("cts"));
  EXPECT_FALSE(shown("quit"));
  EXPECT_TRUE(title->timerRunning());
  const std::array<const char*, 6> lines = {"line1", "line2", "line3", "line4", "line5", "line6"};
  for (int tick = 1; tick <= 12; ++tick) {
    title->Timer1Timer();
    SCOPED_TRACE(tick);
    EXPECT_EQ(title->menuTicks(), tick);
    EXPECT_TRUE(shown("map01"));
    for (int k = 0; k < 6; ++k) EXPECT_EQ(shown(lines[static_cast<std::size_t>(k)]), tick > 2 + k) << lines[k];
    EXPECT_EQ(shown("HELP"), tick > 10);
    EXPECT_EQ(shown("back"), tick > 11);
    EXPECT_EQ(title->timerRunning(), tick <= 11);
  }
  EXPECT_EQ(trainsShown(), (std::array<bool, 3>{}));

  // The real timer reveals it too, 100 ms a step.
  QTest::mouseClick(child("back"), Qt::LeftButton);
  EXPECT_EQ(title->titleState(), TitleState::Picture);
  EXPECT_FALSE(shown("line1"));
  EXPECT_FALSE(shown("back"));
  EXPECT_TRUE(shown("cts"));
  EXPECT_TRUE(shown("quit"));
  EXPECT_FALSE(shown("map01"));
  title->Imageclick();
  EXPECT_TRUE(QTest::qWaitFor([&] { return shown("back"); }, 3000));
  EXPECT_TRUE(shown("line6"));
}

TEST_F(TitleWindowTest, ShiftChoosesTheVariantAndOffersEveryTrain) {
  openTitle();
  toMenu();
  QTest::mouseClick(child("line2"), Qt::LeftButton);
  EXPECT_EQ(title->routeFileName(), "line_down_rapid.dat");
  EXPECT_EQ(trainsShown(), (std::array<bool, 3>{false, true, false}));
  // The cursor stands 35 pixels left of the picture, 20 lower for the top row.
  EXPECT_EQ(child("cursor")->pos(), QPoint(50 - 35, 245));
  QTest::mouseClick(child("line4"), Qt::LeftButton);
  EXPECT_EQ(child("cursor")->pos(), QPoint(385 - 35, 180 + 20));

  QTest::keyPress(title.get(), Qt::Key_Shift, Qt::ShiftModifier);
  EXPECT_TRUE(title->variantKey());
  QTest::mouseClick(child("line2"), Qt::LeftButton);
  EXPECT_EQ(title->routeFileName(), "line_down_rapid_A.dat");
  EXPECT_EQ(trainsShown(), (std::array<bool, 3>{true, true, true}));
  // Letting go of Shift keeps the service chosen.
  QTest::keyRelease(title.get(), Qt::Key_Shift);
  EXPECT_FALSE(title->variantKey());
  EXPECT_EQ(title->routeFileName(), "line_down_rapid_A.dat");
  EXPECT_EQ(trainsShown(), (std::array<bool, 3>{true, true, true}));

  // Shift pressed while Control is held is not the variant key.
  QKeyEvent shiftWithControl(QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier | Qt::ControlModifier);
  QApplication::sendEvent(title.get(), &shiftWithControl);
  EXPECT_FALSE(title->variantKey());
  QTest::mouseClick(child("line5"), Qt::LeftButton);
  EXPECT_EQ(title->routeFileName(), "line_up_rapid.dat");
  // Shift held at the click itself chooses the variant as well.
  QTest::mouseClick(child("line5"), Qt::LeftButton, Qt::ShiftModifier);
  EXPECT_EQ(title->routeFileName(), "line_up_rapid_A.dat");
}

TEST_F(TitleWindowTest, ATrainOpensTheDriveAndTheTitleComesBackWhenItCloses) {
  openTitle();
  toMenu();
  QTest::keyPress(title.get(), Qt::Key_Shift, Qt::ShiftModifier);
  QTest::mouseClick(child("line4"), Qt::LeftButton);
  QTest::keyRelease(title.get(), Qt::Key_Shift);
  QTest::keyPress(title.get(), Qt::Key_Shift, Qt::ShiftModifier);

  QTest::mouseClick(child("train2"), Qt::LeftButton);
  DrivingWindow* drive = title->drivingWindow();
  ASSERT_NE(drive, nullptr) << (errors.empty() ? "" : errors.front().toStdString());
  EXPECT_EQ(drive->choice().routeFileName, "line_up_local_A.dat");
  EXPECT_EQ(drive->choice().vehicleFileName, "train_VK700_2Cars.dat");
  EXPECT_TRUE(drive->choice().vehicleDir.empty());
  EXPECT_TRUE(drive->isVisible());
  EXPECT_FALSE(title->isVisible());
  // The status line showed the loading phases, the last one last.
  EXPECT_EQ(title->statusText(), QStringLiteral("環境をセットアップしています"));
  EXPECT_EQ(titleBank().wave(0)->fileName, "sound\\start.wav");
  ASSERT_TRUE(QTest::qWaitFor([&] { return drive->framesShown() >= 3; }, 5000));

  drive->close();
  ASSERT_TRUE(QTest::qWaitFor([&] { return title->drivingWindow() == nullptr; }, 3000));
  EXPECT_TRUE(title->isVisible());
  EXPECT_EQ(title->titleState(), TitleState::Menu);
  EXPECT_EQ(title->size(), QSize(800, 600));
  EXPECT_FALSE(shown("Label1"));
  EXPECT_FALSE(title->variantKey());
  EXPECT_EQ(closedCount, 0);
  // The settings the drive kept were written when it closed.
  EXPECT_TRUE(std::filesystem::exists(settingsDir.path() / "vesk.ini"));
}

// The controller chosen in one drive's Controller menu is the one the next drive reads.
TEST_F(TitleWindowTest, TheChosenControllerCarriesOverToTheNextDrive) {
  openTitle();
  toMenu();
  QTest::mouseClick(child("line1"), Qt::LeftButton);
  title->Trainclick(0);
  ASSERT_NE(title->drivingWindow(), nullptr) << (errors.empty() ? "" : errors.front().toStdString());
  auto* ps = title->drivingWindow()->findChild<QAction*>(QStringLiteral("COM31"));
  ASSERT_NE(ps, nullptr);
  ps->trigger();
  title->drivingWindow()->close();
  ASSERT_TRUE(QTest::qWaitFor([&] { return title->drivingWindow() == nullptr; }, 3000));
  ASSERT_NE(title->controllers(), nullptr);
  EXPECT_EQ(title->controllers()->controllerType(), 2);

  title->Trainclick(0);
  ASSERT_NE(title->drivingWindow(), nullptr);
  auto* again = title->drivingWindow()->findChild<QAction*>(QStringLiteral("COM31"));
  ASSERT_NE(again, nullptr);
  EXPECT_TRUE(again->isChecked());
  EXPECT_FALSE(title->drivingWindow()->findChild<QAction*>(QStringLiteral("COM11"))->isChecked());
  title->drivingWindow()->close();
  ASSERT_TRUE(QTest::qWaitFor([&] { return title->drivingWindow() == nullptr; }, 3000));
}

TEST_F(TitleWindowTest, AVehicleFileOfOnesOwnIsUsedByTheNextTrainOnly) {
  test::TempDir own;
  test::writePack(own);
  pickedFile = QString::fromStdString((own.path() / test::kPackVehicle).string());
  openTitle();
  toMenu();

  // A right click on a train picture: the file is taken, the trains go until a line is clicked.
  QTest::mouseClick(child("line1"), Qt::LeftButton);
  QTest::mousePress(child("train1"), Qt::RightButton);
  ASSERT_EQ(dialogCaptions.size(), 1u);
  EXPECT_EQ(dialogCaptions[0],
            QStringLiteral("この路線を任意の列車で運転することができます | 列車データファイル (*.dat)"));
  EXPECT_EQ(trainsShown(), (std::array<bool, 3>{}));
  EXPECT_EQ(child("cursor")->pos(), QPoint(370 - 35, 430));
  // On a line picture it chooses the line as well.
  QTest::mousePress(child("line3"), Qt::RightButton);
  EXPECT_EQ(title->routeFileName(), "line_down_tr.dat");
  EXPECT_EQ(trainsShown(), (std::array<bool, 3>{false, false, true}));

  title->Trainclick(2);
  ASSERT_NE(title->drivingWindow(), nullptr) << (errors.empty() ? "" : errors.front().toStdString());
  EXPECT_EQ(title->drivingWindow()->choice().vehicleFileName, test::kPackVehicle);
  EXPECT_EQ(title->drivingWindow()->choice().vehicleDir, own.path());
  title->drivingWindow()->close();
  ASSERT_TRUE(QTest::qWaitFor([&] { return title->drivingWindow() == nullptr; }, 3000));

  // Used once: the next train is the table's.
  title->Trainclick(2);
  ASSERT_NE(title->drivingWindow(), nullptr);
  EXPECT_EQ(title->drivingWindow()->choice().vehicleFileName, "train_VK103.dat");
  EXPECT_TRUE(title->drivingWindow()->choice().vehicleDir.empty());

  // The drive's back button fades out and brings the title back as well.
  title->drivingWindow()->BackClick();
  ASSERT_TRUE(QTest::qWaitFor([&] { return title->drivingWindow() == nullptr; }, 5000));
  EXPECT_TRUE(title->isVisible());

  // A cancelled dialog leaves everything as it was.
  pickedFile.clear();
  QTest::mousePress(child("line1"), Qt::RightButton);
  EXPECT_EQ(title->routeFileName(), "line_down_tr.dat");
  EXPECT_EQ(trainsShown(), (std::array<bool, 3>{false, false, true}));
}

TEST_F(TitleWindowTest, ADriveThatCannotLoadShowsItsMessageAndTheTitleStays) {
  test::TempDir own;
  test::writePack(own);
  test::writeText(own, test::kPackVehicle, "[Cars]\nmany\n");
  pickedFile = QString::fromStdString((own.path() / test::kPackVehicle).string());
  openTitle();
  toMenu();
  QTest::mousePress(child("line1"), Qt::RightButton);
  title->Trainclick(0);
  EXPECT_EQ(title->drivingWindow(), nullptr);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_TRUE(errors[0].contains(QString::fromStdString(test::kPackVehicle))) << errors[0].toStdString();
  EXPECT_TRUE(title->isVisible());
  EXPECT_EQ(title->size(), QSize(800, 600));
  EXPECT_EQ(title->titleState(), TitleState::Menu);
}

TEST_F(TitleWindowTest, AMovieThatCannotBePlayedIsReportedAndTheTitleGoesOn) {
  test::TempDir pack;
  std::filesystem::copy_file(kPack / "velmarix.dat", pack.path() / "velmarix.dat");
  pack.write("Move/Opening.avi", "RIFF\x10\0\0\0AVI LIST not a movie");
  openTitle(pack.path());
  ASSERT_GE(notices.size(), 2u);
  // The pictures this folder lacks, each named, then the movie.
  EXPECT_TRUE(notices[0].contains(QStringLiteral("image\\title\\line01.bmpが見つかりません")))
      << notices[0].toStdString();
  EXPECT_TRUE(notices[0].contains(QStringLiteral("image\\title\\title2.jpgが見つかりません")));
  EXPECT_EQ(notices.back(), QStringLiteral("オープニングムービーを開けません"));
  EXPECT_FALSE(title->player().moviePlaying());

  title->Timer1Timer();
  EXPECT_EQ(title->titleState(), TitleState::Picture);
  EXPECT_EQ(titleBank().wave(0)->fileName, "sound\\28803.wav");
  title->Imageclick();
  for (int i = 0; i < 12; ++i) title->Timer1Timer();
  // A line without its picture is offered by its route file's name.
  EXPECT_TRUE(shown("line1"));
  EXPECT_GT(child<QLabel>("line1")->pixmap().width(), 0);
  QTest::mouseClick(child("line1"), Qt::LeftButton);
  EXPECT_EQ(title->routeFileName(), "line_down_local.dat");
}

TEST_F(TitleWindowTest, TheOpeningMovieRunsUntilAClick) {
  // Any of the pack's videos stands in for an opening movie.
  std::filesystem::path video;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(kPack / "movie")) {
    if (entry.path().extension() == ".avi") {
      video = entry.path();
      break;
    }
  }
  ASSERT_FALSE(video.empty());
  test::TempDir pack;
  for (const auto& entry : std::filesystem::directory_iterator(kPack)) {
    std::filesystem::create_symlink(entry.path(), pack.path() / entry.path().filename());
  }
  std::filesystem::create_directories(pack.path() / "move");
  std::filesystem::create_symlink(video, pack.path() / "move" / "opening.avi");
  openTitle(pack.path());
  EXPECT_TRUE(notices.empty()) << notices.front().toStdString();
  EXPECT_TRUE(title->player().moviePlaying());
  for (int i = 0; i < 5; ++i) title->Timer1Timer();
  EXPECT_EQ(title->titleState(), TitleState::Opening);
  EXPECT_EQ(title->titleTicks(), 5);
  EXPECT_EQ(titleBank().wave(0), nullptr);
  EXPECT_FALSE(child<QLabel>("DXDraw1")->pixmap().isNull());

  QTest::mouseClick(child("DXDraw1"), Qt::LeftButton);
  EXPECT_EQ(title->titleState(), TitleState::Picture);
  EXPECT_FALSE(title->player().moviePlaying());
}

// An opening movie with a sound track plays it beside its pictures; a click stops both.
TEST_F(TitleWindowTest, TheOpeningMoviePlaysItsSoundTrack) {
  test::TempDir pack;
  for (const auto& entry : std::filesystem::directory_iterator(kPack)) {
    std::filesystem::create_symlink(entry.path(), pack.path() / entry.path().filename());
  }
  std::filesystem::create_directories(pack.path() / "move");
  ASSERT_TRUE(test::aviWithSound(pack.path() / "move" / "opening.avi", 60, 8000, 2, 16000));
  openTitle(pack.path());
  EXPECT_TRUE(notices.empty()) << notices.front().toStdString();
  ASSERT_TRUE(title->player().moviePlaying());
  ASSERT_NE(titleBank().wave(1), nullptr);
  EXPECT_EQ(titleBank().wave(1)->frames, 16000);
  EXPECT_EQ(titleBank().wave(1)->channels, 2);
  EXPECT_TRUE(titleBank().is_playing(1));
  EXPECT_EQ(titleBank().wave(0), nullptr) << "no jingle with a movie";

  QTest::mouseClick(child("DXDraw1"), Qt::LeftButton);
  EXPECT_FALSE(title->player().moviePlaying());
  EXPECT_FALSE(titleBank().is_playing(1));
}

TEST_F(TitleWindowTest, TheOpeningGivesWayAfterAHundredAndSixtySeconds) {
  std::filesystem::path video;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(kPack / "movie")) {
    if (entry.path().extension() == ".avi") video = entry.path();
  }
  ASSERT_FALSE(video.empty());
  test::TempDir pack;
  std::filesystem::copy_file(kPack / "velmarix.dat", pack.path() / "velmarix.dat");
  std::filesystem::create_directories(pack.path() / "move");
  std::filesystem::create_symlink(video, pack.path() / "move" / "opening.avi");
  openTitle(pack.path());
  ASSERT_TRUE(title->player().moviePlaying());
  for (int tick = 1; tick < 1600; ++tick) title->Timer1Timer();
  EXPECT_EQ(title->titleState(), TitleState::Opening);
  title->Timer1Timer();
  EXPECT_EQ(title->titleState(), TitleState::Picture);
  EXPECT_EQ(title->titleTicks(), 1600);
}

TEST_F(TitleWindowTest, HelpOpensTheReadmeAndSaysWhenItCannot) {
  openTitle();
  toMenu();
  QTest::mouseClick(child("HELP"), Qt::LeftButton);
  ASSERT_EQ(openedDocuments.size(), 1u);
  EXPECT_EQ(openedDocuments[0], kPack / "readme.html");
  EXPECT_TRUE(notices.empty());
  documentOpens = false;
  title->helpclick();
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_TRUE(notices[0].endsWith(QStringLiteral("readme.htmlを開けません")));
}

TEST_F(TitleWindowTest, QuitClosesTheTitle) {
  openTitle();
  title->Timer1Timer();
  QTest::mouseClick(child("quit"), Qt::LeftButton);
  EXPECT_FALSE(title->isVisible());
  EXPECT_EQ(closedCount, 1);
  EXPECT_FALSE(title->timerRunning());
}

TEST_F(TitleWindowTest, AFolderWithoutTheStringFileIsRefused) {
  test::TempDir empty;
  EXPECT_EQ(TitleWindow::open(empty.path(), store, services()), nullptr);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_TRUE(errors[0].startsWith(QStringLiteral("実行ファイルが正しい場所に配置されていません\n")));
}

// Runs the program; its exit status and what it wrote.
int runVesk(const std::string& arguments, std::string& out, const std::string& environment = {}) {
  const std::string command = "ASAN_OPTIONS=detect_leaks=0 ALSOFT_DRIVERS=null " + environment + " " +
                              std::string(VESK_APP_PATH) + " " + arguments + " 2>&1";
  const test::CommandRun run = test::runCommand(command);
  out += run.out;
  return run.status;
}

TEST(TitleProgram, RunsOnTheTitleAndLeavesItsPicture) {
  test::TempDir dir;
  const std::filesystem::path shot = dir.path() / "shots" / "title.png";
  std::string out;
  EXPECT_EQ(runVesk("--data " + kPack.string() + " --exit-after 1.5 --screenshot " + shot.string(), out), 0) << out;
  QImage picture(QString::fromStdString(shot.string()));
  ASSERT_FALSE(picture.isNull()) << out;
  EXPECT_EQ(picture.size(), QSize(800, 600));
  // The title picture, not an empty window.
  EXPECT_NE(picture.pixel(400, 300), picture.pixel(10, 10));

  out.clear();
  EXPECT_EQ(runVesk("--data " + dir.path().string() + " --exit-after 1", out), 2);
  EXPECT_NE(out.find("実行ファイルが正しい場所に配置されていません"), std::string::npos) << out;
}

TEST(TitleProgram, AnswersHelpAndVersionWithoutADisplay) {
  std::string out;
  // No platform could be opened here: the answers come before any window.
  EXPECT_EQ(runVesk("--version", out, "QT_QPA_PLATFORM=none"), 0);
  EXPECT_EQ(out, "vesk " VESK_VERSION "\n");
  out.clear();
  EXPECT_EQ(runVesk("--help", out, "QT_QPA_PLATFORM=none"), 0);
  EXPECT_NE(out.find("--data DIR"), std::string::npos) << out;
  EXPECT_NE(out.find("title screen"), std::string::npos) << out;
}

}  // namespace
}  // namespace vesk::app
