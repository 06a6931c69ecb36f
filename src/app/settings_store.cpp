#include "app/settings_store.h"

#include <array>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

namespace vesk::app {
namespace {

const QString kOrganisation = QStringLiteral("Velmarix");

// A stored 32-bit integer, or none when the value is missing or is not one.
std::optional<int> readInt(const QSettings& settings, const QString& name) {
  const QVariant value = settings.value(name);
  if (!value.isValid()) return std::nullopt;
  bool ok = false;
  const qlonglong number = value.toLongLong(&ok);
  if (!ok || number < std::numeric_limits<std::int32_t>::min() || number > std::numeric_limits<std::int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<int>(number);
}

sim::Settings defaultPreferences() {
  sim::Settings s;
  s.Information = 1;
  return s;
}

}  // namespace

SettingsStore::SettingsStore(std::filesystem::path folder) : folder_(std::move(folder)) {}

std::unique_ptr<QSettings> SettingsStore::open(const QString& application) const {
  if (folder_) {
    const QString file = QString::fromStdString((*folder_ / (application.toStdString() + ".ini")).string());
    return std::make_unique<QSettings>(file, QSettings::IniFormat);
  }
  return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, kOrganisation, application);
}

sim::Settings SettingsStore::load() const {
  sim::Settings s;
  const std::unique_ptr<QSettings> vesk = open(QStringLiteral("vesk"));
  if (vesk->status() == QSettings::AccessError) {
    // The store cannot be opened at all: every preference stays 0.
  } else if (vesk->status() != QSettings::NoError) {
    s = defaultPreferences();
  } else {
    const std::array<std::pair<const char*, int*>, 5> preferences = {{{"Kanko", &s.Kanko},
                                                                      {"Information", &s.Information},
                                                                      {"ATS", &s.ATS},
                                                                      {"Tunnel", &s.Tunnel},
                                                                      {"Moji", &s.Moji}}};
    for (const auto& [name, field] : preferences) {
      const std::optional<int> value = readInt(*vesk, QString::fromLatin1(name));
      if (!value) {
        // One missing value resets all five, those already read included.
        s = defaultPreferences();
        break;
      }
      *field = *value;
    }
  }

  const std::unique_ptr<QSettings> controller = open(QStringLiteral("dgcontroller"));
  if (controller->status() != QSettings::NoError) return s;
  // "P0".."P5", "B0".."B8", "EB", in this order.
  std::vector<std::pair<QString, int*>> calibration;
  for (std::size_t i = 0; i < s.P.size(); ++i) calibration.emplace_back(QStringLiteral("P%1").arg(i), &s.P[i]);
  for (std::size_t i = 0; i < s.B.size(); ++i) calibration.emplace_back(QStringLiteral("B%1").arg(i), &s.B[i]);
  calibration.emplace_back(QStringLiteral("EB"), &s.EB);
  for (const auto& [name, field] : calibration) {
    const std::optional<int> value = readInt(*controller, name);
    if (!value) break;
    *field = *value;
  }
  return s;
}

bool SettingsStore::store(const sim::Settings& s) const {
  const std::unique_ptr<QSettings> vesk = open(QStringLiteral("vesk"));
  // A store that could not be read is not written over: what it holds besides the preferences stays.
  if (vesk->status() != QSettings::NoError) return false;
  vesk->setValue(QStringLiteral("Kanko"), s.Kanko);
  vesk->setValue(QStringLiteral("Information"), s.Information);
  vesk->setValue(QStringLiteral("ATS"), s.ATS);
  vesk->setValue(QStringLiteral("Tunnel"), s.Tunnel);
  vesk->setValue(QStringLiteral("Moji"), s.Moji);
  vesk->sync();
  return vesk->status() == QSettings::NoError;
}

}  // namespace vesk::app
