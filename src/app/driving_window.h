// DrivingWindow (`TForm1`): the window a drive runs in. The 800 x 850 drawing area `untendai` on the left (forward
// view and cab panel), the text readouts, the route's side pictures and the back button on the right, the menus
// above. It loads the drive in phases, runs the frame loop at the display's rate, turns keys, the wheel and
// menu commands into the drive's input, and on closing stops everything and writes the settings.
#pragma once

#include <QImage>
#include <QMainWindow>
#include <QTimer>

#include <array>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>

#include "app/drive_session.h"
#include "app/key_input.h"
#include "app/run_stats.h"
#include "app/settings_store.h"
#include "present/frame_composer.h"
#include "present/frame_loop.h"
#include "present/video_reader.h"

class QAction;
class QLabel;
class QMenu;

namespace vesk::devices {
class ControllerHub;
}
namespace vesk::auxwin {
class SimpleCabWindow;
class ValueDisplayWindow;
class HelpWindow;
}  // namespace vesk::auxwin

namespace vesk::app {

class ControllerMenu;
class DrawingArea;
class LoadingWindow;

// How the window tells the user something: a load failure (the program then ends) and a notice the drive goes
// on after (a video that cannot be opened).
struct WindowMessages {
  std::function<void(const QString& text)> error;
  std::function<void(const QString& text)> notice;
};

class DrivingWindow : public QMainWindow {
 public:
  // Loads the drive (each phase's text in `loading`, when given) and builds the window. On a data error shows
  // its message (with the file and line on a second line) and returns nullptr. `controllers`: the external
  // controllers, kept from one drive to the next by whoever opens drives (outlives the window); none: the window
  // has its own.
  static std::unique_ptr<DrivingWindow> open(const sim::DriveChoice& choice, const SettingsStore& store,
                                             const WindowMessages& messages, LoadingWindow* loading = nullptr,
                                             const SoundBankFactory& makeBank = makeSoundBank,
                                             devices::ControllerHub* controllers = nullptr);
  // The same, each phase's text given to `progress` (the title window's status line).
  static std::unique_ptr<DrivingWindow> openReporting(const sim::DriveChoice& choice, const SettingsStore& store,
                                                      const WindowMessages& messages,
                                                      const std::function<void(std::string_view)>& progress,
                                                      const SoundBankFactory& makeBank = makeSoundBank,
                                                      devices::ControllerHub* controllers = nullptr);
  ~DrivingWindow() override;

  // Starts the drive and the frame loop (the window shows running).
  void startDrive();

  // Called once at the first cycle of the frame loop, and once when the window closes, before the drive stops.
  void setFirstFrameHook(std::function<void()> hook) { firstFrameHook_ = std::move(hook); }
  void setClosingHook(std::function<void()> hook) { closingHook_ = std::move(hook); }

  DriveSession& session() { return *session_; }
  const sim::DriveChoice& choice() const { return choice_; }
  // What the drawing area shows, as a picture.
  QImage drawingArea() const;
  RunStats& stats() { return stats_; }
  std::int64_t framesShown() const { return framesShown_; }
  present::VideoReader& videoReader() { return reader_; }
  devices::ControllerHub& controllers() { return *controllers_; }
  auxwin::SimpleCabWindow& simpleCab() { return *simpleCab_; }
  auxwin::ValueDisplayWindow& valueDisplay() { return *valueDisplay_; }
  auxwin::HelpWindow& help() { return *help_; }

  // The menu commands.
  void start1Click();
  void movieclick();
  void BackClick();
  void StationClick(int k);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  using Clock = std::chrono::steady_clock;

  DrivingWindow(std::unique_ptr<DriveSession> session, const sim::DriveChoice& choice, const SettingsStore& store,
                const sim::Settings& settings, devices::ControllerHub* controllers);
  void buildChildren();
  void buildMenus(const sim::Settings& settings);
  QAction* addToggle(QMenu* menu, const char* name, const char* caption, bool checked,
                     std::function<void(sim::Drive&, bool)> apply);
  void setMoji(bool on, bool allLabels);
  void frameCycle();
  void scheduleFrame();
  void openVideo(const std::string& sideVideo);
  void showTexts(const sim::DriveSnapshot& shot);
  void showStandby();
  void paintDrawingArea(QPainter& p);
  void push(const std::vector<sim::InputEvent>& events);
  // A message for the driver that does not hold up the drive (the window stays modal to it until it is closed).
  void showMessage(const QString& text);
  // The external controllers and the windows beside this one (driving_aux.cpp).
  void buildAuxWindows(const sim::Settings& settings);
  // The value display's "SU再読込": the route file's "[SpeedUnit]" rows read again and put in place.
  void reloadSpeedUnits();
  void buildControllerMenu(QMenu* menu);
  void showAuxWindows(const sim::DriveSnapshot& shot);
  void setControllersRunning(bool running);
  void closeAuxWindows();

  std::unique_ptr<DriveSession> session_;
  sim::DriveChoice choice_;
  const SettingsStore& store_;
  std::unique_ptr<present::FrameComposer> composer_;
  present::FrameLoop loop_;
  present::VideoReader reader_;
  QImage frameBitmap_;  // the video picture on screen
  // What the drawing area shows: a frame equal to the one shown is not drawn again.
  struct ShownFrame {
    present::DrawnState drawn;
    QImage picture;  // the video picture, or the standby picture
    int fadeLevel = 0;
    bool standby = false;
    bool operator==(const ShownFrame& other) const {
      return drawn == other.drawn && picture.cacheKey() == other.picture.cacheKey() && fadeLevel == other.fadeLevel &&
             standby == other.standby;
    }
  };
  std::optional<ShownFrame> shown_;
  KeyInput keys_;
  RunStats stats_;

  DrawingArea* untendai_ = nullptr;
  QLabel* subDisp_ = nullptr;
  QLabel* stafOverlay_ = nullptr;
  std::array<QLabel*, 15> labels_{};
  QAction* start1_ = nullptr;
  QAction* demonstration_ = nullptr;

  QTimer frameTimer_;
  Clock::duration framePeriod_{};
  Clock::time_point nextFrame_{};
  Clock::time_point lastCycle_{};
  std::int64_t framesShown_ = 0;
  bool closed_ = false;
  std::function<void()> firstFrameHook_;
  std::function<void()> closingHook_;

  std::unique_ptr<devices::ControllerHub> ownControllers_;
  devices::ControllerHub* controllers_ = nullptr;
  ControllerMenu* controllerMenu_ = nullptr;
  auxwin::SimpleCabWindow* simpleCab_ = nullptr;
  auxwin::ValueDisplayWindow* valueDisplay_ = nullptr;
  auxwin::HelpWindow* help_ = nullptr;
  bool valueDisplayShown_ = false;  // as the drive had it at the last frame
};

}  // namespace vesk::app
