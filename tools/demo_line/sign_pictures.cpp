#include "demo_line/track_pictures.h"

#include <QLinearGradient>
#include <QPainter>

#include <array>
#include <cmath>
#include <functional>

#include "demo_line/picture_canvas.h"

namespace vesk::demo {
namespace {

const QColor kScenery(0x70, 0x80, 0x70);
const QColor kInk(0x10, 0x10, 0x10);
const QColor kBoardWhite(0xF6, 0xF6, 0xF2);
const QColor kSignYellow(0xFF, 0xD4, 0x20);

void drawPost(QPainter& p, double top) {
  QLinearGradient g(kSignCell / 2.0 - 2.5, 0, kSignCell / 2.0 + 2.5, 0);
  g.setColorAt(0, QColor(0x70, 0x74, 0x78));
  g.setColorAt(0.4, QColor(0xB8, 0xBC, 0xC0));
  g.setColorAt(1, QColor(0x5C, 0x60, 0x64));
  p.setPen(Qt::NoPen);
  p.setBrush(g);
  p.drawRect(QRectF(kSignCell / 2.0 - 2.5, top, 5, kSignCell - top));
}

void drawBoard(QPainter& p, const QRectF& board, QColor face, QColor border = kInk) {
  p.setPen(QPen(border, 2.2));
  p.setBrush(face);
  p.drawRoundedRect(board, 2.5, 2.5);
}

// A board on a post: the usual sign of this sheet.
QImage boardSign(QColor face, const std::function<void(QPainter&, const QRectF&)>& content) {
  QImage canvas = transparentCanvas(kSignCell, kSignCell);
  QPainter p(&canvas);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF board(10, 3, 44, 38);
  drawPost(p, board.bottom() - 1);
  drawBoard(p, board, face);
  content(p, board);
  p.end();
  return keyedPicture(canvas, kScenery);
}

QImage emptyCell() { return keyedPicture(transparentCanvas(kSignCell, kSignCell), kScenery); }

QString figureText(double value) {
  const double a = std::fabs(value);
  if (std::fabs(a - std::round(a)) < 0.05) return QString::number(static_cast<int>(std::lround(a)));
  return QString::number(a, 'f', 1);
}

QImage gradientPost(double permil) {
  QImage canvas = transparentCanvas(kSignCell, kSignCell);
  QPainter p(&canvas);
  p.setRenderHint(QPainter::Antialiasing);
  drawPost(p, 24);
  // The arm points up for a rising gradient, down for a falling one and lies level ("L") on the flat.
  const bool level = std::fabs(permil) < 0.05;
  p.translate(32, 24);
  p.rotate(level ? 0 : (permil > 0 ? -16 : 16));
  const QRectF arm(-28, -12, 56, 24);
  drawBoard(p, arm, kBoardWhite);
  p.setPen(kInk);
  const QString text = level ? QStringLiteral("L") : figureText(permil);
  drawCentredText(p, arm.center(), text, fittedFont(text, arm.width() - 8, arm.height() - 6, 19, true));
  p.end();
  return keyedPicture(canvas, kScenery);
}

}  // namespace

QImage stopTargetSheet() {
  std::vector<QImage> cells = {emptyCell()};
  for (int k = 1; k <= kStopTargets; ++k) {
    cells.push_back(boardSign(kBoardWhite, [k](QPainter& p, const QRectF& board) {
      // A red mark on top shows the driver where to stop; the number below it.
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(0xE0, 0x20, 0x18));
      p.drawRect(QRectF(board.left() + 2, board.top() + 2, board.width() - 4, 7));
      p.setPen(kInk);
      const QString text = QString::number(k);
      drawCentredText(p, QPointF(board.center().x(), board.top() + 24), text,
                      fittedFont(text, board.width() - 8, 24, 26, true));
    }));
  }
  return gridSheet(cells, static_cast<int>(cells.size()));
}

QImage gradientPostSheet(const std::vector<double>& permil) {
  std::vector<QImage> cells = {emptyCell()};
  for (double g : permil) cells.push_back(gradientPost(g));
  return gridSheet(cells, static_cast<int>(cells.size()));
}

QImage speedLimitSheet(const std::vector<int>& limits) {
  std::vector<QImage> cells = {emptyCell()};
  for (int limit : limits) {
    cells.push_back(boardSign(kBoardWhite, [limit](QPainter& p, const QRectF& board) {
      p.setPen(kInk);
      const QString text = QString::number(limit);
      drawCentredText(p, board.center(), text, fittedFont(text, board.width() - 6, board.height() - 10, 30, true));
    }));
  }
  cells.push_back(boardSign(kBoardWhite, [](QPainter& p, const QRectF& board) {
    // The end of a limit: a black bar across the board and the word.
    p.setPen(QPen(kInk, 3));
    p.drawLine(board.bottomLeft() + QPointF(4, -4), board.topRight() + QPointF(-4, 4));
    p.setPen(Qt::NoPen);
    p.setBrush(kBoardWhite);
    p.drawRect(QRectF(board.left() + 4, board.center().y() - 8, board.width() - 8, 16));
    p.setPen(kInk);
    drawCentredText(p, board.center(), QStringLiteral("解除"), japaneseFont(15, true));
  }));
  return gridSheet(cells, static_cast<int>(cells.size()));
}

QImage otherSignSheet() {
  auto word = [](const QString& big, const QString& small, QColor ink) {
    return [big, small, ink](QPainter& p, const QRectF& board) {
      p.setPen(ink);
      if (small.isEmpty()) {
        drawCentredText(p, board.center(), big, fittedFont(big, board.width() - 8, board.height() - 8, 28, true));
      } else {
        drawCentredText(p, QPointF(board.center().x(), board.top() + 15), big,
                        fittedFont(big, board.width() - 6, 22, 22, true));
        drawCentredText(p, QPointF(board.center().x(), board.bottom() - 8), small, japaneseFont(11, true));
      }
    };
  };
  std::vector<QImage> cells = {emptyCell()};
  cells.push_back(boardSign(kBoardWhite, word(QStringLiteral("時"), {}, kInk)));
  cells.push_back(boardSign(kBoardWhite, [](QPainter& p, const QRectF& board) {
    // Station approach: three black chevrons above the word.
    p.setPen(QPen(kInk, 3, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    for (int i = 0; i < 3; ++i) {
      const double x = board.left() + 12 + i * 10;
      p.drawPolyline(
          QPolygonF({QPointF(x, board.top() + 6), QPointF(x + 6, board.top() + 13), QPointF(x, board.top() + 20)}));
    }
    p.setPen(kInk);
    drawCentredText(p, QPointF(board.center().x(), board.bottom() - 9), QStringLiteral("駅接近"),
                    japaneseFont(11, true));
  }));
  cells.push_back(boardSign(kBoardWhite, [](QPainter& p, const QRectF& board) {
    p.setPen(QPen(kInk, 2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(board.center(), 15, 15);
    p.setPen(kInk);
    drawCentredText(p, board.center(), QStringLiteral("汽"), japaneseFont(20, true));
  }));
  {
    // Level crossing ahead: a yellow diamond with the word.
    QImage canvas = transparentCanvas(kSignCell, kSignCell);
    QPainter p(&canvas);
    p.setRenderHint(QPainter::Antialiasing);
    drawPost(p, 40);
    const QPolygonF diamond({QPointF(32, 2), QPointF(54, 24), QPointF(32, 46), QPointF(10, 24)});
    p.setPen(QPen(kInk, 2.2));
    p.setBrush(kSignYellow);
    p.drawPolygon(diamond);
    p.setPen(kInk);
    drawCentredText(p, QPointF(32, 24), QStringLiteral("踏切"), japaneseFont(13, true));
    p.end();
    cells.push_back(keyedPicture(canvas, kScenery));
  }
  cells.push_back(
      boardSign(kBoardWhite, word(QStringLiteral("停止"), QStringLiteral("予告"), QColor(0xD0, 0x18, 0x10))));
  cells.push_back(boardSign(kSignYellow, word(QStringLiteral("徐行"), {}, kInk)));
  cells.push_back(boardSign(kBoardWhite, word(QStringLiteral("徐行"), QStringLiteral("解除"), kInk)));
  return gridSheet(cells, static_cast<int>(cells.size()));
}

QImage stopLinePicture(QColor colour) {
  QImage line(800, 4, QImage::Format_RGB32);
  line.fill(colour);
  return line;
}

QImage remainingDistanceSheet() {
  const std::array<QColor, 4> colours = {QColor(0x30, 0xE0, 0x50), QColor(0xFF, 0xE0, 0x20), QColor(0xFF, 0x90, 0x20),
                                         QColor(0xF0, 0x28, 0x20)};
  std::vector<QImage> cells;
  for (const QColor& colour : colours) {
    QImage cell(kRemainWidth, kRemainHeight, QImage::Format_RGB32);
    cell.fill(Qt::black);
    QPainter p(&cell);
    const QRectF bar(2, kRemainHeight / 2.0, kRemainWidth - 3, kRemainHeight / 2.0);
    QLinearGradient shade(bar.left(), 0, bar.right(), 0);
    shade.setColorAt(0, colour.darker(130));
    shade.setColorAt(0.35, colour.lighter(125));
    shade.setColorAt(1, colour.darker(150));
    p.fillRect(bar, shade);
    p.fillRect(QRectF(bar.left(), bar.top(), 1, bar.height()), QColor(0x28, 0x28, 0x28));
    p.fillRect(QRectF(bar.right() - 1, bar.top(), 1, bar.height()), QColor(0x28, 0x28, 0x28));
    // A mark every tenth of the run, so the bar's movement reads like a ruler.
    for (int i = 1; i < 10; ++i) {
      p.fillRect(QRectF(bar.left(), bar.top() + i * bar.height() / 10, bar.width(), 1), colour.darker(170));
    }
    p.end();
    cells.push_back(cell);
  }
  return gridSheet(cells, static_cast<int>(cells.size()), qRgb(0, 0, 0));
}

}  // namespace vesk::demo
