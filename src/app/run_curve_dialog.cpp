#include "app/run_curve_dialog.h"

#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>
#include <exception>
#include <vector>

#include "present/run_curve.h"

namespace vesk::app {
namespace {

QPixmap curvePicture(const sim::RunRecord& record, const std::string& title, const sim::RunRecord* autopilot) {
  QImage picture(1280, 720, QImage::Format_ARGB32_Premultiplied);
  std::vector<present::RunCurveDrive> drives = {present::runCurveDrive(record, "this drive")};
  if (autopilot != nullptr) drives.push_back(present::runCurveDrive(*autopilot, "automatic driver"));
  {
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    present::drawRunCurve(painter, QRectF(0, 0, picture.width(), picture.height()),
                          present::runCurveLine(record, title), drives);
  }
  return QPixmap::fromImage(picture);
}

}  // namespace

void showRunCurve(QWidget* parent, const sim::RunRecord& record, const std::string& title,
                  std::function<std::unique_ptr<sim::RunRecord>()> autopilotDrive) {
  auto* dialog = new QDialog(parent);
  dialog->setObjectName(QStringLiteral("RunCurve"));
  dialog->setWindowTitle(QString::fromStdString(title));
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  auto* layout = new QVBoxLayout(dialog);
  auto* label = new QLabel(dialog);
  label->setObjectName(QStringLiteral("RunCurvePicture"));
  label->setPixmap(curvePicture(record, title, nullptr));
  layout->addWidget(label);
  if (autopilotDrive) {
    auto* compare = new QPushButton(QStringLiteral("自動運転と比べる(&A)"), dialog);
    compare->setObjectName(QStringLiteral("CompareWithAutopilot"));
    layout->addWidget(compare);
    QObject::connect(
        compare, &QPushButton::clicked, dialog, [label, compare, record, title, drive = std::move(autopilotDrive)] {
          // The whole service, headless: well under a second on the demo line.
          QApplication::setOverrideCursor(Qt::WaitCursor);
          try {
            const std::unique_ptr<sim::RunRecord> other = drive();
            label->setPixmap(curvePicture(record, title, other.get()));
            compare->setEnabled(false);
          } catch (const std::exception& error) {
            compare->setText(QStringLiteral("自動運転できませんでした: ") + QString::fromStdString(error.what()));
            compare->setEnabled(false);
          }
          QApplication::restoreOverrideCursor();
        });
  }
  dialog->show();
}

}  // namespace vesk::app
