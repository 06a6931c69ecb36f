#include "demo_line/track_pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include "demo_line/picture_canvas.h"

namespace vesk::demo {
namespace {

const QColor kSky(0xA8, 0xC0, 0xD8);

void drawBlade(QPainter& p, QPointF hub, double degrees) {
  p.save();
  p.translate(hub);
  p.rotate(degrees);
  QPainterPath blade;
  blade.moveTo(-1.2, 0);
  blade.cubicTo(-3.6, -6, -2.6, -18, -0.4, -27);
  blade.lineTo(0.6, -27);
  blade.cubicTo(1.8, -16, 2.4, -6, 1.4, 0);
  blade.closeSubpath();
  QLinearGradient shade(-3, 0, 3, 0);
  shade.setColorAt(0, QColor(0xF4, 0xF6, 0xF8));
  shade.setColorAt(1, QColor(0xB8, 0xBE, 0xC6));
  p.setPen(Qt::NoPen);
  p.setBrush(shade);
  p.drawPath(blade);
  p.restore();
}

}  // namespace

QImage windTurbinePicture(int phase) {
  QImage canvas = transparentCanvas(kAnimWidth, kAnimHeight);
  QPainter p(&canvas);
  p.setRenderHint(QPainter::Antialiasing);
  const QPointF hub(50, 29);
  // The tower, tapering upwards, standing on a small grassy mound.
  QLinearGradient tower(46, 0, 54, 0);
  tower.setColorAt(0, QColor(0xD0, 0xD4, 0xD8));
  tower.setColorAt(0.4, QColor(0xF6, 0xF8, 0xFA));
  tower.setColorAt(1, QColor(0xA8, 0xAE, 0xB4));
  p.setPen(Qt::NoPen);
  p.setBrush(tower);
  p.drawPolygon(QPolygonF({QPointF(48.4, hub.y()), QPointF(51.6, hub.y()), QPointF(53, 72), QPointF(47, 72)}));
  p.setBrush(QColor(0x5A, 0x7A, 0x40));
  p.drawEllipse(QPointF(50, 75), 16, 4);
  // The nacelle behind the rotor.
  p.setBrush(QColor(0xE4, 0xE8, 0xEC));
  p.drawRoundedRect(QRectF(45.5, hub.y() - 3, 11, 6), 2, 2);
  // Three blades: a third of a turn covers all 14 phases, after which the picture repeats.
  const double turn = phase * 120.0 / kAnimPhases;
  for (int b = 0; b < 3; ++b) drawBlade(p, hub, turn + b * 120.0);
  QRadialGradient cap(hub + QPointF(-1, -1), 3.5);
  cap.setColorAt(0, QColor(0xFF, 0xFF, 0xFF));
  cap.setColorAt(1, QColor(0xB0, 0xB6, 0xBC));
  p.setBrush(cap);
  p.drawEllipse(hub, 3, 3);
  p.end();
  return keyedPicture(canvas, kSky);
}

QImage levelCrossingPicture(bool lightsOn) {
  QImage canvas = transparentCanvas(kAnimWidth, kAnimHeight);
  QPainter p(&canvas);
  p.setRenderHint(QPainter::Antialiasing);
  const double postX = 30;
  // The post, striped black and yellow at its foot.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xC8, 0xCC, 0xD0));
  p.drawRect(QRectF(postX - 2.5, 8, 5, 66));
  for (int i = 0; i < 4; ++i) {
    p.setBrush(i % 2 ? QColor(0xFF, 0xD0, 0x10) : QColor(0x18, 0x18, 0x18));
    p.drawRect(QRectF(postX - 2.5, 58 + i * 4, 5, 4));
  }
  // The crossbuck: two yellow boards with black edges.
  for (double angle : {35.0, -35.0}) {
    p.save();
    p.translate(postX, 13);
    p.rotate(angle);
    p.setPen(QPen(QColor(0x18, 0x18, 0x18), 1.4));
    p.setBrush(QColor(0xFF, 0xD0, 0x10));
    p.drawRect(QRectF(-15, -3, 30, 6));
    p.restore();
  }
  // Two lamps side by side on a black plate, with hoods.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x14, 0x14, 0x16));
  p.drawRoundedRect(QRectF(postX - 19, 25, 38, 16), 8, 8);
  for (double dx : {-10.0, 10.0}) {
    const QPointF c(postX + dx, 33);
    if (lightsOn) {
      QRadialGradient glow(c, 9);
      glow.setColorAt(0, QColor(0xFF, 0xA0, 0x90));
      glow.setColorAt(0.45, QColor(0xFF, 0x20, 0x14));
      glow.setColorAt(1, QColor(0xFF, 0x20, 0x14, 0));
      p.setBrush(glow);
      p.drawEllipse(c, 9, 9);
    } else {
      p.setBrush(QColor(0x48, 0x14, 0x12));
      p.drawEllipse(c, 5.5, 5.5);
      p.setBrush(QColor(255, 255, 255, 50));
      p.drawEllipse(c + QPointF(-2, -2), 1.6, 1.6);
    }
  }
  // The direction board under the lamps and the barrier arm, lowered across the road.
  p.setBrush(QColor(0x18, 0x18, 0x18));
  p.drawRect(QRectF(postX - 7, 44, 14, 6));
  p.setPen(QColor(0xFF, 0xFF, 0xFF));
  drawCentredText(p, QPointF(postX, 47), QStringLiteral("⇔"), japaneseFont(7, true));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x30, 0x30, 0x34));
  p.drawRect(QRectF(postX + 2, 52, 8, 8));
  for (int i = 0; i < 11; ++i) {
    p.setBrush(i % 2 ? QColor(0xFF, 0xD0, 0x10) : QColor(0x18, 0x18, 0x18));
    p.drawRect(QRectF(postX + 10 + i * 5.5, 54, 5.5, 4));
  }
  p.end();
  return keyedPicture(canvas, kSky);
}

}  // namespace vesk::demo
