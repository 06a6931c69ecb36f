#include "app/loading_window.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include <algorithm>

namespace vesk::app {
namespace {

// The phases that announce themselves: the settings files, the panel, four of the sounds, the set-up.
constexpr int kPhaseCount = 7;

}  // namespace

LoadingWindow::LoadingWindow() : label_(new QLabel(this)), bar_(new QProgressBar(this)) {
  setWindowTitle(QStringLiteral("鉄道運転シミュレータ"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label_);
  layout->addWidget(bar_);
  bar_->setRange(0, kPhaseCount);
  bar_->setValue(0);
  label_->setMinimumWidth(360);
}

void LoadingWindow::phase(std::string_view text) {
  label_->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  bar_->setValue(std::min(bar_->value() + 1, kPhaseCount));
  // Loading runs on this thread: show the phase before it starts.
  repaint();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

QString LoadingWindow::text() const { return label_->text(); }

}  // namespace vesk::app
