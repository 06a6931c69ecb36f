// DrawingArea (`untendai`): the 800 x 850 surface of the forward view and the cab panel. It shows the picture
// the frame loop composes into its canvas; a click on it is reported (it resumes a paused drive).
#pragma once

#include <QImage>
#include <QWidget>

namespace vesk::app {

class DrawingArea : public QWidget {
  Q_OBJECT

 public:
  explicit DrawingArea(QWidget* parent);

  // The picture on screen; the frame loop draws into it, then calls update().
  QImage& canvas() { return canvas_; }
  const QImage& canvas() const { return canvas_; }

 Q_SIGNALS:
  void clicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QImage canvas_;
};

}  // namespace vesk::app
