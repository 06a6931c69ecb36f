#include "app/save_menu.h"

#include <QAction>
#include <QMenu>
#include <QSettings>
#include <QStringList>

#include <mutex>

#include "app/drive_session.h"
#include "sim/drive.h"

namespace vesk::app {
namespace {

QString lineKey(int n) { return QStringLiteral("Save%1").arg(n); }
QString titleKey(int n) { return QStringLiteral("Save%1Title").arg(n); }
QString text(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// A string value. An INI file edited by hand may hold a line with commas unquoted, which reads as a list: it is
// the same text.
QString stringValue(const QSettings& settings, const QString& key) {
  const QVariant value = settings.value(key);
  if (value.typeId() == QMetaType::QStringList) return value.toStringList().join(QLatin1Char(','));
  return value.toString();
}

}  // namespace

std::optional<std::array<QString, sim::kSavedSlotCount>> SavedSlots::titles() const {
  const std::unique_ptr<QSettings> settings = store_.open(QStringLiteral("vesk"));
  if (settings->status() == QSettings::AccessError) return std::nullopt;
  std::array<QString, sim::kSavedSlotCount> titles;
  for (int n = 1; n <= sim::kSavedSlotCount; ++n)
    titles[static_cast<std::size_t>(n - 1)] = stringValue(*settings, titleKey(n));
  return titles;
}

std::string SavedSlots::line(int n) const {
  const std::unique_ptr<QSettings> settings = store_.open(QStringLiteral("vesk"));
  if (settings->status() == QSettings::AccessError) return {};
  return stringValue(*settings, lineKey(n)).toStdString();
}

bool SavedSlots::write(int n, const sim::SavedSlot& slot, QString* where) const {
  const std::unique_ptr<QSettings> settings = store_.open(QStringLiteral("vesk"));
  if (where != nullptr) *where = settings->fileName();
  // A store that could not be read is not written over: what it holds besides the slot stays.
  if (settings->status() != QSettings::NoError) return false;
  settings->setValue(lineKey(n), text(slot.line));
  settings->setValue(titleKey(n), text(slot.title));
  settings->sync();
  return settings->status() == QSettings::NoError;
}

SaveMenu::SaveMenu(QMenu* menu, const SettingsStore& store, DriveSession& session, std::string routeFileName,
                   SaveMenuHooks hooks)
    : QObject(menu), slots_(store), session_(session), routeFileName_(std::move(routeFileName)),
      hooks_(std::move(hooks)) {
  QMenu* load = menu->addMenu(QStringLiteral("運転状態を復元(&L)"));
  load->setObjectName(QStringLiteral("L1"));
  QMenu* save = menu->addMenu(QStringLiteral("運転状態を保存(&S)"));
  save->setObjectName(QStringLiteral("S2"));
  for (int n = 1; n <= sim::kSavedSlotCount; ++n) {
    const auto i = static_cast<std::size_t>(n - 1);
    load_[i] = load->addAction(kNoData);
    load_[i]->setObjectName(QStringLiteral("Load%1").arg(n));
    connect(load_[i], &QAction::triggered, this, [this, n] { L1Click(n); });
    save_[i] = save->addAction(kNoData);
    save_[i]->setObjectName(QStringLiteral("Save%1").arg(n));
    connect(save_[i], &QAction::triggered, this, [this, n] { S2Click(n); });
  }
  connect(menu, &QMenu::aboutToShow, this, [this] { Saveloadclick(); });
  Saveloadclick();
}

void SaveMenu::Saveloadclick() {
  const auto titles = slots_.titles();
  // A store that cannot be opened leaves the captions as they were.
  if (!titles) return;
  for (std::size_t i = 0; i < titles->size(); ++i) {
    const QString& title = (*titles)[i];
    load_[i]->setText(title.isEmpty() ? kNoData : title);
    load_[i]->setEnabled(!title.isEmpty());
    save_[i]->setText(title.isEmpty() ? kNoData : title);
  }
}

void SaveMenu::S2Click(int n) {
  if (n < 1 || n > sim::kSavedSlotCount) return;
  sim::SavedSlot slot;
  {
    sim::Drive& drive = session_.drive();
    std::lock_guard lock(drive.mutex());
    slot = sim::saveSlot(drive, routeFileName_);
  }
  QString where;
  if (slots_.write(n, slot, &where)) {
    hooks_.message(text(sim::kStateSavedMessage));
  } else {
    hooks_.message(kNotSavedMessage + QStringLiteral("\n") + where);
  }
  Saveloadclick();
}

void SaveMenu::L1Click(int n) {
  if (n < 1 || n > sim::kSavedSlotCount) return;
  const std::string line = slots_.line(n);
  sim::CheckedState checked;
  {
    sim::Drive& drive = session_.drive();
    std::lock_guard lock(drive.mutex());
    checked = sim::checkSavedState(drive, routeFileName_, line);
  }
  if (const auto* refusal = std::get_if<sim::RestoreRefusal>(&checked)) {
    QString message = text(refusal->message);
    if (!refusal->detail.empty())
      message += QStringLiteral("\n") + lineKey(n) + QStringLiteral(": ") + text(refusal->detail);
    hooks_.message(message);
    return;
  }
  session_.push(sim::InputEvent::call(
      [state = std::get<sim::SavedState>(checked)](sim::Drive& d) { sim::restoreState(d, state); }));
  if (hooks_.restored) hooks_.restored();
}

}  // namespace vesk::app
