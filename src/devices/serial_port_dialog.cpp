#include "devices/serial_port_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSerialPortInfo>

namespace vesk::devices {
namespace {

// A combo box of fixed choices with their values; `current` selected.
template <typename T> QComboBox* choices(std::initializer_list<std::pair<const char*, T>> items, T current) {
  auto* box = new QComboBox;
  for (const auto& [text, value] : items) {
    box->addItem(QString::fromUtf8(text), static_cast<int>(value));
    if (value == current) box->setCurrentIndex(box->count() - 1);
  }
  return box;
}

template <typename T> T chosen(const QComboBox* box) { return static_cast<T>(box->currentData().toInt()); }

}  // namespace

SerialPortDialog::SerialPortDialog(const SerialSettings& current, QWidget* parent)
    : QDialog(parent), current_(current) {
  setWindowTitle(QStringLiteral("TSマスコン（設定）"));

  port_ = new QComboBox;
  port_->setEditable(true);
  for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
    const QString description = info.description().isEmpty() ? info.systemLocation() : info.description();
    port_->addItem(info.portName(), description);
    port_->setItemData(port_->count() - 1, description, Qt::ToolTipRole);
  }
  port_->setEditText(current.portName);

  baudRate_ = new QComboBox;
  baudRate_->setEditable(true);
  for (const qint32 rate : QSerialPortInfo::standardBaudRates()) baudRate_->addItem(QString::number(rate));
  baudRate_->setEditText(QString::number(current.baudRate));

  dataBits_ = choices<QSerialPort::DataBits>(
      {{"5", QSerialPort::Data5}, {"6", QSerialPort::Data6}, {"7", QSerialPort::Data7}, {"8", QSerialPort::Data8}},
      current.dataBits);
  parity_ = choices<QSerialPort::Parity>({{"なし", QSerialPort::NoParity},
                                          {"偶数", QSerialPort::EvenParity},
                                          {"奇数", QSerialPort::OddParity},
                                          {"マーク", QSerialPort::MarkParity},
                                          {"スペース", QSerialPort::SpaceParity}},
                                         current.parity);
  stopBits_ = choices<QSerialPort::StopBits>(
      {{"1", QSerialPort::OneStop}, {"1.5", QSerialPort::OneAndHalfStop}, {"2", QSerialPort::TwoStop}},
      current.stopBits);
  flowControl_ = choices<QSerialPort::FlowControl>({{"なし", QSerialPort::NoFlowControl},
                                                    {"ハードウェア (RTS/CTS)", QSerialPort::HardwareControl},
                                                    {"ソフトウェア (XON/XOFF)", QSerialPort::SoftwareControl}},
                                                   current.flowControl);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* form = new QFormLayout(this);
  form->addRow(QStringLiteral("ポート"), port_);
  form->addRow(QStringLiteral("通信速度"), baudRate_);
  form->addRow(QStringLiteral("データビット"), dataBits_);
  form->addRow(QStringLiteral("パリティ"), parity_);
  form->addRow(QStringLiteral("ストップビット"), stopBits_);
  form->addRow(QStringLiteral("フロー制御"), flowControl_);
  form->addRow(buttons);
}

SerialSettings SerialPortDialog::settings() const {
  SerialSettings s;
  // An empty port name or a speed that is not a positive number keeps what was set.
  const QString name = port_->currentText().trimmed();
  s.portName = name.isEmpty() ? current_.portName : name;
  bool ok = false;
  const int rate = baudRate_->currentText().trimmed().toInt(&ok);
  s.baudRate = ok && rate > 0 ? rate : current_.baudRate;
  s.dataBits = chosen<QSerialPort::DataBits>(dataBits_);
  s.parity = chosen<QSerialPort::Parity>(parity_);
  s.stopBits = chosen<QSerialPort::StopBits>(stopBits_);
  s.flowControl = chosen<QSerialPort::FlowControl>(flowControl_);
  return s;
}

std::optional<SerialSettings> SerialPortDialog::ask(const SerialSettings& current, QWidget* parent) {
  SerialPortDialog dialog(current, parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.settings();
}

}  // namespace vesk::devices
