#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <ostream>
#include <vector>

#include "demo_line/avi_writer.h"
#include "demo_line/track_ahead.h"
#include "demo_line/video.h"
#include "media/video_source.h"
#include "support/temp_dir.h"

namespace vesk::demo {
namespace {

// A run at one steady speed from `origin` (metres along the direction), `pictures` pictures long.
Recording steadyRun(bool down, double origin, double kmh, int pictures) {
  Recording r;
  r.down = down;
  r.origin = origin;
  r.rows.push_back({0, 2 * pictures, kmh, kmh, 0});
  return r;
}

// Mean absolute difference of the colour channels over an area, 0..255.
double difference(const QImage& a, const QImage& b, const QRect& area) {
  double sum = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      const QRgb p = a.pixel(x, y);
      const QRgb q = b.pixel(x, y);
      sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
    }
  }
  return sum / (3.0 * area.width() * area.height());
}

double difference(const QImage& a, const QImage& b) { return difference(a, b, a.rect()); }

double brightness(const QImage& image) {
  double sum = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) sum += qGray(image.pixel(x, y));
  }
  return sum / (image.width() * image.height());
}

QImage render(const Line& line, double position) {
  QImage image;
  renderView(line, position, image);
  return image;
}

// The video: every picture is there, in order, and shows the view at its own position.

class VideoReadBack : public testing::TestWithParam<int> {
 protected:
  // One short video for all the cases: up to a station and along its platform at 20 km/h, 3 s, 45 pictures.
  static void SetUpTestSuite() {
    directory_ = std::make_unique<test::TempDir>();
    recording_ = steadyRun(true, 2590, 20, 45);
    line_ = lineInDirection(true);
    written_ = writeVideo(file(), line_, recording_);
  }
  static void TearDownTestSuite() { directory_.reset(); }
  static std::filesystem::path file() { return directory_->path() / "movie" / "down.avi"; }

  static inline std::unique_ptr<test::TempDir> directory_;
  static inline Recording recording_;
  static inline Line line_;
  static inline bool written_ = false;
};

TEST_P(VideoReadBack, PictureShowsTheViewAtItsPosition) {
  ASSERT_TRUE(written_);
  const auto video = media::VideoSource::open(file());
  ASSERT_TRUE(video);
  EXPECT_EQ(video->frameCount(), recording_.pictureCount());
  EXPECT_EQ(video->size(), QSize(kViewWidth, kViewHeight));

  const int n = GetParam();
  QImage decoded;
  ASSERT_TRUE(video->readFrame(n, decoded));
  // Close to its own view, and clearly closer to it than to the views of the pictures round it: no picture is
  // missing, repeated or out of place.
  const double own = difference(decoded, render(line_, positionAtFrame(recording_, 2 * n)));
  EXPECT_LT(own, 3.5) << "picture " << n;
  for (int k = std::max(0, n - 2); k <= std::min(recording_.pictureCount() - 1, n + 2); ++k) {
    if (k == n) continue;
    const double other = difference(decoded, render(line_, positionAtFrame(recording_, 2 * k)));
    EXPECT_GT(other, 1.3 * own) << "picture " << n << " against the view of " << k;
  }
}

// The first, either side of key frames (every 15th), and the last.
INSTANTIATE_TEST_SUITE_P(Pictures, VideoReadBack, testing::Values(0, 1, 14, 15, 16, 30, 31, 44));

TEST(VideoWriting, ReportsProgressToTheEnd) {
  test::TempDir dir;
  std::vector<double> reports;
  ASSERT_TRUE(writeVideo(dir.path() / "short.avi", lineInDirection(false), steadyRun(false, 1000, 60, 20),
                         [&](double done) { reports.push_back(done); }));
  ASSERT_FALSE(reports.empty());
  EXPECT_DOUBLE_EQ(reports.back(), 1.0);
  for (std::size_t i = 1; i < reports.size(); ++i) EXPECT_GE(reports[i], reports[i - 1]);
  EXPECT_EQ(media::videoFrameCount(dir.path() / "short.avi"), 20);
}

TEST(VideoWriting, FailsWhereNoFileCanBeMade) {
  test::TempDir dir;
  const auto blocker = dir.write("blocker", "not a folder");
  EXPECT_FALSE(writeVideo(blocker / "down.avi", lineInDirection(true), steadyRun(true, 500, 30, 3)));
  EXPECT_FALSE(std::filesystem::exists(blocker / "down.avi"));
}

TEST(VideoWriting, WriterTakesOnlyPicturesOfItsSize) {
  test::TempDir dir;
  auto writer = AviWriter::open(dir.path() / "sized.avi", kViewWidth, kViewHeight);
  ASSERT_TRUE(writer);
  QImage small(320, 240, QImage::Format_RGB32);
  small.fill(Qt::gray);
  EXPECT_FALSE(writer->write(small));
  QImage right(kViewWidth, kViewHeight, QImage::Format_RGB32);
  right.fill(Qt::gray);
  EXPECT_TRUE(writer->write(right));
  EXPECT_TRUE(writer->finish());
  EXPECT_FALSE(writer->write(right));
  EXPECT_EQ(media::videoFrameCount(dir.path() / "sized.avi"), 1);
}

// The view from the cab.

struct ViewCase {
  bool down;
  double position;
};

std::ostream& operator<<(std::ostream& out, const ViewCase& c) {
  return out << (c.down ? "down " : "up ") << c.position << " m";
}

class ViewAt : public testing::TestWithParam<ViewCase> {};

TEST_P(ViewAt, IsTheSameEveryTime) {
  const Line line = lineInDirection(GetParam().down);
  const QImage first = render(line, GetParam().position);
  EXPECT_EQ(first.size(), QSize(kViewWidth, kViewHeight));
  EXPECT_EQ(first.format(), QImage::Format_RGB32);
  EXPECT_TRUE(first == render(line, GetParam().position));
}

// Open line, curve, station, tunnel mouth, inside a tunnel, level crossing, bridge, in both directions.
INSTANTIATE_TEST_SUITE_P(Places, ViewAt,
                         testing::Values(ViewCase{true, 600}, ViewCase{true, 900}, ViewCase{true, 2650},
                                         ViewCase{true, 3480}, ViewCase{true, 3700}, ViewCase{true, 1285},
                                         ViewCase{true, 1540}, ViewCase{false, 7500}, ViewCase{false, 9200},
                                         ViewCase{false, 6500}));

struct MotionCase {
  double kmh;
  bool changes;
};

std::ostream& operator<<(std::ostream& out, const MotionCase& c) { return out << c.kmh << " km/h"; }

class ViewInMotion : public testing::TestWithParam<MotionCase> {};

TEST_P(ViewInMotion, ChangesOnlyWhileMoving) {
  const Line line = lineInDirection(true);
  const Recording run = steadyRun(true, 600, GetParam().kmh, 2);
  const QImage now = render(line, positionAtFrame(run, 0));
  const QImage next = render(line, positionAtFrame(run, 2));
  // The near track, where the sleepers pass.
  const double change = difference(now, next, QRect(250, 330, 300, 120));
  if (GetParam().changes) {
    EXPECT_GT(change, 1.0) << GetParam().kmh << " km/h";
  } else {
    EXPECT_EQ(change, 0.0);
  }
}

INSTANTIATE_TEST_SUITE_P(Speeds, ViewInMotion,
                         testing::Values(MotionCase{0, false}, MotionCase{5, true}, MotionCase{25, true},
                                         MotionCase{90, true}));

class TunnelView : public testing::TestWithParam<ViewCase> {};

TEST_P(TunnelView, IsMuchDarkerThanTheOpenLine) {
  const Line line = lineInDirection(GetParam().down);
  EXPECT_LT(brightness(render(line, GetParam().position)), 0.35 * brightness(render(line, 600)));
}

// The middle of each tunnel, and just inside one.
INSTANTIATE_TEST_SUITE_P(Tunnels, TunnelView,
                         testing::Values(ViewCase{true, 3700}, ViewCase{true, 8420}, ViewCase{true, 3505},
                                         ViewCase{false, 6575}, ViewCase{false, 1875}));

struct PlatformCase {
  bool down;
  bool onTheLeft;
};

std::ostream& operator<<(std::ostream& out, const PlatformCase& c) { return out << (c.down ? "down" : "up"); }

class PlatformView : public testing::TestWithParam<PlatformCase> {};

TEST_P(PlatformView, ShowsOnItsSideOfTheTrack) {
  const Line line = lineInDirection(GetParam().down);
  // The same line with platforms of no length: only the slabs differ (and nothing else moves, as the houses
  // round the stations would if the stations went).
  Line withoutPlatforms = line;
  withoutPlatforms.platformBefore = 0;
  withoutPlatforms.platformAfter = 0;
  for (const Station& station : line.stations) {
    // Running in along the platform, 60 m before the stopping mark.
    const double position = station.at - 60;
    const QImage with = render(line, position);
    const QImage without = render(withoutPlatforms, position);
    const double left = difference(with, without, QRect(0, 0, 380, kViewHeight));
    const double right = difference(with, without, QRect(420, 0, 380, kViewHeight));
    EXPECT_GT(std::max(left, right), 5.0) << station.name;
    if (GetParam().onTheLeft) {
      EXPECT_GT(left, 10 * right) << station.name;
    } else {
      EXPECT_GT(right, 10 * left) << station.name;
    }
  }
}

// The platforms are on the left running down and so on the right running up.
INSTANTIATE_TEST_SUITE_P(Directions, PlatformView,
                         testing::Values(PlatformCase{true, true}, PlatformCase{false, false}));

// The track ahead.

struct CourseCase {
  bool down;
  double position;
  int side;    // where the track lies 200 m ahead: +1 right, -1 left as the cab sees it, 0 straight ahead
  int height;  // +1 above the level the cab stands on, -1 below, 0 on it
};

std::ostream& operator<<(std::ostream& out, const CourseCase& c) {
  return out << (c.down ? "down " : "up ") << c.position << " m";
}

class CourseInView : public testing::TestWithParam<CourseCase> {};

TEST_P(CourseInView, BendsAndClimbsAsTheCabSeesIt) {
  const CourseCase c = GetParam();
  const TrackAhead track(lineInDirection(c.down), c.position, 400);
  EXPECT_EQ(track.up(), !c.down);
  const CameraPoint ahead = track.at(200, 0, 0);
  if (c.side == 0) {
    EXPECT_NEAR(ahead.x, 0, 1e-9);
  } else {
    EXPECT_GT(ahead.x * c.side, 3.0) << ahead.x;
    // The picture shows it on that side of the middle.
    EXPECT_GT((TrackAhead::project(ahead).x() - kViewWidth / 2.0) * c.side, 5.0);
  }
  if (c.height == 0) {
    EXPECT_NEAR(ahead.y, 0, 1e-9);
  } else {
    EXPECT_GT(ahead.y * c.height, 1.0) << ahead.y;
  }
}

// The same curves and slopes seen from both cabs: a curve to the right running down is a curve to the left
// running up, a climb running down a descent running up.
INSTANTIATE_TEST_SUITE_P(Places, CourseInView,
                         testing::Values(CourseCase{true, 750, +1, 0}, CourseCase{false, 10300 - 1250, -1, 0},
                                         CourseCase{true, 1950, -1, 0}, CourseCase{false, 10300 - 2350, +1, 0},
                                         CourseCase{true, 2850, 0, +1}, CourseCase{false, 10300 - 3600, -1, -1}));

}  // namespace
}  // namespace vesk::demo
