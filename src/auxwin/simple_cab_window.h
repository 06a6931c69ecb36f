// SimpleCabWindow (`TForm6`, "かんたん運転台"): a small cab for players who prefer the mouse. Lamps for the brake
// notches, coasting and the power notches, buttons that type the driving keys, and the door state below.
#pragma once

#include <QDialog>

#include <array>
#include <functional>

#include "sim/aux_window_data.h"
#include "sim/input_event.h"

class QFrame;
class QPushButton;
class QStatusBar;

namespace vesk::auxwin {

class KeyForwarder;

class SimpleCabWindow : public QDialog {
 public:
  // `post`: queues input to the drive as if typed.
  explicit SimpleCabWindow(std::function<void(sim::InputEvent)> post, QWidget* parent = nullptr);

  // Where its keys go (the driving window).
  void setKeyTarget(QWidget* target);
  // The lamps and the door text from the drive.
  void refresh(const sim::AuxWindowData& data);

  // Lamp colours as shown (for tests and the eye): KB1..KB8, KN, KP1..KP5.
  QColor lampColour(const char* name) const;

 private:
  QFrame* lamp(const char* name, int y);
  QPushButton* button(const char* name, const char* caption, QRect geometry, std::function<void()> onClick);
  static void paint(QFrame* lamp, const QColor& colour);

  std::function<void(sim::InputEvent)> post_;
  KeyForwarder* keys_ = nullptr;
  std::array<QFrame*, 8> brakeLamps_{};  // KB1 .. KB8
  QFrame* coastLamp_ = nullptr;          // KN
  std::array<QFrame*, 5> powerLamps_{};  // KP1 .. KP5
  QStatusBar* statusBar_ = nullptr;
};

}  // namespace vesk::auxwin
