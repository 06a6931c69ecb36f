#include "app/drawing_area.h"

#include <QMouseEvent>
#include <QPainter>

#include "present/view_geometry.h"

namespace vesk::app {

DrawingArea::DrawingArea(QWidget* parent)
    : QWidget(parent), canvas_(present::ViewGeometry::kDrawingWidth, present::ViewGeometry::kDrawingHeight,
                               QImage::Format_ARGB32_Premultiplied) {
  setObjectName(QStringLiteral("untendai"));
  setFixedSize(canvas_.size());
  canvas_.fill(Qt::black);
  // Every pixel is painted each time: nothing behind needs drawing first.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void DrawingArea::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  p.setCompositionMode(QPainter::CompositionMode_Source);
  p.drawImage(event->rect(), canvas_, event->rect());
}

void DrawingArea::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) Q_EMIT clicked();
  QWidget::mousePressEvent(event);
}

}  // namespace vesk::app
