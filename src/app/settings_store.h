// SettingsStore: the driver's preferences and the controller calibration, kept per user between drives under
// "Velmarix": the application "vesk" holds "Kanko", "Information", "ATS", "Tunnel" and "Moji" (and the saved
// states), "dgcontroller" the calibration "P0".."P5", "B0".."B8", "EB". On Windows these are the registry keys
// \Software\Velmarix\vesk and \Software\Velmarix\dgcontroller; elsewhere files of the same names in the user's
// configuration folder. Nothing here ever stops a drive: what cannot be read falls back to the defaults, and
// what cannot be written is left.
#pragma once

#include <QSettings>

#include <filesystem>
#include <memory>
#include <optional>

#include "sim/settings.h"

namespace vesk::app {

class SettingsStore {
 public:
  // The user's own settings.
  SettingsStore() = default;
  // Settings kept in `folder` ("vesk.ini" and "dgcontroller.ini"), for tests and portable set-ups.
  explicit SettingsStore(std::filesystem::path folder);

  // Read when a driving window is created. A preference that is missing or not an integer puts all five at
  // their defaults (Information 1, the rest 0); a store that cannot be opened at all leaves them 0. The
  // calibration is read in order up to the first value that cannot be read; the rest stay 0.
  sim::Settings load() const;
  // Written when the driving window closes: the five preferences (never the calibration). False when they could
  // not be written; the drive goes on regardless.
  bool store(const sim::Settings& settings) const;

  // The store of one application ("vesk" or "dgcontroller"); saved states will share "vesk".
  std::unique_ptr<QSettings> open(const QString& application) const;

 private:
  std::optional<std::filesystem::path> folder_;
};

}  // namespace vesk::app
