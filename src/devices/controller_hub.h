// ControllerHub: the external controllers of the driving window in one object: which controller is read
// (controllerType), the serial train controller and the joystick poll. What the controllers do reaches the drive
// only through the drive's input queue, as keys do.
//
// Wiring the driving window's "Controller(&C)" menu:
//   COM11, COM21, COM31, COM41   setControllerType(0 .. 3); the check mark on the item of controllerType()
//   debug1                       setDebug(checked); unmarking it, the window puts its title back itself
//   Setup1                       showPortDialog(window)
//   Connect1                     toggleSerial()
// and its life:
//   the drive loaded             attachDrive(runner.input(), settings) (the calibration P0..P5, B0..B8, EB)
//   start / pause                setJoystickPolling(running): the joystick is read every 100 ms while running
//   the window closing           detachDrive() (closes the serial port)
//   setNoticeHandler             texts for the status line: the port opened ("Connect to controller."), closed
//                                ("Disconnect from controller."), could not open, lost and back; a joystick
//                                plugged in or pulled out (the handles stay where they were)
//   setDebugTitleHandler         the window title "X:.. Y:.." while debug1 is marked
//
// Threading: make and use it on the GUI thread only. The serial port's data and the SDL joystick calls all
// happen on that thread; the input queue takes the events across to the simulation thread.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>

#include "devices/joystick_poller.h"
#include "devices/serial_controller.h"
#include "sim/input_queue.h"
#include "sim/joystick_layouts.h"
#include "sim/settings.h"

class QWidget;

namespace vesk::devices {

class ControllerHub : public QObject {
 public:
  struct Notice {
    enum class Kind {
      SerialOpened,
      SerialClosed,
      SerialOpenFailed,
      SerialLost,
      SerialReconnected,
      JoystickAttached,
      JoystickRemoved,
      JoystickUnavailable,
    };
    Kind kind;
    QString text;
  };
  static constexpr int kPollIntervalMs = 100;

  explicit ControllerHub(QObject* parent = nullptr);
  ~ControllerHub() override;

  void setNoticeHandler(std::function<void(const Notice&)> onNotice) { onNotice_ = std::move(onNotice); }
  void setDebugTitleHandler(std::function<void(const QString&)> onTitle) { onDebugTitle_ = std::move(onTitle); }

  // A new drive: its input queue and the controller calibration. The serial port starts closed; the joystick
  // poll starts afresh.
  void attachDrive(sim::InputQueue& input, const sim::Settings& calibration);
  // The drive ends: the serial port is closed and nothing more is queued.
  void detachDrive();

  // 0 the serial controller only, 1 the analogue joystick layout, 2 calibrated codes, 3 button codes. Kept from
  // one drive to the next; values outside 0..3 are ignored.
  int controllerType() const { return controllerType_; }
  void setControllerType(int type);
  bool debug() const { return debug_; }
  void setDebug(bool on) { debug_ = on; }

  void openSerial() { serial_.open(); }
  void closeSerial() { serial_.close(); }
  void toggleSerial() { serial_.toggle(); }
  bool serialOpen() const { return serial_.isOpen(); }
  // The port settings dialog; the chosen settings are used from now on (an open port is reopened).
  void showPortDialog(QWidget* parent);
  SerialController& serial() { return serial_; }

  // Reads the joystick every kPollIntervalMs while `running`, a drive is attached and a joystick layout is chosen.
  void setJoystickPolling(bool running);
  // One poll (USBScan): devices plugged in or out are noticed, a changed state is queued to the drive. Called by
  // the poll timer; may be called directly instead (GUI thread).
  void pollJoystick();
  bool joystickConnected() const { return joystick_ != nullptr && joystick_->connected(); }
  QString joystickName() const { return joystick_ ? QString::fromStdString(joystick_->deviceName()) : QString(); }

 private:
  void updatePollTimer();
  void push(sim::InputEvent event);
  void serialNotice(const SerialController::Notice& notice);
  void joystickChange(const JoystickPoller::Change& change);
  void notify(Notice::Kind kind, const QString& text);

  sim::InputQueue* input_ = nullptr;
  sim::Settings calibration_;
  int controllerType_ = sim::kSerialControllerOnly;
  bool debug_ = false;
  bool pollingWanted_ = false;
  SerialController serial_;
  std::unique_ptr<JoystickPoller> joystick_;  // SDL starts when a joystick layout is first chosen
  sim::JoystickScan scan_;
  QTimer pollTimer_;
  std::function<void(const Notice&)> onNotice_;
  std::function<void(const QString&)> onDebugTitle_;
};

}  // namespace vesk::devices
