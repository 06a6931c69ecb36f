// Waiting in the device tests: the Qt event loop runs until a condition holds or the time is up.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <functional>

namespace vesk::test {

// True when `done` held before `timeoutMs` passed.
inline bool spinUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > timeoutMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(1);
  }
  return true;
}

// Runs the event loop for `ms` (for things that must not happen).
inline void spinFor(int ms) {
  spinUntil([] { return false; }, ms);
}

}  // namespace vesk::test
