#include "demo_line/picture_canvas.h"

#include <QFontMetricsF>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace vesk::demo {

QImage transparentCanvas(int width, int height) {
  QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  return image;
}

QImage opaqueCanvas(int width, int height, QColor fill) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(fill);
  return image;
}

QImage keyedPicture(const QImage& drawing, QColor behind) {
  const QImage source = drawing.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  QImage out(source.size(), QImage::Format_RGB32);
  const int br = behind.red();
  const int bg = behind.green();
  const int bb = behind.blue();
  for (int y = 0; y < source.height(); ++y) {
    const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
    auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < source.width(); ++x) {
      const int a = qAlpha(in[x]);
      if (a < 128) {
        line[x] = kKeyColour;
        continue;
      }
      const int rest = 255 - a;
      QRgb c = qRgb(std::min(255, qRed(in[x]) + (br * rest + 127) / 255),
                    std::min(255, qGreen(in[x]) + (bg * rest + 127) / 255),
                    std::min(255, qBlue(in[x]) + (bb * rest + 127) / 255));
      if (c == kKeyColour) c = qRgb(0xFE, 0x00, 0xFE);
      line[x] = c;
    }
  }
  return out;
}

QFont japaneseFont(double pixelSize, bool bold) {
  QFont font(QStringLiteral("Noto Sans CJK JP"));
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixelSize))));
  font.setWeight(bold ? QFont::Bold : QFont::Normal);
  font.setStyleStrategy(QFont::PreferAntialias);
  return font;
}

QFont fittedFont(const QString& text, double maxWidth, double maxHeight, double pixelSize, bool bold) {
  for (double size = pixelSize; size > 6; size -= 1) {
    const QFont font = japaneseFont(size, bold);
    const QRectF ink = QFontMetricsF(font).tightBoundingRect(text);
    if (ink.width() <= maxWidth && ink.height() <= maxHeight) return font;
  }
  return japaneseFont(6, bold);
}

namespace {

// Text is filled as an outline rather than drawn through the glyph cache: the cache renders a glyph's first
// use differently from later ones, and the pack must come out byte for byte the same on every run.
QPainterPath textOutline(const QString& text, const QFont& font) {
  QPainterPath outline;
  outline.addText(QPointF(), font, text);
  return outline;
}

void fillText(QPainter& painter, const QPainterPath& outline, QPointF offset) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.translate(offset);
  painter.fillPath(outline, painter.pen().brush());
  painter.restore();
}

}  // namespace

void drawCentredText(QPainter& painter, QPointF centre, const QString& text, const QFont& font) {
  const QPainterPath outline = textOutline(text, font);
  fillText(painter, outline, centre - outline.boundingRect().center());
}

void drawLeftText(QPainter& painter, QPointF leftMiddle, const QString& text, const QFont& font) {
  const QPainterPath outline = textOutline(text, font);
  const QRectF ink = outline.boundingRect();
  fillText(painter, outline, QPointF(leftMiddle.x() - ink.left(), leftMiddle.y() - ink.center().y()));
}

QString qtext(const std::string& utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

QImage gridSheet(const std::vector<QImage>& cells, int perRow, QRgb fill) {
  if (cells.empty()) return {};
  const int cw = cells.front().width();
  const int ch = cells.front().height();
  const int count = static_cast<int>(cells.size());
  const int columns = std::min(perRow, count);
  const int rows = (count + perRow - 1) / perRow;
  QImage sheet(cw * columns, ch * rows, QImage::Format_RGB32);
  sheet.fill(fill);
  QPainter painter(&sheet);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  for (int k = 0; k < count; ++k) {
    painter.drawImage(QPoint((k % perRow) * cw, (k / perRow) * ch),
                      cells[static_cast<std::size_t>(k)].convertToFormat(QImage::Format_RGB32));
  }
  return sheet;
}

QColor mixColours(QColor a, QColor b, double t) {
  auto mix = [t](int x, int y) { return std::clamp(static_cast<int>(std::lround(x + (y - x) * t)), 0, 255); };
  return QColor(mix(a.red(), b.red()), mix(a.green(), b.green()), mix(a.blue(), b.blue()));
}

QColor rgbColour(unsigned rgb) { return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

std::uint32_t FixedRandom::next() {
  // xorshift32: tiny, and the same sequence on every machine.
  state_ ^= state_ << 13;
  state_ ^= state_ >> 17;
  state_ ^= state_ << 5;
  return state_;
}

double FixedRandom::uniform() { return (next() >> 8) / 16777216.0; }

}  // namespace vesk::demo
