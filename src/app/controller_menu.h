// ControllerMenu: the driving window's "Controller(&C)" menu over the external controllers (ControllerHub): the
// controller type as exclusive check marks, the debug option, the serial port's settings dialog and its
// connection. What the controllers report (the port opened or closed, a device unplugged or back) goes to the
// window's status line; the debug option's "X:.. Y:.." goes to its title.
#pragma once

#include <QObject>
#include <QString>

#include <array>
#include <functional>

class QAction;
class QMenu;
class QWidget;

namespace vesk::devices {
class ControllerHub;
}

namespace vesk::app {

class ControllerMenu : public QObject {
 public:
  struct Window {
    QWidget* widget = nullptr;                   // the dialog's parent
    std::function<void(const QString&)> status;  // the status line
    std::function<void(const QString&)> title;   // the window title (debug readout)
    std::function<void()> restoreTitle;          // the route's line name back in the title
  };

  // Fills `menu` (its items named COM11, COM21, COM31, COM41, debug1, Setup1, Connect1) and takes the hub's
  // notices. The hub outlives the menu.
  ControllerMenu(QMenu* menu, devices::ControllerHub& hub, Window window);
  ~ControllerMenu() override;
  ControllerMenu(const ControllerMenu&) = delete;
  ControllerMenu& operator=(const ControllerMenu&) = delete;

  // The menu commands.
  void COMClick(int controllerType);
  void debugClick(bool marked);
  void Setup1Click();
  void Connect1Click();

 private:
  void showControllerType();

  devices::ControllerHub& hub_;
  Window window_;
  std::array<QAction*, 4> types_{};
  QAction* debug_ = nullptr;
};

}  // namespace vesk::app
