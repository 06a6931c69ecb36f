#include <gtest/gtest.h>

#include <QComboBox>

#include "devices/serial_port_dialog.h"

namespace vesk::devices {
namespace {

QComboBox* box(SerialPortDialog& dialog, int n) { return dialog.findChildren<QComboBox*>().at(n); }

TEST(SerialPortDialog, ShowsAndReturnsTheSettings) {
  SerialSettings current = defaultSerialSettings();
  current.portName = QStringLiteral("/dev/pts/9");
  current.baudRate = 19200;
  current.parity = QSerialPort::EvenParity;
  SerialPortDialog dialog(current);
  EXPECT_EQ(dialog.settings(), current);
}

TEST(SerialPortDialog, ChangedFieldsAndBadEntries) {
  const SerialSettings current = defaultSerialSettings();
  SerialPortDialog dialog(current);
  // Port, speed, data bits, parity, stop bits, flow control, in this order.
  box(dialog, 0)->setEditText(QStringLiteral("  ttyUSB0 "));
  box(dialog, 3)->setCurrentIndex(2);
  box(dialog, 5)->setCurrentIndex(1);
  SerialSettings s = dialog.settings();
  EXPECT_EQ(s.portName, QStringLiteral("ttyUSB0"));
  EXPECT_EQ(s.parity, QSerialPort::OddParity);
  EXPECT_EQ(s.flowControl, QSerialPort::HardwareControl);
  EXPECT_EQ(s.baudRate, 9600);
  // A speed that is no number and an empty port keep what was set.
  box(dialog, 0)->setEditText(QString());
  box(dialog, 1)->setEditText(QStringLiteral("fast"));
  s = dialog.settings();
  EXPECT_EQ(s.portName, current.portName);
  EXPECT_EQ(s.baudRate, current.baudRate);
}

TEST(SerialSettings, TrainControllerDefaults) {
  const SerialSettings s = defaultSerialSettings();
  EXPECT_EQ(s.baudRate, 9600);
  EXPECT_EQ(s.dataBits, QSerialPort::Data8);
  EXPECT_EQ(s.parity, QSerialPort::NoParity);
  EXPECT_EQ(s.stopBits, QSerialPort::OneStop);
  EXPECT_EQ(s.flowControl, QSerialPort::NoFlowControl);
  EXPECT_FALSE(s.portName.isEmpty());
}

}  // namespace
}  // namespace vesk::devices
