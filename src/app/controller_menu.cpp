#include "app/controller_menu.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

#include "devices/controller_hub.h"

namespace vesk::app {
namespace {

struct TypeItem {
  const char* name;
  const char* caption;
};
constexpr std::array<TypeItem, 4> kTypeItems = {{
    {"COM11", "標準/TSマスコン(&N)"},
    {"COM21", "Windows用電車でGO! コントローラ(&U)"},
    {"COM31", "PS用電車でGO! コントローラ(&M)"},
    {"COM41", "三鶯重工 OHC-PC01(&S)"},
}};

QAction* addItem(QMenu* menu, const char* name, const char* caption) {
  QAction* action = menu->addAction(QString::fromUtf8(caption));
  action->setObjectName(QString::fromLatin1(name));
  return action;
}

}  // namespace

ControllerMenu::ControllerMenu(QMenu* menu, devices::ControllerHub& hub, Window window)
    : QObject(menu), hub_(hub), window_(std::move(window)) {
  auto* group = new QActionGroup(this);
  group->setExclusive(true);
  for (std::size_t i = 0; i < kTypeItems.size(); ++i) {
    QAction* item = addItem(menu, kTypeItems[i].name, kTypeItems[i].caption);
    item->setCheckable(true);
    group->addAction(item);
    const int type = static_cast<int>(i);
    connect(item, &QAction::triggered, this, [this, type] { COMClick(type); });
    types_[i] = item;
  }
  menu->addSeparator();
  debug_ = addItem(menu, "debug1", "デバッグオプション(&D)");
  debug_->setCheckable(true);
  debug_->setChecked(hub_.debug());
  connect(debug_, &QAction::triggered, this, [this](bool marked) { debugClick(marked); });
  menu->addSeparator();
  connect(addItem(menu, "Setup1", "TSマスコン（設定）(&P)"), &QAction::triggered, this, [this] { Setup1Click(); });
  connect(addItem(menu, "Connect1", "TSマスコン（接続）(&C)"), &QAction::triggered, this, [this] { Connect1Click(); });
  showControllerType();

  hub_.setNoticeHandler([this](const devices::ControllerHub::Notice& notice) {
    if (window_.status) window_.status(notice.text);
  });
  hub_.setDebugTitleHandler([this](const QString& text) {
    if (window_.title) window_.title(text);
  });
}

ControllerMenu::~ControllerMenu() {
  hub_.setNoticeHandler({});
  hub_.setDebugTitleHandler({});
}

void ControllerMenu::COMClick(int controllerType) {
  hub_.setControllerType(controllerType);
  showControllerType();
}

void ControllerMenu::debugClick(bool marked) {
  hub_.setDebug(marked);
  debug_->setChecked(marked);
  if (!marked && window_.restoreTitle) window_.restoreTitle();
}

void ControllerMenu::Setup1Click() { hub_.showPortDialog(window_.widget); }

void ControllerMenu::Connect1Click() { hub_.toggleSerial(); }

void ControllerMenu::showControllerType() {
  const auto type = static_cast<std::size_t>(hub_.controllerType());
  if (type < types_.size()) types_[type]->setChecked(true);
}

}  // namespace vesk::app
