#include <gtest/gtest.h>

#include "data/track_positions.h"

namespace vesk::data {
namespace {

// Frames 0-300 recorded at 36 km/h, 300-600 accelerating from 36 to 72 km/h.
RouteData twoRowLine() {
  RouteData r;
  r.speedUnits[0] = {0, 300, 36, 36, 0};
  r.speedUnits[1] = {300, 600, 36, 72, 0};
  r.speedUnitCount = 2;
  computeSpeedUnitDistances(r);
  return r;
}

struct PositionCase {
  const char* name;
  int frame;
  std::optional<std::int64_t> position;
};
void PrintTo(const PositionCase& testCase, std::ostream* out) { *out << testCase.name; }

class FramePositionTest : public testing::TestWithParam<PositionCase> {};

TEST_P(FramePositionTest, Converts) { EXPECT_EQ(framePosition(twoRowLine(), GetParam().frame), GetParam().position); }

INSTANTIATE_TEST_SUITE_P(Frames, FramePositionTest,
                         testing::Values(PositionCase{"start", 0, 0}, PositionCase{"inside_first", 150, 5000},
                                         PositionCase{"boundary", 300, 10000}, PositionCase{"accelerating", 450, 16250},
                                         PositionCase{"end", 600, 25000}, PositionCase{"beyond", 601, std::nullopt},
                                         PositionCase{"before", -1, std::nullopt}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TrackPositions, RowEndsAccumulate) {
  const RouteData r = twoRowLine();
  EXPECT_EQ(r.speedUnits[0].endDistance, 10000);
  EXPECT_EQ(r.speedUnits[1].endDistance, 25000);
}

TEST(TrackPositions, TunnelsGetPositions) {
  RouteData r = twoRowLine();
  r.tunnels[0] = {150, 450, 200, 0, 0};
  r.tunnelCount = 1;
  computeTrackPositions(r);
  EXPECT_EQ(r.tunnels[0].positionFrom, 5000);
  EXPECT_EQ(r.tunnels[0].positionTo, 16250);
}

TEST(TrackPositions, RowOfNoLengthDoesNotDivideByZero) {
  RouteData r;
  r.speedUnits[0] = {100, 100, 30, 30, 0};
  r.speedUnitCount = 1;
  computeSpeedUnitDistances(r);
  EXPECT_EQ(r.speedUnits[0].endDistance, 0);
  EXPECT_EQ(framePosition(r, 100), 0);
}

}  // namespace
}  // namespace vesk::data
