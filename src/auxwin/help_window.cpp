#include "auxwin/help_window.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

#include <string>

#include "auxwin/key_forwarder.h"
#include "core/file_bytes.h"
#include "core/line_reader.h"
#include "core/path_resolver.h"
#include "core/sjis.h"

namespace vesk::auxwin {
namespace {

constexpr const char* kHelpFile = "operation.dat";

}  // namespace

HelpWindow::HelpWindow(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("TForm4"));
  resize(265, 331);
  memo_ = new QPlainTextEdit(this);
  memo_->setObjectName(QStringLiteral("Memo1"));
  memo_->setReadOnly(true);
  memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(memo_);
  keys_ = new KeyForwarder(this);
  keys_->watch(this);
}

void HelpWindow::load(const std::filesystem::path& programDir) {
  memo_->clear();
  const std::optional<std::filesystem::path> path = core::resolveDataFile(programDir, kHelpFile);
  const std::optional<std::string> bytes = path ? core::readFileBytes(*path) : std::nullopt;
  if (!bytes) {
    setWindowTitle(QString::fromLatin1(kHelpFile));
    memo_->setPlainText(
        QStringLiteral("%1 を開けません: %2")
            .arg(QString::fromLatin1(kHelpFile), QString::fromStdString((programDir / kHelpFile).string())));
    return;
  }
  core::LineReader lines(*bytes);
  std::string_view line;
  if (lines.next(line)) setWindowTitle(QString::fromStdString(core::sjisToUtf8(line)));
  QStringList body;
  while (lines.next(line)) body.append(QString::fromStdString(core::sjisToUtf8(line)));
  memo_->setPlainText(body.join(QLatin1Char('\n')));
}

void HelpWindow::setKeyTarget(QWidget* target) { keys_->setTarget(target); }

QString HelpWindow::text() const { return memo_->toPlainText(); }

}  // namespace vesk::auxwin
