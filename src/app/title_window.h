// TitleWindow (`TForm5`): the borderless window the program starts on. It plays the opening movie (or the
// jingle), shows a title picture, then reveals the menu of six services and up to three trains one item a tick.
// Choosing a train loads the drive (the phase being loaded in the status line), hides the title and shows the
// driving window; when that closes the title comes back in the state it was left in.
#pragma once

#include <QWidget>

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "app/driving_window.h"
#include "app/settings_store.h"
#include "app/sound_bank_factory.h"
#include "app/title_menu.h"
#include "app/title_player.h"

class QLabel;
class QPushButton;
class QTimer;

namespace vesk::app {

class TitlePicture;

// What the title asks of the desktop; tests replace each.
struct TitleServices {
  SoundBankFactory makeBank = makeSoundBank;  // the title's sounds and each drive's bank
  // The open dialog for a vehicle file of one's own; an empty result means cancelled.
  std::function<QString(QWidget* parent, const QString& caption, const QString& folder, const QString& filter)>
      pickFile;
  // Opens a document in the desktop's viewer; false when none could.
  std::function<bool(const std::filesystem::path& document)> openDocument;
  WindowMessages messages;
  std::function<void()> closed;  // the title window has closed: the program ends
};

class TitleWindow : public QWidget {
 public:
  // Builds the title on the data folder. Without "velmarix.dat" there shows its message and returns nullptr.
  static std::unique_ptr<TitleWindow> open(const std::filesystem::path& programDir, const SettingsStore& store,
                                           TitleServices services);
  ~TitleWindow() override;

  // The controllers of the drives; none before the first drive.
  devices::ControllerHub* controllers() const { return controllers_.get(); }

  // Starts the opening: the movie when the folder has one, and the 100 ms timer.
  void start();

  // The window's handlers.
  void Timer1Timer();
  void Imageclick();
  void lineclick(int line);
  // A right click on line picture `line` (0..5) or, with `line` -1, on train picture `train`.
  void Menumousedown(int line, int train);
  void Trainclick(int train);
  void backclick();
  void helpclick();
  void quitClick();

  TitleState titleState() const { return titleState_; }
  int titleTicks() const { return titleTicks_; }
  int menuTicks() const { return menuTicks_; }
  bool variantKey() const { return variantKey_; }
  bool timerRunning() const;
  const std::string& routeFileName() const { return routeFileName_; }
  const std::string& titlePictureName() const { return titlePictureName_; }
  DrivingWindow* drivingWindow() { return drivingWindow_.get(); }
  TitlePlayer& player() { return *player_; }
  QString statusText() const;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  TitleWindow(std::filesystem::path programDir, const SettingsStore& store, TitleServices services);
  void buildChildren();
  std::filesystem::path dataFile(std::string_view name) const;
  QImage picture(const std::string& name);
  void showPicture(const QImage& image);
  void setClientSize(int width, int height);
  void placeCentred();
  void setStatusLine(bool shown);
  void phase(std::string_view text);
  void pointAt(const QLabel* picture, int line);
  void driveClosed();
  void releaseDrive();
  void movieEnded(bool failed);
  void reportMissingPictures();

  std::filesystem::path programDir_;
  const SettingsStore& store_;
  TitleServices services_;

  TitleState titleState_ = TitleState::Opening;
  int titleTicks_ = 0;
  int menuTicks_ = 0;
  bool variantKey_ = false;
  bool movieOpened_ = false;
  std::string routeFileName_;
  std::string customVehicleName_;
  std::filesystem::path customVehicleDir_;
  std::string titlePictureName_;
  QImage titlePicture_;
  QImage menuPicture_;
  std::string missingPictures_;

  QTimer* timer1_ = nullptr;
  TitlePicture* image1_ = nullptr;
  TitlePicture* movieArea_ = nullptr;
  TitlePicture* cts_ = nullptr;
  std::array<TitlePicture*, kLineCount> lines_{};
  std::array<TitlePicture*, kTrainCount> trains_{};
  QLabel* map01_ = nullptr;
  QLabel* cursor_ = nullptr;
  QPushButton* help_ = nullptr;
  QPushButton* back_ = nullptr;
  QPushButton* quit_ = nullptr;
  QLabel* label1_ = nullptr;
  std::unique_ptr<TitlePlayer> player_;
  // The external controllers live as long as the program: the chosen controller carries over from one drive to
  // the next. Made with the first drive; declared before the window, which uses it, so that it outlives it.
  std::unique_ptr<devices::ControllerHub> controllers_;
  std::unique_ptr<DrivingWindow> drivingWindow_;
};

}  // namespace vesk::app
