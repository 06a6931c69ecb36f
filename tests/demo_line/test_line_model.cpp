#include <gtest/gtest.h>

#include <cmath>

#include "demo_line/line_model.h"

namespace vesk::demo {
namespace {

class RecordingTest : public testing::TestWithParam<bool> {};

TEST_P(RecordingTest, FitsTheRouteFileAndPassesEveryStationSlowly) {
  const Recording r = recordingOf(GetParam());
  const Line l = lineInDirection(GetParam());
  ASSERT_FALSE(r.rows.empty());
  EXPECT_LE(r.rows.size(), static_cast<std::size_t>(data::kSpeedUnitCapacity));
  // Rows are contiguous, end on whole pictures, and the video has a picture for every two frame positions.
  for (std::size_t i = 0; i < r.rows.size(); ++i) {
    if (i > 0) {
      EXPECT_EQ(r.rows[i].frameFrom, r.rows[i - 1].frameTo);
    }
    EXPECT_EQ(r.rows[i].frameTo % 2, 0);
    EXPECT_LT(r.rows[i].frameFrom, r.rows[i].frameTo);
  }
  EXPECT_EQ(r.lastFrame(), 2 * r.pictureCount());
  // Every stopping mark lies on the recording, passed at 5 km/h, where the conversion puts it.
  for (const Station& s : l.stations) {
    const int frame = frameAt(r, s.at);
    EXPECT_LE(frame, r.lastFrame()) << s.name;
    EXPECT_NEAR(positionAtFrame(r, frame), s.at, 1.0) << s.name;
  }
  EXPECT_DOUBLE_EQ(r.rows.front().speedFrom, 5);
  EXPECT_NEAR(positionAtFrame(r, r.lastFrame()), l.stations.back().at + 40, 2.0);
}

TEST_P(RecordingTest, KeepsToTheLimits) {
  const Recording r = recordingOf(GetParam());
  const Line l = lineInDirection(GetParam());
  for (const data::SpeedUnitRow& row : r.rows) {
    EXPECT_LE(std::max(row.speedFrom, row.speedTo), l.lineSpeed + 1e-9);
    EXPECT_GT(std::min(row.speedFrom, row.speedTo), 0);
  }
  for (const SpeedLimit& s : l.limits) {
    const int from = frameAt(r, s.from);
    const int to = frameAt(r, s.to);
    for (const data::SpeedUnitRow& row : r.rows) {
      if (row.frameTo > from && row.frameFrom < to) {
        EXPECT_LE(std::max(row.speedFrom, row.speedTo), s.kmh + 1e-9);
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Directions, RecordingTest, testing::Values(true, false),
                         [](const auto& info) { return std::string(info.param ? "down" : "up"); });

TEST(DemoLine, UpDirectionMirrorsTheDown) {
  const Line down = lineInDirection(true);
  const Line up = lineInDirection(false);
  ASSERT_EQ(down.stations.size(), up.stations.size());
  EXPECT_EQ(up.stations.front().name, down.stations.back().name);
  EXPECT_DOUBLE_EQ(up.stations.front().at, down.length - down.stations.back().at);
  EXPECT_DOUBLE_EQ(up.gradients.front().permil, -down.gradients.back().permil);
  EXPECT_DOUBLE_EQ(up.tunnels.front().from, down.length - down.tunnels.back().to);
  // What the line must offer: five stations over 8-12 km, two tunnels, gradients of 25 per mil both ways, three
  // speed limits and level crossings.
  EXPECT_GE(down.stations.size(), 5u);
  EXPECT_GE(down.stations.back().at - down.stations.front().at, 8000);
  EXPECT_LE(down.stations.back().at - down.stations.front().at, 12000);
  EXPECT_EQ(down.tunnels.size(), 2u);
  EXPECT_EQ(down.limits.size(), 3u);
  EXPECT_GE(down.crossings.size(), 2u);
  double steepestUp = 0;
  double steepestDown = 0;
  for (const Gradient& g : down.gradients) {
    steepestUp = std::max(steepestUp, g.permil);
    steepestDown = std::min(steepestDown, g.permil);
  }
  EXPECT_EQ(steepestUp, 25);
  EXPECT_EQ(steepestDown, -25);
}

}  // namespace
}  // namespace vesk::demo
