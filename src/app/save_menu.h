// The driving window's Save menu: three slots for saved states in the settings store ("Save1".."Save3" hold the
// state lines, "Save1Title".."Save3Title" the captions), "運転状態を復元(&L)" with Load1..Load3 and
// "運転状態を保存(&S)" with Save1..Save3. Opening the menu shows the slots' titles; saving does not pause the
// drive; a restore is checked completely before the drive sees it, so a slot that cannot be restored changes
// nothing.
#pragma once

#include <QObject>
#include <QString>

#include <array>
#include <functional>
#include <string>

#include "app/settings_store.h"
#include "sim/saved_state.h"

class QAction;
class QMenu;

namespace vesk::app {

class DriveSession;

// The slots as the settings store keeps them.
class SavedSlots {
 public:
  explicit SavedSlots(const SettingsStore& store) : store_(store) {}
  // The three titles (an absent value reads as empty); none when the store cannot be opened.
  std::optional<std::array<QString, sim::kSavedSlotCount>> titles() const;
  // The state line of slot n (1-3); empty when absent or when the store cannot be opened.
  std::string line(int n) const;
  // Writes slot n's line and title. False, with the store's file name in `where`, when they could not be written.
  bool write(int n, const sim::SavedSlot& slot, QString* where = nullptr) const;

 private:
  const SettingsStore& store_;
};

struct SaveMenuHooks {
  std::function<void(const QString& text)> message;  // a message box for the driver
  std::function<void()> restored;                    // a restore went to the drive: the window's title, a redraw
};

class SaveMenu : public QObject {
 public:
  // Fills `menu` (which becomes the parent) with the two submenus; `routeFileName` is the route being driven.
  SaveMenu(QMenu* menu, const SettingsStore& store, DriveSession& session, std::string routeFileName,
           SaveMenuHooks hooks);

  // Opening the menu: the slots' titles as captions, "No Data" for an empty slot (greyed to restore).
  void Saveloadclick();
  // Save item n (1-3): the drive's state into slot n.
  void S2Click(int n);
  // Load item n (1-3): slot n back into the drive, or the message saying why not.
  void L1Click(int n);

  static inline const QString kNoData = QStringLiteral("No Data");
  static inline const QString kNotSavedMessage = QStringLiteral("運転状態を保存できませんでした");

 private:
  SavedSlots slots_;
  DriveSession& session_;
  std::string routeFileName_;
  SaveMenuHooks hooks_;
  std::array<QAction*, sim::kSavedSlotCount> load_{};
  std::array<QAction*, sim::kSavedSlotCount> save_{};
};

}  // namespace vesk::app
