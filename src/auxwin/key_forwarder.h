// KeyForwarder: hands every key press and release of a window and its children (buttons, grid, text fields) to
// the driving window, so that the driving keys work whichever window has the focus. A text field gets its keys
// too; make it accept every key (AcceptingLineEdit) so that none goes on to its window and is forwarded twice.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace vesk::auxwin {

class KeyForwarder : public QObject {
 public:
  explicit KeyForwarder(QObject* parent = nullptr) : QObject(parent) {}

  // Where keys go; none: the keys stay where they are.
  void setTarget(QWidget* target) { target_ = target; }
  QWidget* target() const { return target_; }
  // Watches `window` and every widget in it, now and added later.
  void watch(QWidget* window);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPointer<QWidget> target_;
};

}  // namespace vesk::auxwin
