// DrawingArea (`untendai`): the 800 x 850 surface of the forward view and the cab panel. The frame loop's
// painter draws it straight into the window's backing store (no picture in between to copy); a click on it is
// reported (it resumes a paused drive).
#pragma once

#include <QImage>
#include <QWidget>

#include <functional>

class QPainter;

namespace vesk::app {

class DrawingArea : public QWidget {
  Q_OBJECT

 public:
  explicit DrawingArea(QWidget* parent);

  // Draws every pixel of the area; until one is set the area is black.
  using Painter = std::function<void(QPainter&)>;
  void setPainter(Painter painter) { painter_ = std::move(painter); }
  // What the area shows, drawn again into a picture (for screenshots and tests).
  QImage picture() const;

 Q_SIGNALS:
  void clicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  Painter painter_;
};

}  // namespace vesk::app
