// SerialSettings: how the serial train controller's port is opened. A train controller talks at 9600 baud,
// 8 data bits, no parity, one stop bit, no flow control; the driver may change any of it in the port dialog.
#pragma once

#include <QSerialPort>
#include <QString>

namespace vesk::devices {

struct SerialSettings {
  QString portName;  // a name QSerialPortInfo lists ("ttyUSB0", "COM3") or a device path ("/dev/pts/4")
  qint32 baudRate = 9600;
  QSerialPort::DataBits dataBits = QSerialPort::Data8;
  QSerialPort::Parity parity = QSerialPort::NoParity;
  QSerialPort::StopBits stopBits = QSerialPort::OneStop;
  QSerialPort::FlowControl flowControl = QSerialPort::NoFlowControl;
  bool operator==(const SerialSettings&) const = default;
};

// The first serial port of the machine ("COM1" on Windows, "ttyS0" elsewhere) with the train controller's line
// settings.
SerialSettings defaultSerialSettings();

}  // namespace vesk::devices
