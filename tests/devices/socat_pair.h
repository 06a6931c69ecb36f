// SocatPair: two pseudo-terminals joined by socat, standing in for a serial cable: what is written to one comes
// out of the other. The serial controller opens one; the test writes to the other as the train controller would.
#pragma once

#include <QProcess>
#include <QString>

#include <string_view>

namespace vesk::test {

class SocatPair {
 public:
  // `link`: when given, the first terminal is also reachable under this path (stable across restarts).
  explicit SocatPair(const QString& link = {});
  ~SocatPair();
  SocatPair(const SocatPair&) = delete;
  SocatPair& operator=(const SocatPair&) = delete;

  bool ready() const { return !controllerSide_.isEmpty() && writerFd_ >= 0; }
  QString error() const { return error_; }
  // The terminal the serial controller opens, and the one the test writes to.
  const QString& controllerSide() const { return controllerSide_; }
  const QString& writerSide() const { return writerSide_; }

  // Writes all bytes to the writer side (blocking until the pair has taken them).
  bool write(std::string_view bytes);
  // Ends socat: both terminals go away.
  void stop();

 private:
  QProcess socat_;
  QString controllerSide_;
  QString writerSide_;
  QString error_;
  int writerFd_ = -1;
};

}  // namespace vesk::test
