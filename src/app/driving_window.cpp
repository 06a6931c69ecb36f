#include "app/driving_window.h"

#include "app/controller_menu.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QToolButton>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <mutex>

#include "app/drawing_area.h"
#include "app/loading_window.h"
#include "core/path_resolver.h"
#include "data/data_error.h"
#include "devices/controller_hub.h"
#include "media/video_source.h"

namespace vesk::app {
namespace {

const QString kInitialTitle = QStringLiteral("鉄道運転シミュレータ");
constexpr int kClientWidth = 1260;
constexpr int kClientHeight = 850;
// The frame loop never draws more often than this.
constexpr auto kMinFramePeriod = std::chrono::milliseconds(15);

QString text(const std::string& s) { return QString::fromStdString(s); }

std::optional<std::int32_t> firstMovieStop(const data::RouteData& route) {
  if (route.movieStopCount <= 0) return std::nullopt;
  return route.movieStops[0];
}

}  // namespace

std::unique_ptr<DrivingWindow> DrivingWindow::open(const sim::DriveChoice& choice, const SettingsStore& store,
                                                   const WindowMessages& messages, LoadingWindow* loading,
                                                   const SoundBankFactory& makeBank,
                                                   devices::ControllerHub* controllers) {
  return openReporting(
      choice, store, messages,
      [loading](std::string_view phase) {
        if (loading != nullptr) loading->phase(phase);
      },
      makeBank, controllers);
}

std::unique_ptr<DrivingWindow> DrivingWindow::openReporting(const sim::DriveChoice& choice, const SettingsStore& store,
                                                            const WindowMessages& messages,
                                                            const std::function<void(std::string_view)>& progress,
                                                            const SoundBankFactory& makeBank,
                                                            devices::ControllerHub* controllers) {
  RunStats::Clock::time_point started = RunStats::Clock::now();
  // Settings first: the drive starts with them.
  const sim::Settings settings = store.load();
  auto session = std::make_unique<DriveSession>(makeBank);
  sim::LoadServices services;
  services.progress = progress;
  services.notice = [&messages](std::string_view notice) {
    if (messages.notice) messages.notice(QString::fromUtf8(notice.data(), static_cast<qsizetype>(notice.size())));
  };
  services.videoFrameCount = media::videoFrameCount;
  try {
    session->load(choice, settings, services);
  } catch (const data::DataError& error) {
    QString report = text(error.message());
    if (!error.where().empty()) report += QStringLiteral("\n") + text(error.where());
    if (messages.error) messages.error(report);
    return nullptr;
  }
  std::unique_ptr<DrivingWindow> window(new DrivingWindow(std::move(session), choice, store, settings, controllers));
  window->stats_.loadStarted(started);
  return window;
}

DrivingWindow::DrivingWindow(std::unique_ptr<DriveSession> session, const sim::DriveChoice& choice,
                             const SettingsStore& store, const sim::Settings& settings,
                             devices::ControllerHub* controllers)
    : session_(std::move(session)), choice_(choice), store_(store), loop_(firstMovieStop(*session_->loaded().route)),
      controllers_(controllers) {
  setObjectName(QStringLiteral("TForm1"));
  setWindowTitle(kInitialTitle);
  const sim::LoadedDrive& loaded = session_->loaded();
  composer_ = std::make_unique<present::FrameComposer>(
      loaded.pictures.images,
      present::viewGeometryOf(loaded.strings, loaded.vehicle, choice.vehicleFileName, choice.routeFileName));
  buildChildren();
  buildAuxWindows(settings);
  buildMenus(settings);
  setMoji(settings.Moji != 0, true);
  // Placed at the top-left corner of the screen.
  if (const QScreen* s = screen()) move(s->availableGeometry().topLeft());

  frameTimer_.setSingleShot(true);
  frameTimer_.setTimerType(Qt::PreciseTimer);
  connect(&frameTimer_, &QTimer::timeout, this, [this] { frameCycle(); });
  const double rate = screen() != nullptr ? screen()->refreshRate() : 0.0;
  const double periodMs = rate >= 1 && rate <= 1000 ? 1000.0 / rate : 1000.0 / 60.0;
  framePeriod_ = std::max<Clock::duration>(
      std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double, std::milli>(periodMs)),
      kMinFramePeriod);
}

DrivingWindow::~DrivingWindow() {
  frameTimer_.stop();
  closeAuxWindows();
  // The controller menu lets go of the hub it is hooked to while the hub still stands (the window's own hub goes
  // with the members, before Qt deletes the menus).
  delete controllerMenu_;
  controllerMenu_ = nullptr;
  session_->stop();
}

void DrivingWindow::buildChildren() {
  const sim::LoadedDrive& loaded = session_->loaded();
  auto* client = new QWidget(this);
  client->setFixedSize(kClientWidth, kClientHeight);
  client->setAutoFillBackground(true);
  QPalette black = client->palette();
  black.setColor(QPalette::Window, Qt::black);
  black.setColor(QPalette::WindowText, Qt::white);
  client->setPalette(black);
  setCentralWidget(client);

  untendai_ = new DrawingArea(client);
  untendai_->move(0, 0);
  connect(untendai_, &DrawingArea::clicked, this, [this] { movieclick(); });
  untendai_->setPainter([this](QPainter& p) { paintDrawingArea(p); });

  // The route's secondary panel picture: shown in text mode.
  subDisp_ = new QLabel(client);
  subDisp_->setObjectName(QStringLiteral("sub_disp"));
  subDisp_->setGeometry(798, 497, 480, 360);
  subDisp_->setPixmap(QPixmap::fromImage(loaded.staf.subDisplay));
  subDisp_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  // The text readouts of text mode, one line each down the right side.
  QFont font;
  font.setFamilies({QStringLiteral("MS UI Gothic"), QStringLiteral("Noto Sans CJK JP")});
  font.setPixelSize(16);
  for (std::size_t i = 0; i < labels_.size(); ++i) {
    auto* label = new QLabel(client);
    label->setObjectName(QStringLiteral("Label%1").arg(i));
    label->setGeometry(812, 8 + 32 * static_cast<int>(i), 440, 30);
    label->setFont(font);
    labels_[i] = label;
  }

  // The route's overlay picture beside the view, its own size, transparent where its corner colour was.
  stafOverlay_ = new QLabel(client);
  stafOverlay_->setAttribute(Qt::WA_TranslucentBackground);
  stafOverlay_->setPixmap(QPixmap::fromImage(loaded.staf.overlay));
  stafOverlay_->move(loaded.strings.stafImageLeft, 0);
  stafOverlay_->adjustSize();
  stafOverlay_->setVisible(!loaded.staf.overlay.isNull());

  auto* back = new QToolButton(client);
  back->setObjectName(QStringLiteral("back"));
  back->setArrowType(Qt::LeftArrow);
  back->setGeometry(1232, 814, 20, 20);
  back->setFocusPolicy(Qt::NoFocus);
  connect(back, &QToolButton::clicked, this, [this] { BackClick(); });
  setFocusPolicy(Qt::StrongFocus);
}

void DrivingWindow::setMoji(bool on, bool allLabels) {
  for (std::size_t i = 0; i < labels_.size(); ++i) {
    // Switching text mode from the menu leaves the station notice and the one-man text off.
    const bool alwaysHidden = !allLabels && (i == 5 || i == 6);
    labels_[i]->setVisible(on && !alwaysHidden);
  }
  subDisp_->setVisible(on);
}

void DrivingWindow::startDrive() {
  session_->start();
  setControllersRunning(true);
  nextFrame_ = Clock::now();
  lastCycle_ = nextFrame_ - framePeriod_;
  frameTimer_.start(0);
}

QImage DrivingWindow::drawingArea() const { return untendai_->picture(); }

void DrivingWindow::paintDrawingArea(QPainter& p) {
  if (!shown_) {
    p.fillRect(untendai_->rect(), Qt::black);
  } else if (shown_->standby) {
    composer_->composeStandby(p, shown_->drawn, shown_->picture);
  } else {
    composer_->compose(p, shown_->drawn, shown_->picture, shown_->fadeLevel);
  }
}

void DrivingWindow::scheduleFrame() {
  const Clock::time_point now = Clock::now();
  // Absolute deadlines keep the display's rate on average; never sooner than 15 ms after the last cycle, and no
  // burst of frames to catch up after a stall.
  nextFrame_ += framePeriod_;
  nextFrame_ = std::max({nextFrame_, lastCycle_ + kMinFramePeriod, now});
  const double waitMs = std::chrono::duration<double, std::milli>(nextFrame_ - now).count();
  frameTimer_.start(static_cast<int>(std::ceil(waitMs)));
}

void DrivingWindow::openVideo(const std::string& sideVideo) {
  const sim::LoadedDrive& loaded = session_->loaded();
  std::optional<std::filesystem::path> path;
  if (sideVideo.empty()) {
    if (!loaded.videoPath.empty()) path = loaded.videoPath;
  } else {
    path = core::resolveDataFile(choice_.programDir, loaded.strings.videoDir + sideVideo + ".avi");
  }
  if (path && reader_.open(*path)) {
    loop_.videoOpened(reader_.frameCount());
  } else {
    reader_.close();
    loop_.videoOpened(0);
  }
}

void DrivingWindow::frameCycle() {
  const Clock::time_point cycleStart = Clock::now();
  lastCycle_ = cycleStart;
  if (!stats_.started()) {
    stats_.firstFrame(session_->virtualNowMs());
    if (firstFrameHook_) firstFrameHook_();
  }
  sim::Drive& drive = session_->drive();
  for (const std::string& command : drive.takeUiEvents()) {
    if (command == "BackClick") BackClick();
  }
  const sim::DriveSnapshot shot = drive.snapshot();
  if (const auto video = loop_.videoToOpen(shot)) openVideo(*video);
  const present::FramePlan plan = loop_.plan(shot, !session_->paused());
  if (plan.picture) {
    // Never waited for: until the reader has it, the picture before stays on screen.
    if (std::optional<QImage> picture = reader_.picture(*plan.picture, plan.direction)) {
      frameBitmap_ = std::move(*picture);
      loop_.pictureShown();
    }
  }
  if (plan.draw) {
    ShownFrame next{present::drawnState(shot, composer_->view()), frameBitmap_, plan.fadeLevel, false};
    // The picture on screen stays when nothing in it would change (the drive moves on every 33 ms).
    if (shown_ != next) {
      shown_ = std::move(next);
      untendai_->repaint();
      stats_.frameDrawn(std::chrono::duration<double, std::milli>(Clock::now() - cycleStart).count());
    }
    ++framesShown_;
    stats_.frameShown();
  }
  showTexts(shot);
  showAuxWindows(shot);
  if (plan.closeWindow) {
    close();
    return;
  }
  scheduleFrame();
}

void DrivingWindow::showTexts(const sim::DriveSnapshot& shot) {
  // The tick names the line in the title once the drive has run.
  if (shot.timeMs >= sim::Scheduler::kTickMs && windowTitle() == kInitialTitle) {
    setWindowTitle(text(session_->loaded().route->lineName));
  }
  subDisp_->setVisible(shot.settings.Moji != 0);
  if (shot.settings.Moji == 0) return;
  // The tick fills the labels while text mode is on (they keep their last texts while it is off).
  for (std::size_t i = 0; i < labels_.size(); ++i) labels_[i]->setText(text(shot.displays.labels[i]));
}

void DrivingWindow::showStandby() {
  shown_ = ShownFrame{present::drawnState(session_->drive().snapshot(), composer_->view()),
                      session_->loaded().staf.standby, 0, true};
  untendai_->update();
}

void DrivingWindow::push(const std::vector<sim::InputEvent>& events) {
  for (const sim::InputEvent& e : events) session_->push(e);
}

void DrivingWindow::keyPressEvent(QKeyEvent* event) {
  // A key of the driver ends the demonstration, and counts as the driver's own.
  if (session_->demonstration()) {
    session_->setDemonstration(false);
    if (demonstration_ != nullptr) demonstration_->setChecked(false);
  }
  push(keys_.pressed(event->key(), event->modifiers(), event->text(), event->isAutoRepeat()));
}

void DrivingWindow::keyReleaseEvent(QKeyEvent* event) {
  push(keys_.released(event->key(), event->modifiers(), event->isAutoRepeat()));
}

void DrivingWindow::wheelEvent(QWheelEvent* event) { push(keys_.wheel(event->angleDelta().y())); }

void DrivingWindow::changeEvent(QEvent* event) {
  // Coming back to the front while paused shows the route's standby picture.
  if (event->type() == QEvent::ActivationChange && isActiveWindow() && session_->paused() && !closed_) {
    showStandby();
  }
  QMainWindow::changeEvent(event);
}

void DrivingWindow::closeEvent(QCloseEvent* event) {
  if (!closed_) {
    closed_ = true;
    frameTimer_.stop();
    if (closingHook_) closingHook_();
    closeAuxWindows();
    // The simulation thread stops, every sound is silenced and its wave let go, the video closes.
    session_->stop();
    reader_.close();
    sim::Settings settings;
    {
      std::lock_guard lock(session_->drive().mutex());
      settings = session_->drive().settings;
    }
    store_.store(settings);
  }
  event->accept();
}

void DrivingWindow::start1Click() {
  if (session_->paused()) {
    session_->resume();
    start1_->setText(QStringLiteral("一時停止(&S)"));
    stats_.resumed();
  } else {
    session_->pause();
    start1_->setText(QStringLiteral("運転再開(&S)"));
    stats_.paused();
  }
  session_->push(sim::InputEvent::call([](sim::Drive& d) { d.control.inputLocked = 0; }));
  setControllersRunning(!session_->paused());
  loop_.invalidate();
}

void DrivingWindow::movieclick() {
  if (session_->paused()) start1Click();
}

void DrivingWindow::BackClick() { loop_.startFade(); }

void DrivingWindow::StationClick(int k) {
  session_->push(sim::InputEvent::call([k](sim::Drive& d) { d.StationClick(k); }));
  setWindowTitle(text(session_->loaded().route->lineName));
  loop_.invalidate();
}

}  // namespace vesk::app
