#include "auxwin/key_forwarder.h"

#include <QApplication>
#include <QChildEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace vesk::auxwin {

void KeyForwarder::watch(QWidget* window) {
  window->installEventFilter(this);
  for (QWidget* child : window->findChildren<QWidget*>()) child->installEventFilter(this);
}

bool KeyForwarder::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
  case QEvent::ChildAdded:
    if (auto* child = qobject_cast<QWidget*>(static_cast<QChildEvent*>(event)->child())) watch(child);
    break;
  case QEvent::KeyPress:
  case QEvent::KeyRelease: {
    if (target_ == nullptr) break;
    const auto* key = static_cast<QKeyEvent*>(event);
    QKeyEvent copy(key->type(), key->key(), key->modifiers(), key->nativeScanCode(), key->nativeVirtualKey(),
                   key->nativeModifiers(), key->text(), key->isAutoRepeat(), static_cast<quint16>(key->count()));
    QApplication::sendEvent(target_, &copy);
    // A text field also types the key (it takes every key, so nothing reaches its window twice); elsewhere the
    // key is the driving window's alone (a focused button does not click on the space bar).
    return qobject_cast<QLineEdit*>(watched) == nullptr;
  }
  default:
    break;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace vesk::auxwin
