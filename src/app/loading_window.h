// LoadingWindow: the small window shown while a drive loads: the text of the phase being loaded above a
// progress bar, repainted at each phase.
#pragma once

#include <QWidget>

#include <string_view>

class QLabel;
class QProgressBar;

namespace vesk::app {

class LoadingWindow : public QWidget {
 public:
  LoadingWindow();
  // Shows the phase's text and moves the bar on by one phase.
  void phase(std::string_view text);
  QString text() const;

 private:
  QLabel* label_;
  QProgressBar* bar_;
};

}  // namespace vesk::app
