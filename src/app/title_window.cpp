#include "app/title_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <cmath>

#include "core/path_resolver.h"
#include "devices/controller_hub.h"
#include "media/picture_loader.h"

namespace vesk::app {

// A picture that answers a left click (with the keys held) and a right press.
class TitlePicture : public QLabel {
 public:
  explicit TitlePicture(QWidget* parent) : QLabel(parent) {}
  std::function<void(Qt::KeyboardModifiers)> leftClick;
  std::function<void()> rightPress;

 protected:
  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() == Qt::RightButton && rightPress) rightPress();
    QLabel::mousePressEvent(event);
  }
  void mouseReleaseEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && leftClick) {
      leftClick(event->modifiers());
    }
    QLabel::mouseReleaseEvent(event);
  }
};

namespace {

const QString kApplicationTitle = QStringLiteral("鉄道運転シミュレータ");
constexpr int kPictureWidth = 800;
constexpr int kPictureHeight = 600;
constexpr int kMovieWidth = 640;
constexpr int kMovieHeight = 360;
constexpr int kStatusLineHeight = 18;
constexpr int kTickMs = 100;

constexpr std::array<QPoint, kLineCount> kLinePlaces = {
    {{50, 180}, {50, 245}, {50, 320}, {385, 180}, {385, 245}, {385, 320}}};
constexpr std::array<QPoint, kTrainCount> kTrainPlaces = {{{370, 430}, {370, 475}, {370, 520}}};

std::string twoDigits(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

// A caption drawn as a picture, for the prompt and the cursor (the pack has no files for them) and for a line or
// train picture the pack lacks.
QPixmap captionPicture(const QString& text, int pixelSize, QColor colour, QColor background) {
  QFont font = QApplication::font();
  font.setPixelSize(pixelSize);
  font.setBold(true);
  const QFontMetrics metrics(font);
  const QSize size(metrics.horizontalAdvance(text) + 16, metrics.height() + 8);
  QPixmap pixmap(size);
  pixmap.fill(background);
  QPainter p(&pixmap);
  p.setFont(font);
  p.setPen(colour);
  p.drawText(QRect(QPoint(0, 0), size), Qt::AlignCenter, text);
  return pixmap;
}

QPushButton* titleButton(QWidget* parent, const char* name, const QString& caption, QPoint place) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setGeometry(place.x(), place.y(), 52, 24);
  button->setFocusPolicy(Qt::NoFocus);
  button->setCursor(Qt::PointingHandCursor);
  // Light on the dark pictures, like the rest of the title.
  button->setStyleSheet(QStringLiteral("QPushButton { color: white; background: rgba(0, 0, 0, 140); border: 1px "
                                       "solid rgba(255, 255, 255, 160); border-radius: 3px; }"
                                       "QPushButton:hover { background: rgba(40, 90, 120, 200); }"));
  return button;
}

}  // namespace

std::unique_ptr<TitleWindow> TitleWindow::open(const std::filesystem::path& programDir, const SettingsStore& store,
                                               TitleServices services) {
  if (!core::resolveDataFile(programDir, "velmarix.dat")) {
    const QString text = QStringLiteral("実行ファイルが正しい場所に配置されていません") + QStringLiteral("\n") +
                         QString::fromStdString((programDir / "velmarix.dat").string());
    if (services.messages.error) services.messages.error(text);
    return nullptr;
  }
  return std::unique_ptr<TitleWindow>(new TitleWindow(programDir, store, std::move(services)));
}

TitleWindow::TitleWindow(std::filesystem::path programDir, const SettingsStore& store, TitleServices services)
    : programDir_(std::move(programDir)), store_(store), services_(std::move(services)) {
  setObjectName(QStringLiteral("TForm5"));
  setWindowTitle(kApplicationTitle);
  setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  setAutoFillBackground(true);
  QPalette black = palette();
  black.setColor(QPalette::Window, Qt::black);
  setPalette(black);
  setFocusPolicy(Qt::StrongFocus);
  buildChildren();

  timer1_ = new QTimer(this);
  timer1_->setInterval(kTickMs);
  connect(timer1_, &QTimer::timeout, this, [this] { Timer1Timer(); });

  // One of the six title pictures, each as likely.
  titlePictureName_ = "image\\title\\title" + twoDigits(1 + QRandomGenerator::global()->bounded(6)) + ".jpg";
  titlePicture_ = picture(titlePictureName_);
  menuPicture_ = picture("image\\title\\title2.jpg");

  // The opening: the movie area fills the window; the menu, HELP and quit wait.
  setClientSize(kMovieWidth, kMovieHeight);
  if (const QScreen* s = screen()) {
    const QRect area = s->availableGeometry();
    // Where the opening has always stood, but never off the screen.
    const int left = static_cast<int>(std::lround((area.width() - 1000) / 2.0));
    const int top = static_cast<int>(std::lround((area.height() - 666) / 2.0));
    move(area.left() + std::clamp(left, 0, std::max(0, area.width() - kMovieWidth)),
         area.top() + std::clamp(top, 0, std::max(0, area.height() - kMovieHeight)));
  }
  for (TitlePicture* line : lines_) line->hide();
  help_->hide();
  quit_->hide();
}

TitleWindow::~TitleWindow() {
  releaseDrive();
  player_.reset();
}

std::filesystem::path TitleWindow::dataFile(std::string_view name) const {
  return core::resolveDataFile(programDir_, name).value_or(std::filesystem::path{});
}

QImage TitleWindow::picture(const std::string& name) {
  const std::filesystem::path path = dataFile(name);
  std::optional<QImage> image = path.empty() ? std::nullopt : media::loadPicture(path);
  if (!image) {
    missingPictures_ += name + "が見つかりません\n";
    return {};
  }
  return *image;
}

void TitleWindow::buildChildren() {
  image1_ = new TitlePicture(this);
  image1_->setObjectName(QStringLiteral("Image1"));
  image1_->setGeometry(0, 0, kPictureWidth, kPictureHeight);
  image1_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  image1_->leftClick = [this](Qt::KeyboardModifiers) { Imageclick(); };

  movieArea_ = new TitlePicture(this);
  movieArea_->setObjectName(QStringLiteral("DXDraw1"));
  movieArea_->setGeometry(0, 0, kMovieWidth, kMovieHeight);
  movieArea_->setAlignment(Qt::AlignCenter);
  movieArea_->setAutoFillBackground(true);
  movieArea_->leftClick = [this](Qt::KeyboardModifiers) { Imageclick(); };

  cts_ = new TitlePicture(this);
  cts_->setObjectName(QStringLiteral("cts"));
  cts_->setPixmap(captionPicture(QStringLiteral("CLICK TO START"), 18, Qt::white, QColor(0, 0, 0, 0)));
  cts_->setAttribute(Qt::WA_TranslucentBackground);
  cts_->move(320, 540);
  cts_->adjustSize();
  cts_->leftClick = [this](Qt::KeyboardModifiers) { Imageclick(); };
  cts_->hide();

  for (int k = 0; k < kLineCount; ++k) {
    const std::string name = "line" + twoDigits(k + 1);
    auto* line = new TitlePicture(this);
    line->setObjectName(QStringLiteral("line%1").arg(k + 1));
    const QImage image = picture("image\\title\\" + name + ".bmp");
    line->setPixmap(image.isNull() ? captionPicture(QString::fromStdString(routeForLine(k, false)), 16, Qt::white,
                                                    QColor(0x20, 0x40, 0x60))
                                   : QPixmap::fromImage(image));
    line->move(kLinePlaces[static_cast<std::size_t>(k)]);
    line->adjustSize();
    line->setCursor(Qt::PointingHandCursor);
    line->leftClick = [this, k](Qt::KeyboardModifiers keys) {
      // Shift held at the click chooses the variant even when the window never saw the key go down.
      if (keys == Qt::ShiftModifier) variantKey_ = true;
      lineclick(k);
    };
    line->rightPress = [this, k] { Menumousedown(k, -1); };
    lines_[static_cast<std::size_t>(k)] = line;
  }
  for (int k = 0; k < kTrainCount; ++k) {
    auto* train = new TitlePicture(this);
    train->setObjectName(QStringLiteral("train%1").arg(k + 1));
    const QImage image = picture("image\\title\\train" + twoDigits(k + 1) + ".bmp");
    train->setPixmap(image.isNull() ? captionPicture(QString::fromStdString(vehicleForTrain(k, "line_d")), 16,
                                                     Qt::white, QColor(0x40, 0x40, 0x40))
                                    : QPixmap::fromImage(image));
    train->move(kTrainPlaces[static_cast<std::size_t>(k)]);
    train->adjustSize();
    train->setCursor(Qt::PointingHandCursor);
    train->leftClick = [this, k](Qt::KeyboardModifiers) { Trainclick(k); };
    train->rightPress = [this, k] { Menumousedown(-1, k); };
    train->hide();
    trains_[static_cast<std::size_t>(k)] = train;
  }

  map01_ = new QLabel(this);
  map01_->setObjectName(QStringLiteral("map01"));
  map01_->move(170, 470);
  map01_->hide();

  cursor_ = new QLabel(this);
  cursor_->setObjectName(QStringLiteral("cursor"));
  cursor_->setPixmap(captionPicture(QStringLiteral("▶"), 18, QColor(0xFF, 0xA8, 0x20), QColor(0, 0, 0, 0)));
  cursor_->setAttribute(Qt::WA_TranslucentBackground);
  cursor_->adjustSize();
  cursor_->hide();

  help_ = titleButton(this, "HELP", QStringLiteral("HELP"), {683, 571});
  connect(help_, &QPushButton::clicked, this, [this] { helpclick(); });
  back_ = titleButton(this, "back", QStringLiteral("戻る"), {739, 571});
  connect(back_, &QPushButton::clicked, this, [this] { backclick(); });
  back_->hide();
  quit_ = titleButton(this, "quit", QStringLiteral("終了"), {11, 571});
  connect(quit_, &QPushButton::clicked, this, [this] { quitClick(); });

  label1_ = new QLabel(this);
  label1_->setObjectName(QStringLiteral("Label1"));
  label1_->setGeometry(0, kPictureHeight, kPictureWidth, kStatusLineHeight);
  QPalette grey = label1_->palette();
  grey.setColor(QPalette::WindowText, Qt::white);
  label1_->setPalette(grey);
  label1_->hide();

  player_ = std::make_unique<TitlePlayer>(movieArea_, services_.makeBank);
  player_->onMovieEnd([this](bool failed) { movieEnded(failed); });
  movieArea_->raise();
}

void TitleWindow::start() {
  reportMissingPictures();
  menuTicks_ = 0;
  titleState_ = TitleState::Opening;
  timer1_->start();
  if (const std::filesystem::path movie = dataFile("move\\opening.avi"); !movie.empty()) {
    movieOpened_ = player_->playMovie(movie);
    if (!movieOpened_ && services_.messages.notice) {
      services_.messages.notice(QStringLiteral("オープニングムービーを開けません"));
    }
  }
}

void TitleWindow::reportMissingPictures() {
  if (missingPictures_.empty() || !services_.messages.notice) return;
  QString text = QString::fromStdString(missingPictures_).trimmed();
  missingPictures_.clear();
  services_.messages.notice(text);
}

bool TitleWindow::timerRunning() const { return timer1_->isActive(); }

QString TitleWindow::statusText() const { return label1_->text(); }

void TitleWindow::showPicture(const QImage& image) {
  image1_->setPixmap(QPixmap::fromImage(image));
  image1_->resize(image.isNull() ? QSize(kPictureWidth, kPictureHeight) : image.size());
}

void TitleWindow::setClientSize(int width, int height) {
  setFixedSize(width, height);
  label1_->setVisible(height == kPictureHeight + kStatusLineHeight);
}

void TitleWindow::placeCentred() {
  if (const QScreen* s = screen()) {
    const QRect area = s->availableGeometry();
    move(area.left() + std::max(0, (area.width() - width()) / 2),
         area.top() + std::max(0, (area.height() - height()) / 2));
  }
}

void TitleWindow::Timer1Timer() {
  switch (titleState_) {
  case TitleState::Opening:
    ++titleTicks_;
    if (!movieArea_->isHidden()) {
      if (titleTicks_ >= kOpeningTicks) {
        Imageclick();
      } else if (!movieOpened_) {
        player_->playSound(dataFile("sound\\28803.wav"), "sound\\28803.wav");
        Imageclick();
      }
    }
    break;
  case TitleState::Picture:
    break;
  case TitleState::Menu: {
    ++menuTicks_;
    quit_->hide();
    map01_->show();
    const MenuReveal reveal = menuRevealAfter(menuTicks_);
    for (int k = 0; k < kLineCount; ++k) {
      if (reveal.lines[static_cast<std::size_t>(k)]) lines_[static_cast<std::size_t>(k)]->show();
    }
    if (reveal.help) help_->show();
    if (reveal.back) back_->show();
    if (reveal.finished) timer1_->stop();
    break;
  }
  }
}

void TitleWindow::movieEnded(bool failed) {
  movieOpened_ = false;
  if (failed) {
    // The opening cannot go on: its message, then the jingle and the title picture at the next tick.
    if (services_.messages.notice) services_.messages.notice(QStringLiteral("オープニングムービーを開けません"));
    return;
  }
  // The movie over, the title picture follows without waiting for the rest of the opening's time.
  if (titleState_ == TitleState::Opening && !movieArea_->isHidden()) Imageclick();
}

void TitleWindow::Imageclick() {
  switch (titleState_) {
  case TitleState::Opening:
    movieArea_->hide();
    // The movie's pictures are not shown any more; no need to decode them.
    if (player_->moviePlaying()) player_->stopAndClose();
    setClientSize(kPictureWidth, kPictureHeight);
    placeCentred();
    titleState_ = TitleState::Picture;
    cts_->show();
    // quit is offered from the first title picture on, so that the borderless window can always be left.
    quit_->show();
    showPicture(titlePicture_);
    break;
  case TitleState::Picture:
    titleState_ = TitleState::Menu;
    timer1_->start();
    showPicture(menuPicture_);
    quit_->hide();
    cts_->hide();
    if (!menuPicture_.isNull()) setClientSize(menuPicture_.width(), menuPicture_.height());
    break;
  case TitleState::Menu:
    break;
  }
}

void TitleWindow::lineclick(int line) {
  if (line < 0 || line >= kLineCount) return;
  pointAt(lines_[static_cast<std::size_t>(line)], line);
}

void TitleWindow::Menumousedown(int line, int train) {
  const QLabel* picture = nullptr;
  if (line >= 0 && line < kLineCount) {
    picture = lines_[static_cast<std::size_t>(line)];
  } else if (train >= 0 && train < kTrainCount) {
    picture = trains_[static_cast<std::size_t>(train)];
    line = -1;
  } else {
    return;
  }
  const QString caption = QStringLiteral("この路線を任意の列車で運転することができます");
  const QString filter = QStringLiteral("列車データファイル (*.dat)");
  const QString chosen = services_.pickFile
                             ? services_.pickFile(this, caption, QString::fromStdString(programDir_.string()), filter)
                             : QString();
  if (chosen.isEmpty()) return;
  const std::filesystem::path path = chosen.toStdString();
  customVehicleDir_ = path.parent_path();
  customVehicleName_ = path.filename().string();
  pointAt(picture, line);
}

// The cursor beside the picture clicked; the trains of a line picture (none for a train picture).
void TitleWindow::pointAt(const QLabel* picture, int line) {
  const QPoint place = picture->pos();
  cursor_->move(place.x() - 35, place.y() + (place.y() < 200 ? 20 : 0));
  cursor_->show();
  cursor_->raise();
  for (TitlePicture* t : trains_) t->hide();
  if (line < 0) return;
  routeFileName_ = routeForLine(line, variantKey_);
  const std::array<bool, kTrainCount> offered = trainsForLine(line, variantKey_);
  for (std::size_t k = 0; k < offered.size(); ++k) trains_[k]->setVisible(offered[k]);
}

void TitleWindow::Trainclick(int train) {
  sim::DriveChoice choice;
  choice.programDir = programDir_;
  choice.routeFileName = routeFileName_;
  if (!customVehicleName_.empty()) {
    choice.vehicleFileName = customVehicleName_;
    choice.vehicleDir = customVehicleDir_;
  } else {
    choice.vehicleFileName = vehicleForTrain(train, routeFileName_);
  }
  customVehicleName_.clear();
  customVehicleDir_.clear();

  player_->stopAndClose();
  player_->playSound(dataFile("sound\\start.wav"), "sound\\start.wav");
  setClientSize(width(), kPictureHeight + kStatusLineHeight);
  phase("Formを作成しています");

  if (!controllers_) controllers_ = std::make_unique<devices::ControllerHub>();
  try {
    drivingWindow_ = DrivingWindow::openReporting(
        choice, store_, services_.messages, [this](std::string_view text) { phase(text); }, services_.makeBank,
        controllers_.get());
  } catch (const std::exception& e) {
    // Not a data error (those show their own message): say what went wrong and stay on the title.
    if (services_.messages.error) services_.messages.error(QString::fromUtf8(e.what()));
    drivingWindow_.reset();
  }
  if (!drivingWindow_) {
    driveClosed();
    return;
  }
  hide();
  drivingWindow_->installEventFilter(this);
  drivingWindow_->show();
  drivingWindow_->startDrive();
}

bool TitleWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Close && drivingWindow_ && watched == drivingWindow_.get()) {
    // The window's own close handler runs after this: come back once it is done.
    QTimer::singleShot(0, this, [this] {
      if (drivingWindow_ && !drivingWindow_->isVisible()) driveClosed();
    });
  }
  return QWidget::eventFilter(watched, event);
}

void TitleWindow::driveClosed() {
  if (drivingWindow_) {
    drivingWindow_->removeEventFilter(this);
    drivingWindow_.reset();
  }
  setClientSize(width(), kPictureHeight);
  label1_->clear();
  variantKey_ = false;
  show();
  activateWindow();
}

void TitleWindow::phase(std::string_view text) {
  label1_->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  // Loading runs on this thread: show the phase before it starts.
  label1_->repaint();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TitleWindow::backclick() {
  titleState_ = TitleState::Picture;
  showPicture(titlePicture_);
  for (TitlePicture* line : lines_) line->hide();
  for (TitlePicture* train : trains_) train->hide();
  help_->hide();
  cursor_->hide();
  back_->hide();
  cts_->show();
  quit_->show();
  map01_->hide();
}

void TitleWindow::helpclick() {
  const std::filesystem::path readme = dataFile("readme.html");
  const bool opened = !readme.empty() && services_.openDocument && services_.openDocument(readme);
  if (!opened && services_.messages.notice) {
    services_.messages.notice(QString::fromStdString((programDir_ / "readme.html").string()) +
                              QStringLiteral("を開けません"));
  }
}

void TitleWindow::quitClick() {
  releaseDrive();
  close();
}

void TitleWindow::releaseDrive() {
  if (!drivingWindow_) return;
  // Closed first, so that it stops and keeps its settings; no return to the title from here.
  drivingWindow_->removeEventFilter(this);
  drivingWindow_->close();
  drivingWindow_.reset();
}

void TitleWindow::keyPressEvent(QKeyEvent* event) {
  if (event->modifiers() == Qt::ShiftModifier) variantKey_ = true;
  QWidget::keyPressEvent(event);
}

void TitleWindow::keyReleaseEvent(QKeyEvent* event) {
  if (!event->isAutoRepeat()) variantKey_ = false;
  QWidget::keyReleaseEvent(event);
}

void TitleWindow::closeEvent(QCloseEvent* event) {
  timer1_->stop();
  player_->stopAndClose();
  releaseDrive();
  event->accept();
  if (services_.closed) services_.closed();
}

}  // namespace vesk::app
