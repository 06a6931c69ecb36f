#include "devices/controller_hub.h"

#include "devices/serial_port_dialog.h"

namespace vesk::devices {

ControllerHub::ControllerHub(QObject* parent) : QObject(parent) {
  serial_.setLineHandler([this](std::string line) { push(sim::InputEvent::controllerLine(std::move(line))); });
  serial_.setNoticeHandler([this](const SerialController::Notice& n) { serialNotice(n); });
  pollTimer_.setInterval(kPollIntervalMs);
  connect(&pollTimer_, &QTimer::timeout, this, [this] { pollJoystick(); });
}

ControllerHub::~ControllerHub() = default;

void ControllerHub::attachDrive(sim::InputQueue& input, const sim::Settings& calibration) {
  serial_.close();
  input_ = &input;
  calibration_ = calibration;
  scan_ = {};
  updatePollTimer();
}

void ControllerHub::detachDrive() {
  serial_.close();
  input_ = nullptr;
  updatePollTimer();
}

void ControllerHub::setControllerType(int type) {
  if (type < sim::kSerialControllerOnly || type >= sim::kControllerTypeCount) return;
  // The horn input belongs to the button-code layout: leaving it lets the horn go.
  if (controllerType_ == sim::kButtonCodeJoystick && type != controllerType_) {
    push(sim::InputEvent::controllerHorn(false));
  }
  controllerType_ = type;
  if (type != sim::kSerialControllerOnly && !joystick_) {
    joystick_ = std::make_unique<JoystickPoller>([this](const JoystickPoller::Change& c) { joystickChange(c); });
  }
  updatePollTimer();
}

void ControllerHub::showPortDialog(QWidget* parent) {
  if (const std::optional<SerialSettings> chosen = SerialPortDialog::ask(serial_.settings(), parent)) {
    serial_.setSettings(*chosen);
  }
}

void ControllerHub::setJoystickPolling(bool running) {
  pollingWanted_ = running;
  updatePollTimer();
}

void ControllerHub::pollJoystick() {
  if (controllerType_ == sim::kSerialControllerOnly || !joystick_) return;
  const std::optional<sim::JoystickState> state = joystick_->poll();
  // Without a joystick nothing changes: the handles stay where the last state put them.
  if (!state || input_ == nullptr) return;
  sim::JoystickScan::Result result = scan_.USBScan(*state, controllerType_, calibration_, debug_);
  for (sim::InputEvent& event : result.events) push(std::move(event));
  if (!result.debugTitle.empty() && onDebugTitle_) onDebugTitle_(QString::fromStdString(result.debugTitle));
}

void ControllerHub::updatePollTimer() {
  const bool poll = pollingWanted_ && input_ != nullptr && controllerType_ != sim::kSerialControllerOnly;
  if (poll && !pollTimer_.isActive()) pollTimer_.start();
  if (!poll) pollTimer_.stop();
}

void ControllerHub::push(sim::InputEvent event) {
  if (input_ != nullptr) input_->push(std::move(event));
}

void ControllerHub::serialNotice(const SerialController::Notice& notice) {
  using SerialKind = SerialController::Notice::Kind;
  switch (notice.kind) {
  case SerialKind::Opened:
    notify(Notice::Kind::SerialOpened, notice.text);
    break;
  case SerialKind::Closed:
    notify(Notice::Kind::SerialClosed, notice.text);
    break;
  case SerialKind::OpenFailed:
    notify(Notice::Kind::SerialOpenFailed, notice.text);
    break;
  case SerialKind::Lost:
    notify(Notice::Kind::SerialLost, notice.text);
    break;
  case SerialKind::Reconnected:
    notify(Notice::Kind::SerialReconnected, notice.text);
    break;
  }
}

void ControllerHub::joystickChange(const JoystickPoller::Change& change) {
  const QString name = QString::fromStdString(change.deviceName);
  switch (change.kind) {
  case JoystickPoller::Change::Kind::Attached:
    notify(Notice::Kind::JoystickAttached, QStringLiteral("ジョイスティック「%1」をつなぎました。").arg(name));
    break;
  case JoystickPoller::Change::Kind::Removed:
    // A held horn button would otherwise sound for ever.
    push(sim::InputEvent::controllerHorn(false));
    notify(Notice::Kind::JoystickRemoved,
           QStringLiteral("ジョイスティック「%1」が外れました。ハンドルはそのままです。").arg(name));
    break;
  case JoystickPoller::Change::Kind::Unavailable:
    notify(Notice::Kind::JoystickUnavailable,
           QStringLiteral("ジョイスティックを使えません: %1").arg(QString::fromStdString(change.detail)));
    break;
  }
}

void ControllerHub::notify(Notice::Kind kind, const QString& text) {
  if (onNotice_) onNotice_(Notice{kind, text});
}

}  // namespace vesk::devices
