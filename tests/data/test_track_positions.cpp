#include <gtest/gtest.h>

#include <limits>
#include <ostream>
#include <string>

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

// An absurd recorded speed carries the distances to the ends of the int64 range, where they are held; the
// platform around a station there must stay inside the range too (signed overflow would wrap it round, and is
// undefined behaviour that the sanitizer build stops at).
struct SaturationCase {
  const char* name;
  double speed;
  int platformHalfLength;
  std::int64_t platformStart;
  std::int64_t platformEnd;
};
void PrintTo(const SaturationCase& testCase, std::ostream* out) { *out << testCase.name; }

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();

class SaturationTest : public testing::TestWithParam<SaturationCase> {};

TEST_P(SaturationTest, DerivedPositionsStayInsideTheirType) {
  const SaturationCase& c = GetParam();
  RouteData r;
  r.speedUnits[0] = {0, 300, c.speed, c.speed, 0};
  r.speedUnits[1] = {300, 600, c.speed, c.speed, 0};
  r.speedUnitCount = 2;
  r.stations[0].frame = 600;
  r.stations[0].kind = 0;
  r.stations[0].atsBeacon = 1;
  r.stations[0].platformHalfLength = c.platformHalfLength;
  r.stationCount = 1;
  computeTrackPositions(r);
  const StationRow& s = r.stations[0];
  EXPECT_EQ(s.position, c.speed > 0 ? kMax : kMin);
  EXPECT_EQ(s.platformStart, c.platformStart);
  EXPECT_EQ(s.platformEnd, c.platformEnd);
  ASSERT_EQ(r.atsBeaconCount, 1);
  EXPECT_EQ(r.atsBeacons[0].position, c.speed > 0 ? kMax : kMin + 2000);
  EXPECT_EQ(firstSaturatingSpeedUnitRow(r), 0);
}

INSTANTIATE_TEST_SUITE_P(Rows, SaturationTest,
                         testing::Values(SaturationCase{"forwards", 1e25, 1500, kMax - 1500, kMax},
                                         SaturationCase{"backwards", -1e25, 1500, kMin, kMin + 1500},
                                         SaturationCase{"negativeHalfLength", 1e25, -1500, kMax, kMax - 1500},
                                         SaturationCase{"widestPlatform", -1e25, std::numeric_limits<int>::max(), kMin,
                                                        kMin + std::numeric_limits<int>::max()}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TrackPositions, OrdinaryRowsDoNotSaturate) {
  RouteData r = twoRowLine();
  EXPECT_EQ(firstSaturatingSpeedUnitRow(r), std::nullopt);
  // 300 frames at 1e13 km/h: 1.4e15 cm, far from the limit; rising to 1e17 km/h the row reaches it.
  r.speedUnits[1] = {300, 600, 1e13, 1e13, 0};
  EXPECT_EQ(firstSaturatingSpeedUnitRow(r), std::nullopt);
  r.speedUnits[1] = {300, 600, 0, 1e17, 0};
  EXPECT_EQ(firstSaturatingSpeedUnitRow(r), 1);
  r.speedUnits[0] = {0, 300, std::numeric_limits<double>::infinity(), 36, 0};
  EXPECT_EQ(firstSaturatingSpeedUnitRow(r), 0);
}

}  // namespace
}  // namespace vesk::data
