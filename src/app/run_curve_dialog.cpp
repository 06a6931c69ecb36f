#include "app/run_curve_dialog.h"

#include <QDialog>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QVBoxLayout>

#include "present/run_curve.h"

namespace vesk::app {

void showRunCurve(QWidget* parent, const sim::RunRecord& record, const std::string& title) {
  QImage picture(1280, 720, QImage::Format_ARGB32_Premultiplied);
  {
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    present::drawRunCurve(painter, QRectF(0, 0, picture.width(), picture.height()),
                          present::runCurveLine(record, title), {present::runCurveDrive(record, "this drive")});
  }
  auto* dialog = new QDialog(parent);
  dialog->setObjectName(QStringLiteral("RunCurve"));
  dialog->setWindowTitle(QString::fromStdString(title));
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  auto* layout = new QVBoxLayout(dialog);
  auto* label = new QLabel(dialog);
  label->setPixmap(QPixmap::fromImage(picture));
  layout->addWidget(label);
  dialog->show();
}

}  // namespace vesk::app
