#include "present/frame_composer.h"

#include <QFontMetrics>
#include <QPainter>
#include <QRegion>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>

#include "present/overlay_layout.h"

namespace vesk::present {
namespace {

std::string lowerCase(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

void drawTextAt(QPainter& p, const QFont& font, int x, int y, const QString& text, const QColor& colour) {
  p.setFont(font);
  p.setPen(colour);
  // Texts are placed by their top-left corner, as the cab's texts always were.
  p.drawText(x, y + QFontMetrics(font).ascent(), text);
}

}  // namespace

FrameComposer::FrameComposer(const media::ImageList& images, ViewGeometry view) : images_(images), view_(view) {
  for (const media::ImageEntry& e : images_.entries()) byName_.emplace(lowerCase(e.name), &e);
}

QFont FrameComposer::textFont(int pointSize) {
  QFont font;
  font.setFamilies({QStringLiteral("Meiryo"), QStringLiteral("Noto Sans CJK JP")});
  font.setPointSize(std::max(pointSize, 1));
  font.setBold(true);
  font.setItalic(true);
  return font;
}

const media::ImageEntry* FrameComposer::entry(const std::string& picture) {
  const auto found = byName_.find(lowerCase(picture));
  return found == byName_.end() ? nullptr : found->second;
}

namespace {

QRect drawingRect() { return {0, 0, ViewGeometry::kDrawingWidth, ViewGeometry::kDrawingHeight}; }

void prepareDrawingArea(QImage& out) {
  if (out.size() != drawingRect().size() || out.format() != QImage::Format_RGB32) {
    out = QImage(drawingRect().size(), QImage::Format_RGB32);
  }
}

}  // namespace

void FrameComposer::composeStandby(const sim::DriveSnapshot& shot, const QImage& standby, QImage& out) {
  prepareDrawingArea(out);
  QPainter p(&out);
  composeStandby(p, drawnState(shot, view_), standby);
}

void FrameComposer::compose(const sim::DriveSnapshot& shot, const QImage& video, int fadeLevel, QImage& out) {
  prepareDrawingArea(out);
  QPainter p(&out);
  compose(p, drawnState(shot, view_), video, fadeLevel);
}

void FrameComposer::composeStandby(QPainter& p, const DrawnState& drawn, const QImage& standby) {
  p.fillRect(drawingRect(), Qt::black);
  drawSprites(p, drawn);
  if (!standby.isNull()) p.drawImage(0, 0, standby);
}

void FrameComposer::compose(QPainter& p, const DrawnState& drawn, const QImage& video, int fadeLevel) {
  // The view is drawn in place, clipped to where the driver has moved it; only the rest of the area is cleared.
  const QRect viewRect(QPoint(0, drawn.viewSurfaceTop), viewSize());
  for (const QRect& rest : (QRegion(drawingRect()) - QRegion(viewRect))) p.fillRect(rest, Qt::black);
  p.save();
  p.setClipRect(viewRect);
  p.translate(viewRect.topLeft());
  drawView(p, drawn, video);
  p.restore();
  drawSprites(p, drawn);
  drawMonitor(p, drawn);
  drawClock(p, drawn);
  if (fadeLevel > 0) {
    p.fillRect(QRect(0, 0, view_.width, view_.height + view_.fadeExtraHeight),
               QColor(0, 0, 0, std::clamp(fadeLevel, 0, 255)));
  }
}

void FrameComposer::drawView(QPainter& p, const DrawnState& drawn, const QImage& video) {
  p.setCompositionMode(QPainter::CompositionMode_Source);
  if (video.isNull()) {
    p.fillRect(QRect(QPoint(0, 0), viewSize()), Qt::black);
  } else {
    p.drawImage(QRect(QPoint(0, 0), viewSize()), video);
  }
  p.setCompositionMode(QPainter::CompositionMode_SourceOver);
  p.setRenderHint(QPainter::TextAntialiasing);
  const TextWidth width = [](const std::string& text, int size) {
    return QFontMetrics(textFont(size)).horizontalAdvance(QString::fromStdString(text));
  };
  const int shadow = shadowOffset(view_);
  for (const PlacedText& t :
       layoutOverlayTexts(drawn.texts, drawn.handleTexts, view_, drawn.moji, drawn.information, width)) {
    const QFont font = textFont(t.fontSize);
    const QString text = QString::fromStdString(t.text);
    drawTextAt(p, font, t.x + shadow, t.y + shadow, text, Qt::black);
    drawTextAt(p, font, t.x, t.y, text, Qt::white);
  }
}

void FrameComposer::drawSprites(QPainter& p, const DrawnState& drawn) {
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  for (const media::Sprite& s : drawn.sprites) {
    if (!s.visible || s.width <= 0 || s.height <= 0) continue;
    const media::ImageEntry* e = entry(s.picture);
    if (e == nullptr) continue;
    const QRect cell = e->patternRect(s.pattern);
    if (cell.isEmpty()) continue;
    if (!s.rotating) {
      p.drawImage(QRectF(s.x, s.y, s.width, s.height), e->image, cell);
      continue;
    }
    if (s.alpha <= 0) continue;
    p.save();
    // Rotating sprites turn about their centre, 256 steps a turn, clockwise on screen.
    p.translate(s.x + s.width / 2.0, s.y + s.height / 2.0);
    p.rotate(s.angle * 360.0 / 256.0);
    p.setOpacity(std::min(s.alpha, 255) / 255.0);
    p.drawImage(QRectF(-s.width / 2.0, -s.height / 2.0, s.width, s.height), e->image, cell);
    p.restore();
  }
}

void FrameComposer::drawMonitor(QPainter& p, const DrawnState& drawn) {
  if (view_.monitor == MonitorKind::None) return;
  const bool inverter = view_.monitor == MonitorKind::Inverter;
  // The monitor's surface is white, which is its transparent colour: only the texts reach the panel, below the
  // view at (0, 450).
  constexpr int kTop = 450;
  QFont font(QStringLiteral("MS UI Gothic"));
  font.setFamilies({QStringLiteral("MS UI Gothic"), QStringLiteral("Noto Sans CJK JP")});
  const auto text = [&](int size, QColor colour, int x, int y, const QString& s) {
    font.setPointSize(size);
    drawTextAt(p, font, x, kTop + y, s, colour);
  };
  const QColor grey(102, 102, 102);
  text(9, grey, inverter ? 560 : 563, inverter ? 116 : 93, drawn.kilometrePost);
  text(6, QColor(238, 238, 238), 593, inverter ? 117 : 94, drawn.monitorDate);
  text(inverter ? 10 : 9, grey, 623, inverter ? 113 : 93, drawn.monitorClock);
}

void FrameComposer::drawClock(QPainter& p, const DrawnState& drawn) {
  if (view_.clockX <= 0 || view_.clockY <= 0 || drawn.clockFace.isNull()) return;
  // The face's own background (its top-left colour) is transparent: only the hands show over the panel.
  QImage face = drawn.clockFace.convertToFormat(QImage::Format_ARGB32);
  const QRgb background = face.pixel(0, 0);
  for (int y = 0; y < face.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(face.scanLine(y));
    for (int x = 0; x < face.width(); ++x) {
      if (line[x] == background) line[x] = 0;
    }
  }
  p.drawImage(view_.clockX, view_.clockY, face);
}

}  // namespace vesk::present
