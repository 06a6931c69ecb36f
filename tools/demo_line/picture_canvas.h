// Drawing helpers shared by the demo pack's pictures: the transparent key colour and the step that turns a
// drawing with alpha into a keyed picture, Japanese fonts, centred text, grids of pattern cells.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QString>

#include <cstdint>
#include <string>
#include <vector>

namespace vesk::demo {

// The transparent colour of every overlay picture: the simulator keys out the colour of the bottom-left pixel,
// so this colour marks transparent pixels and is never drawn otherwise.
inline constexpr QRgb kKeyColour = 0xFFFF00FF;

// A transparent canvas (premultiplied ARGB) to draw an overlay picture on with antialiasing.
QImage transparentCanvas(int width, int height);
// An opaque canvas filled with `fill`.
QImage opaqueCanvas(int width, int height, QColor fill);

// Turns a drawing on a transparent canvas into a keyed picture: pixels less than half covered become the key
// colour, the others are blended over `behind` (the colour the picture will usually be seen against) so that
// their edges stay crisp where the simulator cuts them out. No drawn pixel keeps the key colour.
QImage keyedPicture(const QImage& drawing, QColor behind);

// Noto Sans CJK JP at a pixel size.
QFont japaneseFont(double pixelSize, bool bold = false);
// The largest size up to `pixelSize` at which `text` fits in maxWidth x maxHeight (by its ink).
QFont fittedFont(const QString& text, double maxWidth, double maxHeight, double pixelSize, bool bold = false);
// Draws `text` with its ink centred on `centre` in the painter's pen colour.
void drawCentredText(QPainter& painter, QPointF centre, const QString& text, const QFont& font);
// Draws `text` with its ink left edge at x and its ink vertically centred on y.
void drawLeftText(QPainter& painter, QPointF leftMiddle, const QString& text, const QFont& font);

QString qtext(const std::string& utf8);

// Cells of equal size laid out row by row, `perRow` to a row; grid places without a cell get `fill`.
QImage gridSheet(const std::vector<QImage>& cells, int perRow, QRgb fill = kKeyColour);

// Colour arithmetic for shading.
QColor mixColours(QColor a, QColor b, double t);  // t = 0: a, 1: b
QColor rgbColour(unsigned rgb);

// A small fixed pseudo-random sequence (the same every run) for textures and stars.
class FixedRandom {
 public:
  explicit FixedRandom(std::uint32_t seed) : state_(seed ? seed : 1u) {}
  std::uint32_t next();
  double uniform();  // [0, 1)

 private:
  std::uint32_t state_;
};

}  // namespace vesk::demo
