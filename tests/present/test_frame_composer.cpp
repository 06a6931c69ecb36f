// The composed drawing area, checked at known pixels: the video picture, sprites with their pattern cells,
// rotation and alpha, the information texts, the clock face and the closing fade.
#include <gtest/gtest.h>

#include "present/frame_composer.h"

namespace vesk::present {
namespace {

// A strip of four 10 x 10 cells: red, green, blue, yellow.
QImage strip() {
  QImage image(40, 10, QImage::Format_RGB32);
  const QColor colours[] = {Qt::red, Qt::green, Qt::blue, Qt::yellow};
  for (int k = 0; k < 4; ++k) {
    for (int y = 0; y < 10; ++y) {
      for (int x = 0; x < 10; ++x) image.setPixelColor(10 * k + x, y, colours[k]);
    }
  }
  return image;
}

// A needle: a 40 x 4 white bar on a black (transparent) ground.
QImage needle() {
  QImage image(40, 40, QImage::Format_RGB32);
  image.fill(Qt::black);
  for (int y = 18; y < 22; ++y) {
    for (int x = 20; x < 40; ++x) image.setPixelColor(x, y, Qt::white);
  }
  return image;
}

class FrameComposerTest : public testing::Test {
 protected:
  FrameComposerTest() {
    images.put(media::makeImageEntry("img_lamp_p", strip(), false, 0, 10, 10));
    images.put(media::makeImageEntry("img_Needle_speed", needle(), true, qRgb(0, 0, 0)));
    shot.settings.Information = 1;
  }
  QImage compose(const QImage& video = {}, int fade = 0) {
    FrameComposer composer(images, view);
    QImage out;
    composer.compose(shot, video, fade, out);
    return out;
  }
  media::ImageList images;
  ViewGeometry view{.width = 800, .height = 450, .fadeExtraHeight = 350};
  sim::DriveSnapshot shot;
};

media::Sprite sprite(const char* picture, double x, double y, int w, int h) {
  media::Sprite s;
  s.picture = picture;
  s.x = x;
  s.y = y;
  s.width = w;
  s.height = h;
  return s;
}

TEST_F(FrameComposerTest, TheVideoFillsTheViewAndThePanelAreaStaysBlack) {
  QImage video(400, 225, QImage::Format_RGB32);
  video.fill(QColor(10, 120, 200));
  const QImage out = compose(video);
  ASSERT_EQ(out.size(), QSize(800, 850));
  EXPECT_EQ(out.pixelColor(0, 0), QColor(10, 120, 200));
  EXPECT_EQ(out.pixelColor(799, 449), QColor(10, 120, 200));
  EXPECT_EQ(out.pixelColor(400, 600), QColor(Qt::black));
}

TEST_F(FrameComposerTest, APatternSpriteShowsItsCell) {
  shot.sprites.push_back(sprite("img_lamp_p", 100, 500, 10, 10));
  shot.sprites.back().pattern = 2;
  QImage out = compose();
  EXPECT_EQ(out.pixelColor(105, 505), QColor(Qt::blue));
  shot.sprites.back().pattern = 4;  // beyond the strip: nothing
  out = compose();
  EXPECT_EQ(out.pixelColor(105, 505), QColor(Qt::black));
  shot.sprites.back().pattern = 0;
  shot.sprites.back().visible = false;
  EXPECT_EQ(compose().pixelColor(105, 505), QColor(Qt::black));
}

TEST_F(FrameComposerTest, ANeedleTurnsAboutItsCentreClockwiseIn256Steps) {
  media::Sprite n = sprite("img_Needle_speed", 300, 500, 40, 40);
  n.rotating = true;
  shot.sprites.push_back(n);
  // Angle 0: the bar points right of the centre (320, 520).
  QImage out = compose();
  EXPECT_EQ(out.pixelColor(335, 520), QColor(Qt::white));
  EXPECT_EQ(out.pixelColor(320, 535), QColor(Qt::black));
  // A quarter turn clockwise: it points down.
  shot.sprites.back().angle = 64;
  out = compose();
  EXPECT_EQ(out.pixelColor(320, 535), QColor(Qt::white));
  EXPECT_EQ(out.pixelColor(335, 520), QColor(Qt::black));
  // Half transparent: half the white over black.
  shot.sprites.back().alpha = 128;
  const QColor half = compose().pixelColor(320, 535);
  EXPECT_NEAR(half.red(), 128, 3);
}

TEST_F(FrameComposerTest, TextsAreDrawnWhiteWithABlackShadow) {
  shot.texts.SpeedText = "88888";
  const QImage out = compose();
  int white = 0;
  for (int y = 378; y < 410; ++y) {
    for (int x = 640; x < 760; ++x) white += out.pixelColor(x, y) == QColor(Qt::white) ? 1 : 0;
  }
  EXPECT_GT(white, 30);
}

// Shift+Up moves the view, its texts with it, over the top of the panel area, which is cleared below it.
TEST_F(FrameComposerTest, AMovedViewTakesItsTextsAlongAndLeavesNothingBehind) {
  QImage video(800, 450, QImage::Format_RGB32);
  video.fill(QColor(10, 120, 200));
  shot.texts.SpeedText = "88888";
  FrameComposer composer(images, view);
  QImage out;
  composer.compose(shot, video, 0, out);
  shot.viewSurfaceTop = -100;
  composer.compose(shot, video, 0, out);
  EXPECT_EQ(out.pixelColor(0, 349), QColor(10, 120, 200));
  EXPECT_EQ(out.pixelColor(0, 350), QColor(Qt::black));
  EXPECT_EQ(out.pixelColor(0, 449), QColor(Qt::black));
  const auto whiteIn = [&](int top, int bottom) {
    int white = 0;
    for (int y = top; y < bottom; ++y) {
      for (int x = 640; x < 760; ++x) white += out.pixelColor(x, y) == QColor(Qt::white) ? 1 : 0;
    }
    return white;
  };
  EXPECT_GT(whiteIn(278, 310), 30);
  EXPECT_EQ(whiteIn(350, 450), 0);
}

TEST_F(FrameComposerTest, TheClockFaceShowsOnlyItsHands) {
  view.clockX = 600;
  view.clockY = 700;
  QImage face(50, 50, QImage::Format_RGB32);
  face.fill(QColor(240, 240, 240));
  for (int y = 5; y <= 25; ++y) face.setPixelColor(25, y, Qt::black);
  shot.clockFace = face;
  shot.sprites.push_back(sprite("img_lamp_p", 600, 700, 10, 10));  // red under the clock
  const QImage out = compose();
  EXPECT_EQ(out.pixelColor(605, 705), QColor(Qt::red));
  EXPECT_EQ(out.pixelColor(625, 710), QColor(Qt::black));
}

TEST_F(FrameComposerTest, TheFadeDarkensTheViewAndTheAreaBelowIt) {
  QImage video(800, 450, QImage::Format_RGB32);
  video.fill(Qt::white);
  shot.sprites.push_back(sprite("img_lamp_p", 10, 840, 10, 10));
  const QImage out = compose(video, 128);
  EXPECT_NEAR(out.pixelColor(400, 200).red(), 127, 2);
  // The panel below the view and the fade's extra height is not darkened.
  EXPECT_EQ(out.pixelColor(15, 845), QColor(Qt::red));
}

TEST_F(FrameComposerTest, TheMonitorWritesTheKilometrePostOnTheInvertersPanel) {
  view.monitor = MonitorKind::Inverter;
  shot.position = 100000;  // 65.0 km on the down line
  const QImage out = compose();
  int grey = 0;
  for (int y = 450 + 116; y < 450 + 135; ++y) {
    for (int x = 560; x < 600; ++x) grey += out.pixelColor(x, y).red() > 40 ? 1 : 0;
  }
  EXPECT_GT(grey, 10);
}

TEST_F(FrameComposerTest, APausedDriveShowsTheStandbyPictureOverThePanel) {
  shot.sprites.push_back(sprite("img_lamp_p", 100, 500, 10, 10));  // red, below the picture
  shot.sprites.push_back(sprite("img_lamp_p", 20, 20, 10, 10));    // under the picture
  shot.texts.SpeedText = "88888";
  QImage standby(800, 450, QImage::Format_RGB32);
  standby.fill(QColor(0, 90, 40));
  FrameComposer composer(images, view);
  QImage out;
  composer.composeStandby(shot, standby, out);
  ASSERT_EQ(out.size(), QSize(800, 850));
  EXPECT_EQ(out.pixelColor(25, 25), QColor(0, 90, 40));
  EXPECT_EQ(out.pixelColor(700, 400), QColor(0, 90, 40));  // no texts over it
  EXPECT_EQ(out.pixelColor(105, 505), QColor(Qt::red));
  EXPECT_EQ(out.pixelColor(400, 700), QColor(Qt::black));
}

}  // namespace
}  // namespace vesk::present
