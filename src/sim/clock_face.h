// The analog clock of the cab panel: a 50 x 50 picture with three black hands from its centre. The time is set
// once a simulated second; the picture is drawn only when someone asks for it (a frame of the window), so a
// headless drive never pays for drawing.
#pragma once

#include <QImage>

namespace vesk::sim {

class ClockFace {
 public:
  static constexpr int kSize = 50;

  // Hands at h:m:s; `radius` is the minute and second hands' length (the hour hand is 0.6 of it).
  void setTime(int h, int m, int s, int radius);
  // The face at the time set last; null until a time has been set.
  const QImage& picture() const;

 private:
  mutable QImage picture_;
  mutable bool stale_ = false;
  int h_ = 0;
  int m_ = 0;
  int s_ = 0;
  int radius_ = 0;
};

}  // namespace vesk::sim
