#include "auxwin/value_display_window.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

#include "auxwin/key_forwarder.h"
#include "sim/drive.h"

namespace vesk::auxwin {
namespace {

constexpr int kGridSize = 10;
constexpr int kCellWidth = 30;
constexpr int kCellHeight = 10;
const QColor kPlaying = Qt::cyan;
constexpr int kReadoutColumns = 2;
constexpr int kReadoutWidth = 230;
constexpr int kReadoutHeight = 18;

}  // namespace

void AcceptingLineEdit::keyPressEvent(QKeyEvent* event) {
  QLineEdit::keyPressEvent(event);
  event->accept();
}

void AcceptingLineEdit::keyReleaseEvent(QKeyEvent* event) {
  QLineEdit::keyReleaseEvent(event);
  event->accept();
}

ValueDisplayWindow::ValueDisplayWindow(std::function<void(sim::InputEvent)> post,
                                       std::function<void(const QString&)> error, QWidget* parent)
    : QDialog(parent), post_(std::move(post)), error_(std::move(error)) {
  setObjectName(QStringLiteral("TForm3"));
  setWindowTitle(QStringLiteral("Value Display"));
  resize(762, 369);

  grid_ = new QTableWidget(kGridSize, kGridSize, this);
  grid_->setObjectName(QStringLiteral("StringGrid1"));
  grid_->horizontalHeader()->hide();
  grid_->verticalHeader()->hide();
  grid_->horizontalHeader()->setMinimumSectionSize(kCellWidth);
  grid_->verticalHeader()->setMinimumSectionSize(kCellHeight);
  for (int i = 0; i < kGridSize; ++i) {
    grid_->setColumnWidth(i, kCellWidth);
    grid_->setRowHeight(i, kCellHeight);
    for (int j = 0; j < kGridSize; ++j) {
      auto* cell = new QTableWidgetItem;
      cell->setFlags(Qt::ItemIsEnabled);
      QFont small = cell->font();
      small.setPixelSize(8);
      cell->setFont(small);
      grid_->setItem(i, j, cell);
    }
  }
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setGeometry(470, 8, kGridSize * kCellWidth + 4, kGridSize * kCellHeight + 4);
  grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  connect(grid_, &QTableWidget::cellClicked, this, [this](int row, int column) { gridCellClick(row, column); });

  // Re-reading the route's "[SpeedUnit]" during a drive is not offered.
  reload_ = new QPushButton(QStringLiteral("SU再読込"), this);
  reload_->setObjectName(QStringLiteral("Button1"));
  reload_->setGeometry(470, 130, 90, 25);
  reload_->setEnabled(false);
  connect(reload_, &QPushButton::clicked, this, [this] {
    if (reloadSpeedUnits_) reloadSpeedUnits_();
  });

  jumpFrame_ = new AcceptingLineEdit(this);
  jumpFrame_->setObjectName(QStringLiteral("Edit1"));
  jumpFrame_->setGeometry(470, 165, 90, 25);
  auto* jump = new QPushButton(QStringLiteral("jump"), this);
  jump->setObjectName(QStringLiteral("Button2"));
  jump->setGeometry(570, 165, 60, 25);
  connect(jump, &QPushButton::clicked, this, [this] { jumpClick(); });

  resistance_ = new QPushButton(QStringLiteral("抵抗解除"), this);
  resistance_->setObjectName(QStringLiteral("Button3"));
  resistance_->setGeometry(470, 200, 90, 25);
  connect(resistance_, &QPushButton::clicked, this, [this] { resistanceClick(); });
  for (QPushButton* b : {reload_, jump, resistance_}) b->setFocusPolicy(Qt::NoFocus);

  keys_ = new KeyForwarder(this);
  keys_->watch(this);
}

void ValueDisplayWindow::setKeyTarget(QWidget* target) { keys_->setTarget(target); }

QLabel* ValueDisplayWindow::readoutLabel(const std::string& name) {
  if (auto found = readouts_.find(name); found != readouts_.end()) return found->second;
  // Laid out in the order they first come, two columns down the left.
  const int index = static_cast<int>(readouts_.size());
  auto* label = new QLabel(this);
  label->setObjectName(QString::fromStdString(name));
  label->setGeometry(8 + (index % kReadoutColumns) * kReadoutWidth, 8 + (index / kReadoutColumns) * kReadoutHeight,
                     kReadoutWidth - 8, kReadoutHeight);
  label->show();
  readouts_.emplace(name, label);
  return label;
}

void ValueDisplayWindow::refresh(const sim::AuxWindowData& data) {
  const QString title =
      data.valueDisplayTitle.empty() ? QStringLiteral("Value Display") : QString::fromStdString(data.valueDisplayTitle);
  if (windowTitle() != title) setWindowTitle(title);
  for (const auto& [name, text] : data.readouts) {
    QLabel* label = readoutLabel(name);
    const QString shown = QString::fromStdString(text);
    if (label->text() != shown) label->setText(shown);
  }
  for (int channel = 0; channel < sim::AuxWindowData::kGridChannels; ++channel) {
    const media::SoundBank::ChannelStatus& c = data.channels[static_cast<std::size_t>(channel)];
    QTableWidgetItem* cell = grid_->item(channel / kGridSize, channel % kGridSize);
    // Playing: light blue with the volume; holding a silent wave: the window colour; empty: nothing.
    const QString text = c.holdsWave && c.playing ? QString::number(c.volume) : QString();
    const QBrush fill = c.holdsWave && c.playing ? QBrush(kPlaying) : QBrush();
    if (cell->text() != text) cell->setText(text);
    if (cell->background() != fill) cell->setBackground(fill);
  }
  QFont font = resistance_->font();
  if (font.bold() != data.resistanceOff) {
    font.setBold(data.resistanceOff);
    resistance_->setFont(font);
  }
}

void ValueDisplayWindow::onReloadSpeedUnits(std::function<void()> reload) {
  reloadSpeedUnits_ = std::move(reload);
  reload_->setEnabled(static_cast<bool>(reloadSpeedUnits_));
}

void ValueDisplayWindow::jumpClick() {
  bool ok = false;
  const QString text = jumpFrame_->text().trimmed();
  const int frame = text.toInt(&ok);
  if (!ok) {
    if (error_) error_(QStringLiteral("'%1' is not a valid integer value.").arg(jumpFrame_->text()));
    return;
  }
  post_(sim::InputEvent::call([frame](sim::Drive& d) { d.state.frame = frame; }));
}

void ValueDisplayWindow::resistanceClick() {
  // Once used, the vigilance device stays off for the drive (the tick sees to it).
  post_(sim::InputEvent::call([](sim::Drive& d) { d.control.resistanceOff = d.control.resistanceOff == 0 ? 1 : 0; }));
}

void ValueDisplayWindow::gridCellClick(int row, int column) {
  const int channel = row * kGridSize + column;
  post_(sim::InputEvent::call([channel](sim::Drive& d) { d.sounds.stop(channel); }));
}

QString ValueDisplayWindow::readout(const std::string& label) const {
  auto found = readouts_.find(label);
  return found != readouts_.end() ? found->second->text() : QString();
}

}  // namespace vesk::auxwin
