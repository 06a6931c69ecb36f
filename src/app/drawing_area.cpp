#include "app/drawing_area.h"

#include <QMouseEvent>
#include <QPainter>

#include "present/view_geometry.h"

namespace vesk::app {

DrawingArea::DrawingArea(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("untendai"));
  setFixedSize(present::ViewGeometry::kDrawingWidth, present::ViewGeometry::kDrawingHeight);
  // Every pixel is painted each time: nothing behind needs drawing first.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

namespace {

void paintWith(const DrawingArea::Painter& painter, QPainter& p, const QRect& area) {
  if (painter) {
    painter(p);
  } else {
    p.fillRect(area, Qt::black);
  }
}

}  // namespace

void DrawingArea::paintEvent(QPaintEvent* /*event*/) {
  QPainter p(this);
  paintWith(painter_, p, rect());
}

QImage DrawingArea::picture() const {
  QImage image(size(), QImage::Format_RGB32);
  QPainter p(&image);
  paintWith(painter_, p, image.rect());
  return image;
}

void DrawingArea::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) Q_EMIT clicked();
  QWidget::mousePressEvent(event);
}

}  // namespace vesk::app
