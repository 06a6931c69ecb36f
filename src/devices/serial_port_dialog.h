// SerialPortDialog: the serial port settings of the train controller ("TSマスコン（設定）"): the port (the ports
// the machine has are listed; any device path may be typed), the speed, data bits, parity, stop bits and flow
// control.
#pragma once

#include <QDialog>

#include <optional>

#include "devices/serial_settings.h"

class QComboBox;

namespace vesk::devices {

class SerialPortDialog : public QDialog {
 public:
  explicit SerialPortDialog(const SerialSettings& current, QWidget* parent = nullptr);

  // The settings as the dialog shows them now.
  SerialSettings settings() const;

  // Shows the dialog modally; the chosen settings, or none when cancelled.
  static std::optional<SerialSettings> ask(const SerialSettings& current, QWidget* parent = nullptr);

 private:
  SerialSettings current_;
  QComboBox* port_;
  QComboBox* baudRate_;
  QComboBox* dataBits_;
  QComboBox* parity_;
  QComboBox* stopBits_;
  QComboBox* flowControl_;
};

}  // namespace vesk::devices
