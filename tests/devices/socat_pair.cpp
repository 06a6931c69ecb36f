#include "devices/socat_pair.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QStandardPaths>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace vesk::test {

SocatPair::SocatPair(const QString& link) {
  if (QStandardPaths::findExecutable(QStringLiteral("socat")).isEmpty()) {
    error_ = QStringLiteral("socat is not installed (scripts/setup.sh installs it)");
    return;
  }
  QString first = QStringLiteral("pty,raw,echo=0");
  if (!link.isEmpty()) first += QStringLiteral(",link=") + link;
  socat_.start(QStringLiteral("socat"),
               {QStringLiteral("-d"), QStringLiteral("-d"), first, QStringLiteral("pty,raw,echo=0")});
  if (!socat_.waitForStarted(5000)) {
    error_ = QStringLiteral("socat did not start: ") + socat_.errorString();
    return;
  }
  // socat names each terminal on stderr ("... N PTY is /dev/pts/3") and then starts its transfer loop.
  const QRegularExpression ptyLine(QStringLiteral("PTY is (\\S+)"));
  QString log;
  QStringList terminals;
  QElapsedTimer clock;
  clock.start();
  while (!log.contains(QStringLiteral("starting data transfer loop")) && clock.elapsed() < 5000) {
    socat_.waitForReadyRead(100);
    log += QString::fromLocal8Bit(socat_.readAllStandardError());
  }
  for (auto match = ptyLine.globalMatch(log); match.hasNext();) terminals << match.next().captured(1);
  if (terminals.size() != 2) {
    error_ = QStringLiteral("socat did not name two terminals: ") + log;
    return;
  }
  controllerSide_ = link.isEmpty() ? terminals[0] : link;
  writerSide_ = terminals[1];
  writerFd_ = ::open(writerSide_.toLocal8Bit().constData(), O_WRONLY | O_NOCTTY);
  if (writerFd_ < 0) error_ = QStringLiteral("cannot open ") + writerSide_;
}

SocatPair::~SocatPair() { stop(); }

bool SocatPair::write(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(writerFd_, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

void SocatPair::stop() {
  if (writerFd_ >= 0) ::close(writerFd_);
  writerFd_ = -1;
  if (socat_.state() != QProcess::NotRunning) {
    socat_.terminate();
    if (!socat_.waitForFinished(3000)) {
      socat_.kill();
      socat_.waitForFinished(3000);
    }
  }
}

}  // namespace vesk::test
