// The driving window on the demo line (scripts/demo.sh writes it to build/demo-pack): it opens running, keys
// reach the handles and the panel shows them, the video picture follows the frame, pause and resume keep the
// sounds and simulated time whole, the "Move" menu jumps to a station, the back button and the end of the run
// close it and the settings are written; a broken route file ends with its message.
#include <gtest/gtest.h>

#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <tuple>

#include "app/drawing_area.h"
#include "app/driving_window.h"
#include "auxwin/value_display_window.h"
#include "media/virtual_sound_bank.h"
#include "present/view_geometry.h"
#include "support/command_run.h"
#include "support/temp_dir.h"
#include "support/test_pack.h"

namespace vesk::app {
namespace {

const std::filesystem::path kPack = VESK_DEMO_PACK;

class DrivingWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(std::filesystem::exists(kPack / "velmarix.dat"))
        << "no demo pack at " << kPack << ": write it with scripts/demo.sh";
    messages.error = [this](const QString& text) { errors.push_back(text); };
    messages.notice = [this](const QString& text) { notices.push_back(text); };
  }
  void TearDown() override {
    if (window) window->close();
  }

  void openDemo(int startStation = -1, const std::filesystem::path& programDir = kPack) {
    const sim::DriveChoice choice{programDir, {}, "train_VK500.dat", "line_down_local.dat", startStation};
    // The bank without a device: the tests look into its channels.
    window = DrivingWindow::open(choice, store, messages, nullptr, makeVirtualSoundBank);
    ASSERT_NE(window, nullptr) << (errors.empty() ? "" : errors.front().toStdString());
    window->show();
    window->startDrive();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->framesShown() >= 3; }, 5000));
  }

  sim::Drive& drive() { return window->session().drive(); }
  // A copy of the drive's state, taken under its lock.
  template <class F> auto read(F f) {
    std::lock_guard lock(drive().mutex());
    return f(drive());
  }
  // Runs the window until `done` holds (or five seconds pass).
  static bool waitFor(const std::function<bool()>& done) { return QTest::qWaitFor(done, 5000); }
  // Lets a few frames be drawn with what the drive holds now.
  void settle() {
    const std::int64_t frames = window->framesShown();
    ASSERT_TRUE(waitFor([&] { return window->framesShown() >= frames + 3; }));
  }

  template <class T> T* child(const char* name) { return window->findChild<T*>(QString::fromLatin1(name)); }

  test::TempDir settingsDir;
  SettingsStore store{settingsDir.path()};
  WindowMessages messages;
  std::vector<QString> errors;
  std::vector<QString> notices;
  std::unique_ptr<DrivingWindow> window;
};

// Whether the drawing area shows pattern `pattern` of a sprite's picture wherever that picture is opaque.
::testing::AssertionResult showsPattern(const QImage& canvas, const sim::Drive& drive, const char* picture,
                                        int pattern) {
  const media::Sprite* sprite = drive.sprites.findByPicture(picture);
  const media::ImageEntry* entry = drive.pictures.images.find(picture);
  if (sprite == nullptr || entry == nullptr) return ::testing::AssertionFailure() << "no " << picture;
  if (!sprite->visible) return ::testing::AssertionFailure() << picture << " is hidden";
  const QRect cell = entry->patternRect(pattern);
  const QImage image = entry->image.convertToFormat(QImage::Format_ARGB32);
  int opaque = 0;
  int wrong = 0;
  for (int y = 0; y < cell.height(); ++y) {
    for (int x = 0; x < cell.width(); ++x) {
      const QRgb want = image.pixel(cell.x() + x, cell.y() + y);
      if (qAlpha(want) != 255) continue;
      ++opaque;
      const QRgb got = canvas.pixel(static_cast<int>(sprite->x) + x, static_cast<int>(sprite->y) + y);
      if ((got & 0xffffff) != (want & 0xffffff)) ++wrong;
    }
  }
  if (opaque == 0) return ::testing::AssertionFailure() << picture << " pattern " << pattern << " is empty";
  // A needle or lamp drawn over the strip may cover a few pixels.
  if (wrong * 20 > opaque) {
    return ::testing::AssertionFailure() << picture << " pattern " << pattern << ": " << wrong << " of " << opaque
                                         << " pixels differ";
  }
  return ::testing::AssertionSuccess();
}

QImage region(const QImage& canvas, const QRect& r) { return canvas.copy(r); }

TEST_F(DrivingWindowTest, OpensRunningWithTheLinesTitleAndItsMenus) {
  openDemo();
  EXPECT_TRUE(errors.empty());
  EXPECT_TRUE(notices.empty());
  EXPECT_EQ(window->centralWidget()->size(), QSize(1260, 850));
  const std::string lineName = read([](sim::Drive& d) { return d.route.lineName; });
  EXPECT_TRUE(waitFor([&] { return window->windowTitle() == QString::fromStdString(lineName); }));
  EXPECT_EQ(child<QAction>("start1")->text(), QStringLiteral("一時停止(&S)"));
  EXPECT_TRUE(child<QAction>("menu_d1")->isEnabled());
  EXPECT_TRUE(child<QAction>("N3")->isEnabled());
  EXPECT_TRUE(child<QMenu>("Controller1")->menuAction()->isEnabled());
  EXPECT_TRUE(child<QMenu>("SaveS1")->menuAction()->isEnabled());
  EXPECT_FALSE(child<QAction>("OFFV1")->isVisible());
  // A first run: explanations hidden, text mode off.
  EXPECT_TRUE(child<QAction>("D1")->isChecked());
  EXPECT_FALSE(child<QLabel>("Label0")->isVisible());
  EXPECT_FALSE(child<QLabel>("sub_disp")->isVisible());

  // One item per stopping station, in line order, never the last station.
  const auto& route = *window->session().loaded().route;
  std::vector<QString> items;
  for (QAction* a : child<QMenu>("GoTo1")->actions()) items.push_back(a->objectName());
  std::vector<QString> want;
  for (int k = 0; k + 1 < route.stationCount; ++k) {
    const int kind = route.stations[static_cast<std::size_t>(k)].kind;
    if (kind == 0 || kind == 2) want.push_back(QStringLiteral("Sta%1").arg(k));
  }
  EXPECT_EQ(items, want);
  EXPECT_FALSE(items.empty());
}

TEST_F(DrivingWindowTest, KeysMoveTheHandlesAndThePanelShowsThem) {
  openDemo();
  settle();
  const auto patternOf = [this](const char* picture) {
    return read([picture](sim::Drive& d) { return d.sprites.findByPicture(picture)->pattern; });
  };
  const auto handles = [this] {
    return read([](sim::Drive& d) { return std::pair(d.control.powerHandle, d.control.brakeHandle); });
  };
  const int brakes = read([](sim::Drive& d) { return d.vehicle.brakeNotches; });
  // At the start: emergency, no power; the strips show it.
  ASSERT_EQ(handles(), std::pair(0, -brakes));
  const int emergencyPattern = patternOf("img_lamp_b");
  EXPECT_GT(emergencyPattern, 0);
  EXPECT_TRUE(showsPattern(window->drawingArea(), drive(), "img_lamp_b", emergencyPattern));
  const present::ViewGeometry view =
      present::viewGeometryOf(window->session().loaded().strings, window->session().loaded().vehicle, "", "");
  // The brake text's place on the view.
  const QRect brakeText(view.width * 92 / 100, view.height * 92 / 100 - 4, view.width * 8 / 100, view.height * 8 / 100);
  const QImage before = region(window->drawingArea(), brakeText);

  // 8 releases the brake one notch: the strip steps back one pattern and the brake text changes.
  QTest::keyClick(window.get(), Qt::Key_8, Qt::NoModifier);
  ASSERT_TRUE(waitFor([&] { return handles() == std::pair(0, -(brakes - 1)); }));
  settle();
  EXPECT_EQ(patternOf("img_lamp_b"), emergencyPattern - 1);
  EXPECT_TRUE(showsPattern(window->drawingArea(), drive(), "img_lamp_b", emergencyPattern - 1));
  EXPECT_NE(region(window->drawingArea(), brakeText), before);

  // 5 releases everything, then 8 takes power notch 1.
  QTest::keyClick(window.get(), Qt::Key_5, Qt::NoModifier);
  QTest::keyClick(window.get(), Qt::Key_8, Qt::NoModifier);
  ASSERT_TRUE(waitFor([&] { return handles() == std::pair(1, 0); }));
  settle();
  EXPECT_TRUE(showsPattern(window->drawingArea(), drive(), "img_lamp_p", 1));
  EXPECT_TRUE(showsPattern(window->drawingArea(), drive(), "img_lamp_b", patternOf("img_lamp_b")));

  // The mouse wheel turned towards the driver is one more notch.
  QWheelEvent wheel(QPointF(400, 400), QPointF(400, 400), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(window.get(), &wheel);
  EXPECT_TRUE(waitFor([&] { return read([](sim::Drive& d) { return d.control.powerHandle; }) == 2; }));

  // Text mode: the labels show the handle texts.
  child<QAction>("OFFC1")->trigger();
  ASSERT_TRUE(waitFor([&] { return child<QLabel>("Label1")->isVisible(); }));
  const std::string powerText = read([](sim::Drive& d) { return d.handleTexts.powerText; });
  EXPECT_TRUE(waitFor([&] { return child<QLabel>("Label1")->text() == QString::fromStdString(powerText); }));
  EXPECT_TRUE(child<QLabel>("sub_disp")->isVisible());
  EXPECT_FALSE(child<QLabel>("Label5")->isVisible());
}

TEST_F(DrivingWindowTest, TheVideoPictureFollowsTheFrame) {
  openDemo();
  settle();
  const QRect viewRect(0, 0, 800, 450);
  const QImage before = region(window->drawingArea(), viewRect);
  const auto& route = *window->session().loaded().route;
  int target = -1;
  for (int k = route.stationCount - 2; k > 0 && target < 0; --k) {
    const int kind = route.stations[static_cast<std::size_t>(k)].kind;
    if (kind == 0 || kind == 2) target = k;
  }
  ASSERT_GT(target, 0);
  const int frame = route.stations[static_cast<std::size_t>(target)].frame;
  child<QAction>(QStringLiteral("Sta%1").arg(target).toLatin1().constData())->trigger();
  ASSERT_TRUE(waitFor([&] { return read([](sim::Drive& d) { return d.state.frame; }) == frame; }));
  const std::int64_t picture = (frame + 1) / 2;
  const std::optional<QImage> video = window->videoReader().waitFor(picture, std::chrono::seconds(5));
  ASSERT_TRUE(video.has_value());
  settle();
  const QImage shown = region(window->drawingArea(), viewRect).convertToFormat(QImage::Format_RGB32);
  EXPECT_NE(shown, before.convertToFormat(QImage::Format_RGB32));
  // Most of the view is the video picture (signs, texts and the stop marks lie over the rest).
  const QImage want = video->scaled(viewRect.size()).convertToFormat(QImage::Format_RGB32);
  int same = 0;
  for (int y = 0; y < want.height(); y += 5) {
    for (int x = 0; x < want.width(); x += 5) {
      const QRgb a = shown.pixel(x, y);
      const QRgb b = want.pixel(x, y);
      if (std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b)) < 24) ++same;
    }
  }
  EXPECT_GT(same, (want.width() / 5) * (want.height() / 5) * 8 / 10);
}

TEST_F(DrivingWindowTest, PauseAndResumeKeepLoopedSoundsAndSimulatedTime) {
  openDemo();
  // A looping sound on a spare channel.
  window->session().push(sim::InputEvent::call([](sim::Drive& d) {
    auto wave = std::make_shared<media::Wave>();
    wave->sampleRate = 22050;
    wave->channels = 1;
    wave->frames = 22050;
    wave->samples.resize(22050);
    d.sounds.bind_wave(190, wave);
    d.sounds.play_loop(190);
  }));
  settle();

  window->start1Click();
  EXPECT_EQ(child<QAction>("start1")->text(), QStringLiteral("運転再開(&S)"));
  EXPECT_TRUE(window->session().paused());
  auto& bank = dynamic_cast<media::VirtualSoundBank&>(window->session().sounds());
  EXPECT_TRUE(bank.paused());
  const std::int64_t stoodAt = window->session().virtualNowMs();
  const std::int64_t frames = window->framesShown();
  QTest::qWait(400);
  EXPECT_EQ(window->session().virtualNowMs(), stoodAt);
  EXPECT_EQ(window->framesShown(), frames);

  // The handles work while paused.
  QTest::keyClick(window.get(), Qt::Key_5, Qt::NoModifier);
  EXPECT_TRUE(waitFor([&] { return read([](sim::Drive& d) { return d.control.brakeHandle; }) == 0; }));

  // A click on the view resumes; simulated time goes on from where it stood.
  QTest::mouseClick(child<DrawingArea>("untendai"), Qt::LeftButton, Qt::NoModifier, QPoint(400, 300));
  EXPECT_EQ(child<QAction>("start1")->text(), QStringLiteral("一時停止(&S)"));
  EXPECT_FALSE(window->session().paused());
  ASSERT_TRUE(waitFor([&] { return window->session().virtualNowMs() > stoodAt; }));
  EXPECT_LT(window->session().virtualNowMs() - stoodAt, 200);
  std::atomic<int> looped{-1};
  window->session().push(sim::InputEvent::call([&looped](sim::Drive& d) {
    auto& b = dynamic_cast<media::VirtualSoundBank&>(d.sounds);
    looped = b.is_playing(190) && b.looping(190) && !b.paused() ? 1 : 0;
  }));
  ASSERT_TRUE(waitFor([&] { return looped >= 0; }));
  EXPECT_EQ(looped, 1);
  EXPECT_TRUE(waitFor([&] { return window->framesShown() > frames; }));
}

TEST_F(DrivingWindowTest, AClickOnTheViewWhileRunningDoesNothing) {
  openDemo();
  QTest::mouseClick(child<DrawingArea>("untendai"), Qt::LeftButton, Qt::NoModifier, QPoint(400, 300));
  EXPECT_FALSE(window->session().paused());
}

TEST_F(DrivingWindowTest, TheMoveMenuPutsTheTrainAtAStation) {
  openDemo();
  const auto& route = *window->session().loaded().route;
  int target = -1;
  for (int k = 1; k + 1 < route.stationCount && target < 0; ++k) {
    const int kind = route.stations[static_cast<std::size_t>(k)].kind;
    if (kind == 0 || kind == 2) target = k;
  }
  ASSERT_GT(target, 0);
  QTest::keyClick(window.get(), Qt::Key_5, Qt::NoModifier);
  child<QAction>(QStringLiteral("Sta%1").arg(target).toLatin1().constData())->trigger();
  const int frame = route.stations[static_cast<std::size_t>(target)].frame;
  ASSERT_TRUE(waitFor([&] { return read([](sim::Drive& d) { return d.state.frame; }) == frame; }));
  const int brakes = read([](sim::Drive& d) { return d.vehicle.brakeNotches; });
  EXPECT_EQ(read([](sim::Drive& d) { return d.control.brakeHandle; }), -(brakes - 1));
  EXPECT_EQ(read([](sim::Drive& d) { return d.state.currentStation; }), target);
  EXPECT_EQ(window->windowTitle(), QString::fromStdString(route.lineName));
}

TEST_F(DrivingWindowTest, TheBackButtonClosesTheWindowAndWritesTheSettings) {
  openDemo();
  // After the first tick visual effects are off: the window closes on the next cycle.
  ASSERT_TRUE(waitFor([&] { return read([](sim::Drive& d) { return d.settings.Tunnel; }) == 1; }));
  child<QAction>("OFF1")->trigger();  // call-outs off
  ASSERT_TRUE(waitFor([&] { return read([](sim::Drive& d) { return d.settings.Kanko; }) == 1; }));
  QTest::mouseClick(child<QToolButton>("back"), Qt::LeftButton);
  EXPECT_TRUE(waitFor([&] { return !window->isVisible(); }));
  const sim::Settings written = store.load();
  EXPECT_EQ(written.Tunnel, 1);
  EXPECT_EQ(written.Kanko, 1);
  EXPECT_EQ(written.Information, 1);
}

TEST_F(DrivingWindowTest, TheEndOfTheRunClosesTheWindow) {
  openDemo();
  window->session().push(sim::InputEvent::call([](sim::Drive& d) { d.raiseUiEvent("BackClick"); }));
  EXPECT_TRUE(waitFor([&] { return !window->isVisible(); }));
}

TEST_F(DrivingWindowTest, TheDisplayMenuSwitchesTheDrivesOptions) {
  openDemo();
  child<QAction>("OFF2")->trigger();  // beginner mode: ATS off
  ASSERT_TRUE(waitFor([&] { return read([](sim::Drive& d) { return d.control.atsOn; }) == 0; }));
  child<QAction>("P1")->trigger();  // stop lines hidden
  ASSERT_TRUE(waitFor([&] {
    return read([](sim::Drive& d) {
      const media::Sprite* s = d.sprites.findByPicture("img_unten_teimokuM");
      return s != nullptr && !s->visible;
    });
  }));
  child<QAction>("D1")->trigger();  // explanations shown
  EXPECT_TRUE(waitFor([&] { return read([](sim::Drive& d) { return d.settings.Information; }) == 0; }));
}

TEST_F(DrivingWindowTest, ADamagedSettingsFileStillRuns) {
  settingsDir.write("vesk.ini", std::string("\xff\xfe[[\x01\n=\n", 8));
  openDemo();
  EXPECT_TRUE(child<QAction>("D1")->isChecked());
}

TEST_F(DrivingWindowTest, ABrokenRouteFileEndsWithItsMessage) {
  test::TempDir pack;
  test::writePack(pack);
  test::writeText(pack, test::kPackRoute, "[Station]\nA,0\n#\n");
  const sim::DriveChoice choice{pack.path(), {}, test::kPackVehicle, test::kPackRoute, -1};
  EXPECT_EQ(DrivingWindow::open(choice, store, messages, nullptr, makeVirtualSoundBank), nullptr);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors.front(), QStringLiteral("路線ファイルに誤りがあります。[Station]:A,0\nline_test.dat:2"));

  // The program itself ends with a status that says so.
  // Under the sanitizers the child's leak check at exit is not what is looked at here.
  const std::string command = "ASAN_OPTIONS=detect_leaks=0 " + std::string(VESK_APP_PATH) + " --data " +
                              pack.path().string() + " --route " + test::kPackRoute + " --vehicle " +
                              test::kPackVehicle + " --exit-after 1 2>&1";
  const test::CommandRun run = test::runCommand(command);
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.out.find("路線ファイルに誤りがあります。[Station]:A,0"), std::string::npos) << run.out;
}

// The demonstration: the automatic driver takes the handles (from emergency to a service notch at once, as it
// readies the departure) until the driver presses a key; the run curve of the drive so far opens in a window and
// draws the automatic driver's drive of the service over it.
TEST_F(DrivingWindowTest, TheDemonstrationDrivesUntilAKeyAndTheRunCurveShows) {
  openDemo();
  const int brakes = read([](sim::Drive& d) { return d.vehicle.brakeNotches; });
  ASSERT_EQ(read([](sim::Drive& d) { return d.control.brakeHandle; }), -brakes);
  QAction* demonstration = child<QAction>("Demo1");
  ASSERT_NE(demonstration, nullptr);
  demonstration->trigger();
  EXPECT_TRUE(window->session().demonstration());
  ASSERT_TRUE(waitFor([&] {
    const int handle = read([](sim::Drive& d) { return d.control.brakeHandle; });
    return handle < 0 && handle > -brakes;
  })) << "the automatic driver brought the handle back from emergency";
  QTest::keyClick(window.get(), Qt::Key_0, Qt::NoModifier);
  EXPECT_FALSE(window->session().demonstration());
  EXPECT_FALSE(demonstration->isChecked());
  ASSERT_TRUE(waitFor([&] { return read([](sim::Drive& d) { return d.control.brakeHandle; }) == -brakes; }))
      << "the driver's key counts";
  QTest::qWait(300);
  EXPECT_EQ(read([](sim::Drive& d) { return d.control.brakeHandle; }), -brakes) << "and nobody else drives";
  EXPECT_GT(window->session().runRecord().samples().size(), 0u);
  child<QAction>("RunCurve1")->trigger();
  ASSERT_TRUE(waitFor([&] { return window->findChild<QDialog*>(QStringLiteral("RunCurve")) != nullptr; }));
  // The automatic driver's drive of the same service, drawn over this one.
  auto* dialog = window->findChild<QDialog*>(QStringLiteral("RunCurve"));
  auto* compare = dialog->findChild<QPushButton*>(QStringLiteral("CompareWithAutopilot"));
  auto* picture = dialog->findChild<QLabel*>(QStringLiteral("RunCurvePicture"));
  ASSERT_NE(compare, nullptr);
  ASSERT_NE(picture, nullptr);
  const QImage alone = picture->pixmap().toImage();
  compare->click();
  EXPECT_FALSE(compare->isEnabled());
  EXPECT_EQ(compare->text(), QStringLiteral("自動運転と比べる(&A)")) << compare->text().toStdString();
  EXPECT_NE(picture->pixmap().toImage(), alone);
}

// "SU再読込" in the value display reads the route file's "[SpeedUnit]" rows again and the drive uses them at once;
// a file whose table cannot be read leaves the table as it was and says so.
TEST_F(DrivingWindowTest, TheValueDisplayReadsTheSpeedTableAgain) {
  test::TempDir pack;
  for (const auto& entry : std::filesystem::directory_iterator(kPack)) {
    if (entry.path().filename() == "line_down_local.dat") continue;
    std::filesystem::create_symlink(entry.path(), pack.path() / entry.path().filename());
  }
  const auto routeFile = pack.path() / "line_down_local.dat";
  std::filesystem::copy_file(kPack / "line_down_local.dat", routeFile);
  openDemo(-1, pack.path());
  const auto [firstRow, rows, endBefore] = read([](sim::Drive& d) {
    return std::tuple(d.route.speedUnits[0], d.route.speedUnitCount, d.route.speedUnits[0].endDistance);
  });
  ASSERT_GT(rows, 0);

  // The first row's speeds become 7 km/h.
  std::ifstream in(routeFile, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  in.close();
  const std::string oldRow = std::to_string(firstRow.frameFrom) + "," + std::to_string(firstRow.frameTo) + ",";
  const std::size_t section = text.find("[SpeedUnit]");
  ASSERT_NE(section, std::string::npos);
  const std::size_t at = text.find(oldRow, section);
  ASSERT_NE(at, std::string::npos);
  const std::size_t lineEnd = text.find_first_of("\r\n", at);
  text.replace(at, lineEnd - at, oldRow + "7,7");
  std::ofstream(routeFile, std::ios::binary) << text;

  auto* reload = window->valueDisplay().findChild<QPushButton*>(QStringLiteral("Button1"));
  ASSERT_NE(reload, nullptr);
  ASSERT_TRUE(reload->isEnabled());
  reload->click();
  ASSERT_TRUE(waitFor([&] { return read([](sim::Drive& d) { return d.route.speedUnits[0].speedFrom == 7; }); }));
  EXPECT_EQ(read([](sim::Drive& d) { return d.route.speedUnitCount; }), rows);
  EXPECT_LT(read([](sim::Drive& d) { return d.route.speedUnits[0].endDistance; }), endBefore)
      << "the distances follow the new speeds";
  EXPECT_TRUE(window->statusBar()->currentMessage().contains(QStringLiteral("読み直しました")));

  // A damaged row: nothing changes.
  text.replace(text.find(oldRow + "7,7"), oldRow.size() + 3, oldRow + "x,7");
  std::ofstream(routeFile, std::ios::binary) << text;
  reload->click();
  EXPECT_TRUE(window->statusBar()->currentMessage().contains(QStringLiteral("読み直せませんでした")));
  settle();
  EXPECT_EQ(read([](sim::Drive& d) { return d.route.speedUnits[0].speedFrom; }), 7);
}

}  // namespace
}  // namespace vesk::app
