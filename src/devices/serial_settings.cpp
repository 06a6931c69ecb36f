#include "devices/serial_settings.h"

namespace vesk::devices {

SerialSettings defaultSerialSettings() {
  SerialSettings s;
#ifdef Q_OS_WIN
  s.portName = QStringLiteral("COM1");
#else
  s.portName = QStringLiteral("ttyS0");
#endif
  return s;
}

}  // namespace vesk::devices
