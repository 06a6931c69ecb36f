// ValueDisplayWindow (`TForm3`, "Value Display"): the debugging readouts of the running drive, the sound channel
// grid (channels 0..99: light blue with the volume while playing; selecting a cell stops the channel), a frame
// to jump to, and the switch that leaves the running resistance out ("抵抗解除").
#pragma once

#include <QDialog>
#include <QLineEdit>

#include <functional>
#include <map>
#include <string>

#include "sim/aux_window_data.h"
#include "sim/input_event.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace vesk::auxwin {

class KeyForwarder;

// A text field that keeps every key it is given, so that none goes on to its window.
class AcceptingLineEdit : public QLineEdit {
 public:
  using QLineEdit::QLineEdit;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
};

class ValueDisplayWindow : public QDialog {
 public:
  // `post`: queues a command to the drive; `error`: shows a message (a frame that is not a number).
  ValueDisplayWindow(std::function<void(sim::InputEvent)> post, std::function<void(const QString&)> error,
                     QWidget* parent = nullptr);

  void setKeyTarget(QWidget* target);
  // What "SU再読込" does (reading the route's speed table again); the button stays disabled without it.
  void onReloadSpeedUnits(std::function<void()> reload);
  // The readouts, the grid, the title and the resistance switch's button from the drive.
  void refresh(const sim::AuxWindowData& data);

  // The commands of the buttons and the grid.
  void jumpClick();
  void resistanceClick();
  void gridCellClick(int row, int column);

  QString readout(const std::string& label) const;

 private:
  QLabel* readoutLabel(const std::string& name);

  std::function<void(sim::InputEvent)> post_;
  std::function<void(const QString&)> error_;
  KeyForwarder* keys_ = nullptr;
  QTableWidget* grid_ = nullptr;
  QLineEdit* jumpFrame_ = nullptr;
  QPushButton* resistance_ = nullptr;
  QPushButton* reload_ = nullptr;
  std::function<void()> reloadSpeedUnits_;
  std::map<std::string, QLabel*> readouts_;
};

}  // namespace vesk::auxwin
