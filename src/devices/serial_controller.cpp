#include "devices/serial_controller.h"

namespace vesk::devices {
namespace {

// Read in slices: a flood of characters is assembled as it comes, never held whole.
constexpr qint64 kReadBufferBytes = 4096;

}  // namespace

SerialController::SerialController(QObject* parent) : QObject(parent) {
  port_.setReadBufferSize(kReadBufferBytes);
  connect(&port_, &QSerialPort::readyRead, this, [this] { readAvailable(); });
  connect(&port_, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError e) { portError(e); });
  retry_.setInterval(kRetryIntervalMs);
  connect(&retry_, &QTimer::timeout, this, [this] { retry(); });
}

SerialController::~SerialController() {
  retry_.stop();
  if (port_.isOpen()) port_.close();
}

void SerialController::setSettings(const SerialSettings& settings) {
  if (settings == settings_) return;
  settings_ = settings;
  if (port_.isOpen()) {
    close();
    open();
  }
}

bool SerialController::openPort() {
  port_.setPortName(settings_.portName);
  port_.setBaudRate(settings_.baudRate);
  port_.setDataBits(settings_.dataBits);
  port_.setParity(settings_.parity);
  port_.setStopBits(settings_.stopBits);
  port_.setFlowControl(settings_.flowControl);
  assembler_.clear();
  return port_.open(QIODevice::ReadOnly);
}

bool SerialController::open() {
  retry_.stop();
  if (port_.isOpen()) return true;
  if (!openPort()) {
    notify(Notice::Kind::OpenFailed,
           QStringLiteral("コントローラのポート %1 を開けません: %2").arg(settings_.portName, port_.errorString()));
    return false;
  }
  notify(Notice::Kind::Opened, kOpenedMessage);
  return true;
}

void SerialController::close() {
  const bool wasConnected = port_.isOpen() || retry_.isActive();
  retry_.stop();
  if (port_.isOpen()) port_.close();
  assembler_.clear();
  if (wasConnected) notify(Notice::Kind::Closed, kClosedMessage);
}

void SerialController::toggle() {
  if (port_.isOpen() || retry_.isActive()) {
    close();
  } else {
    open();
  }
}

void SerialController::readAvailable() {
  while (port_.isOpen() && port_.bytesAvailable() > 0) {
    const QByteArray chunk = port_.read(kReadBufferBytes);
    if (chunk.isEmpty()) break;
    for (std::string& line : assembler_.RxChar(std::string_view(chunk.constData(), chunk.size()))) {
      if (onLine_) onLine_(std::move(line));
    }
  }
}

void SerialController::portError(QSerialPort::SerialPortError error) {
  // Only a port that vanished or broke while open is lost; open failures are reported by open().
  if (!port_.isOpen() || (error != QSerialPort::ResourceError && error != QSerialPort::ReadError)) return;
  const QString reason = port_.errorString();
  // Closed after the port's own signal has returned: the port's notifiers are not deleted under it.
  QMetaObject::invokeMethod(
      this, [this, reason] { lose(reason); }, Qt::QueuedConnection);
}

void SerialController::lose(const QString& reason) {
  if (!port_.isOpen()) return;
  port_.close();
  // A line cut off by the loss is not a command.
  assembler_.clear();
  notify(Notice::Kind::Lost,
         QStringLiteral("コントローラとの接続が切れました（%1: %2）。ハンドルはそのままです。再接続を待っています。")
             .arg(settings_.portName, reason));
  retry_.start();
}

void SerialController::retry() {
  if (port_.isOpen() || !openPort()) return;
  retry_.stop();
  notify(Notice::Kind::Reconnected, kOpenedMessage);
}

void SerialController::notify(Notice::Kind kind, const QString& text) {
  if (onNotice_) onNotice_(Notice{kind, text});
}

}  // namespace vesk::devices
