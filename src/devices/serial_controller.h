// SerialController: the train controller on a serial port. Received characters are assembled into command lines
// (a carriage return ends each; see sim::SerialLineAssembler) and handed on one by one. A port that goes away
// while open (the controller unplugged) is closed, reported, and tried again every second until it is back or
// the driver closes it; nothing is sent to the drive meanwhile, so the handles stay where they were.
//
// Threading: a QObject of the thread it was made on (the GUI thread); the port's data arrives through that
// thread's event loop, and every callback runs there.
#pragma once

#include <QObject>
#include <QSerialPort>
#include <QString>
#include <QTimer>

#include <functional>
#include <string>

#include "devices/serial_settings.h"
#include "sim/serial_assembler.h"

namespace vesk::devices {

class SerialController : public QObject {
 public:
  struct Notice {
    enum class Kind {
      Opened,       // "Connect to controller."
      Closed,       // "Disconnect from controller."
      OpenFailed,   // the port could not be opened (its name and the reason)
      Lost,         // the port went away while open; retrying
      Reconnected,  // a lost port is back ("Connect to controller.")
    };
    Kind kind;
    QString text;
  };

  static inline const QString kOpenedMessage = QStringLiteral("Connect to controller.");
  static inline const QString kClosedMessage = QStringLiteral("Disconnect from controller.");
  static constexpr int kRetryIntervalMs = 1000;

  explicit SerialController(QObject* parent = nullptr);
  ~SerialController() override;

  // Each complete command line, without its line end.
  void setLineHandler(std::function<void(std::string)> onLine) { onLine_ = std::move(onLine); }
  void setNoticeHandler(std::function<void(const Notice&)> onNotice) { onNotice_ = std::move(onNotice); }

  const SerialSettings& settings() const { return settings_; }
  // Takes effect at the next open; an open port is reopened with them.
  void setSettings(const SerialSettings& settings);

  // Opens the port ("Connect to controller."), or reports why it cannot.
  bool open();
  // Closes the port, or stops retrying a lost one ("Disconnect from controller.").
  void close();
  // Connect1: close when open or retrying, otherwise open.
  void toggle();
  bool isOpen() const { return port_.isOpen(); }
  bool isRetrying() const { return retry_.isActive(); }
  // Characters waiting for their carriage return (never more than sim::SerialLineAssembler::kMaxLineLength).
  std::size_t pendingLength() const { return assembler_.rxBuffer().size(); }
  std::int64_t droppedLines() const { return assembler_.droppedLines(); }

 private:
  bool openPort();
  void readAvailable();
  void portError(QSerialPort::SerialPortError error);
  void lose(const QString& reason);
  void retry();
  void notify(Notice::Kind kind, const QString& text);

  QSerialPort port_;
  QTimer retry_;
  SerialSettings settings_ = defaultSerialSettings();
  sim::SerialLineAssembler assembler_;
  std::function<void(std::string)> onLine_;
  std::function<void(const Notice&)> onNotice_;
};

}  // namespace vesk::devices
