#include "auxwin/simple_cab_window.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

#include "auxwin/key_forwarder.h"
#include "sim/drive.h"

namespace vesk::auxwin {
namespace {

constexpr int kClientWidth = 241;
constexpr int kClientHeight = 376;
const QColor kWhite = Qt::white;
const QColor kRed = Qt::red;
const QColor kYellow = Qt::yellow;
const QColor kLime = QColor(0, 255, 0);

void addLabel(QWidget* parent, const char* text, int x, int y) {
  auto* label = new QLabel(QString::fromUtf8(text), parent);
  label->move(x, y);
}

}  // namespace

SimpleCabWindow::SimpleCabWindow(std::function<void(sim::InputEvent)> post, QWidget* parent)
    : QDialog(parent), post_(std::move(post)) {
  setObjectName(QStringLiteral("TForm6"));
  setWindowTitle(QStringLiteral("かんたん運転台"));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(kClientWidth, kClientHeight);

  // Brake lamps from the strongest (KB8, which this cab does not have) down to KB1.
  for (int k = 8; k >= 1; --k) {
    const std::string name = "KB" + std::to_string(k);
    QFrame* l = lamp(name.c_str(), 40 + (8 - k) * 16);
    brakeLamps_[static_cast<std::size_t>(k - 1)] = l;
  }
  brakeLamps_[7]->hide();
  coastLamp_ = lamp("KN", 176);
  for (int k = 1; k <= 5; ++k) {
    const std::string name = "KP" + std::to_string(k);
    powerLamps_[static_cast<std::size_t>(k - 1)] = lamp(name.c_str(), 200 + (k - 1) * 16);
  }
  addLabel(this, "ブレーキ", 24, 20);
  addLabel(this, "↑", 60, 40);
  addLabel(this, "惰行", 60, 174);
  addLabel(this, "（ニュートラル）", 60, 188);
  addLabel(this, "↓", 60, 264);
  addLabel(this, "加速", 24, 288);

  const auto typed = [this](char c) { return [this, c] { post_(sim::InputEvent::typed(c)); }; };
  button("Button1", "減速", QRect(144, 40, 75, 49), typed('2'));
  button("Button6", "ニュートラル", QRect(144, 96, 75, 25), typed('5'));
  button("Button2", "加速", QRect(144, 128, 75, 49), typed('8'));
  button("Button3", "ドア開閉", QRect(144, 232, 75, 25), typed('7'));
  // The announcement and rewind buttons are there but never enabled.
  button("Button4", "案内放送", QRect(144, 264, 75, 25), typed('1'))->setEnabled(false);
  button("Button5", "巻戻し", QRect(168, 292, 51, 25), typed('-'))->setEnabled(false);
  // The reverser button turns the reverser the other way: back from forward, forward from back, nothing at
  // neutral. The drive decides at the moment the click is applied.
  button("Button7", "逆転器", QRect(144, 324, 75, 25), [this] {
    post_(sim::InputEvent::call([](sim::Drive& d) {
      if (d.control.reverser == 1) {
        applyInput(d, sim::InputEvent::typed('b'));
      } else if (d.control.reverser == -1) {
        applyInput(d, sim::InputEvent::typed('f'));
      }
    }));
  });

  statusBar_ = new QStatusBar(this);
  statusBar_->setObjectName(QStringLiteral("StatusBar1"));
  statusBar_->setSizeGripEnabled(false);
  statusBar_->setGeometry(0, kClientHeight - 20, kClientWidth, 20);

  keys_ = new KeyForwarder(this);
  keys_->watch(this);
  refresh({});
}

void SimpleCabWindow::setKeyTarget(QWidget* target) { keys_->setTarget(target); }

QFrame* SimpleCabWindow::lamp(const char* name, int y) {
  auto* l = new QFrame(this);
  l->setObjectName(QString::fromLatin1(name));
  l->setGeometry(24, y, 30, 15);
  l->setFrameShape(QFrame::Box);
  l->setAutoFillBackground(true);
  return l;
}

QPushButton* SimpleCabWindow::button(const char* name, const char* caption, QRect geometry,
                                     std::function<void()> onClick) {
  auto* b = new QPushButton(QString::fromUtf8(caption), this);
  b->setObjectName(QString::fromLatin1(name));
  b->setGeometry(geometry);
  // Keys belong to the driving window: a button never takes the focus (the space bar answers the ATS).
  b->setFocusPolicy(Qt::NoFocus);
  connect(b, &QPushButton::clicked, this, std::move(onClick));
  return b;
}

void SimpleCabWindow::paint(QFrame* lamp, const QColor& colour) {
  QPalette p = lamp->palette();
  if (p.color(QPalette::Window) == colour) return;
  p.setColor(QPalette::Window, colour);
  lamp->setPalette(p);
}

void SimpleCabWindow::refresh(const sim::AuxWindowData& data) {
  for (std::size_t i = 0; i < brakeLamps_.size(); ++i) {
    const int k = static_cast<int>(i) + 1;
    paint(brakeLamps_[i], data.brakeHandle <= -k ? kRed : kWhite);
  }
  paint(coastLamp_, data.powerHandle == 0 && data.brakeHandle == 0 ? kLime : kWhite);
  for (std::size_t i = 0; i < powerLamps_.size(); ++i) {
    const int k = static_cast<int>(i) + 1;
    paint(powerLamps_[i], data.powerHandle >= k ? kYellow : kWhite);
  }
  const QString door = QString::fromStdString(data.doorStatusText);
  if (statusBar_->currentMessage() != door) statusBar_->showMessage(door);
}

QColor SimpleCabWindow::lampColour(const char* name) const {
  const auto* l = findChild<QFrame*>(QString::fromLatin1(name));
  return l != nullptr ? l->palette().color(QPalette::Window) : QColor();
}

}  // namespace vesk::auxwin
