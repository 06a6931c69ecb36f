#include <gtest/gtest.h>

#include "sim/motion.h"
#include "support/drive_fixture.h"

namespace vesk::sim {
namespace {

using test::makeDrive;

// Frames 0-300 at 36 km/h, 300-600 from 36 to 72 km/h.
data::RouteData twoRowLine() {
  data::RouteData r = test::levelRoute(0, 60);
  r.speedUnits[0] = {0, 300, 36, 36, 10000};
  r.speedUnits[1] = {300, 600, 36, 72, 25000};
  r.speedUnitCount = 2;
  return r;
}

struct LookupCase {
  const char* name;
  int frame;
  int row;
  int speed;
};
void PrintTo(const LookupCase& testCase, std::ostream* out) { *out << testCase.name; }

class FrameSpeedLookupTest : public testing::TestWithParam<LookupCase> {};

TEST_P(FrameSpeedLookupTest, Interpolates) {
  const auto found = lookUpFrameSpeed(twoRowLine(), GetParam().frame);
  if (GetParam().row < 0) {
    EXPECT_FALSE(found);
    return;
  }
  ASSERT_TRUE(found);
  EXPECT_EQ(found->row, GetParam().row);
  EXPECT_EQ(found->speed, GetParam().speed);
}

INSTANTIATE_TEST_SUITE_P(Frames, FrameSpeedLookupTest,
                         testing::Values(LookupCase{"first_row", 10, 0, 36}, LookupCase{"row_start", 300, 1, 36},
                                         LookupCase{"halfway", 450, 1, 54},
                                         // 36 + 36 x 5 / 300 = 36.6 -> 37
                                         LookupCase{"rounded", 305, 1, 37},
                                         // 36 + 36 x 25 / 300 = 39 exactly; 36 + 36 x 75/300 = 45
                                         LookupCase{"exact", 325, 1, 39}, LookupCase{"end_is_outside", 600, -1, 0},
                                         LookupCase{"before", -5, -1, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

// Rows whose interpolation lands exactly on a half: nearest() takes it up (away from zero). Forming the fraction
// first (130 / 900 x 45) gives 6.4999... and 6 for the first case.
struct ExactHalfCase {
  const char* name;
  int frameFrom;
  int frameTo;
  double speedFrom;
  double speedTo;
  int frame;
  int speed;
};
void PrintTo(const ExactHalfCase& testCase, std::ostream* out) { *out << testCase.name; }

class ExactHalfTest : public testing::TestWithParam<ExactHalfCase> {};

TEST_P(ExactHalfTest, RoundsTheHalfUp) {
  const ExactHalfCase& c = GetParam();
  data::RouteData r;
  r.speedUnits[0] = {c.frameFrom, c.frameTo, c.speedFrom, c.speedTo, 0};
  r.speedUnitCount = 1;
  const auto found = lookUpFrameSpeed(r, c.frame);
  ASSERT_TRUE(found);
  EXPECT_EQ(found->speed, c.speed);
}

INSTANTIATE_TEST_SUITE_P(Rows, ExactHalfTest,
                         testing::Values(ExactHalfCase{"from_15_to_915_at_145", 15, 915, 0, 45, 145, 7},   // 6.5
                                         ExactHalfCase{"from_15_to_915_at_505", 15, 915, 0, 45, 505, 25},  // 24.5
                                         ExactHalfCase{"from_15_to_915_at_645", 15, 915, 0, 45, 645, 32},  // 31.5
                                         ExactHalfCase{"slowing_down", 15, 915, 45, 0, 565, 18},           // 17.5
                                         ExactHalfCase{"short_row", 0, 90, 0, 45, 13, 7},                  // 6.5
                                         ExactHalfCase{"from_0_to_25", 0, 700, 0, 25, 406, 15},            // 14.5
                                         ExactHalfCase{"from_5_to_80", 0, 900, 5, 80, 474, 45},            // 44.5
                                         ExactHalfCase{"long_row_from_5", 0, 1500, 5, 80, 970, 54}),       // 53.5
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Motion, ControlStepTakesTheExactHalfOfItsRow) {
  data::RouteData r;
  r.speedUnits[0] = {15, 915, 0, 45, 0};
  r.speedUnitCount = 1;
  auto f = makeDrive(test::testVehicle(), r);
  f->drive.state.frame = 144;
  f->drive.state.frameSpeed = 6;
  f->drive.state.frameAccumulator = 5;
  f->drive.state.speed = 1;
  f->drive.MMTimer1Timer();  // 5 + 1 reaches 6: one frame on, to 145
  EXPECT_EQ(f->drive.state.frame, 145);
  EXPECT_EQ(f->drive.state.frameSpeed, 7);
}

TEST(Motion, VideoAdvancesAtSpeedOverRecordedSpeedTimesThirty) {
  // At 30 km/h on a video recorded at 60 km/h the video plays at 15 frames a second.
  auto f = makeDrive(test::testVehicle(), test::levelRoute(10, 60));
  f->drive.state.frameSpeed = 60;
  f->drive.state.speed = 30;
  f->drive.control.autoRun = 0;
  for (int i = 0; i < 300; ++i) f->drive.MMTimer1Timer();
  EXPECT_EQ(f->drive.state.frame, 150);
  EXPECT_EQ(f->drive.state.frameAccumulator, 0);
  EXPECT_EQ(f->drive.state.clock, 300);
  EXPECT_NEAR(f->drive.state.position, 300 * 30.0 / 36000 * 33333, 1e-6);
}

TEST(Motion, BackwardsMovesTheFrameBack) {
  auto f = makeDrive();
  f->drive.state.frame = 1000;
  f->drive.state.frameSpeed = 60;
  f->drive.state.speed = -60;
  f->drive.MMTimer1Timer();
  EXPECT_EQ(f->drive.state.frame, 999);
  EXPECT_LT(f->drive.state.position, 0);
}

TEST(Motion, RecordedSpeedOfZeroMovesTwiceTheAccumulator) {
  auto f = makeDrive(test::testVehicle(), data::RouteData{});
  f->drive.state.frameSpeed = 0;
  f->drive.state.speed = 12;
  f->drive.state.frameAccumulator = 5;
  f->drive.MMTimer1Timer();
  EXPECT_EQ(f->drive.state.frame, 34);
  EXPECT_EQ(f->drive.state.frameAccumulator, 0);
}

TEST(Motion, TickReadsARecordedSpeedOfZeroAsOne) {
  data::RouteData r;
  r.speedUnits[0] = {0, 1000, 0, 0, 0};
  r.speedUnitCount = 1;
  auto f = makeDrive(test::testVehicle(), r);
  f->drive.state.speed = 5;
  f->drive.MMTimer1Timer();
  EXPECT_EQ(f->drive.state.frameSpeed, 0);
  f->drive.Timer1Timer();
  EXPECT_EQ(f->drive.state.frameSpeed, 1);
}

TEST(Motion, PositionResynchronisesWhenEnteringAnotherRow) {
  auto f = makeDrive(test::testVehicle(), twoRowLine());
  TrainState& s = f->drive.state;
  s.frame = 298;
  s.speed = 36;
  s.frameSpeed = 36;
  f->drive.MMTimer1Timer();  // one frame a step; the first lookup finds row 0 and moves nothing
  EXPECT_EQ(s.frame, 299);
  EXPECT_EQ(s.speedUnitRow, 0);
  s.position = 9123;  // drifted from the video's idea of where frame 299 is
  f->drive.MMTimer1Timer();
  EXPECT_EQ(s.frame, 300);
  EXPECT_EQ(s.speedUnitRow, 1);
  // Entering row 1 forwards: the end of row 0, plus this step's travel.
  EXPECT_NEAR(s.position, 10000 + 36.0 / 36000 * 33333, 1e-9);

  // Back into row 0: the end of row 0.
  s.speed = -36;
  f->drive.MMTimer1Timer();
  EXPECT_EQ(s.frame, 299);
  EXPECT_EQ(s.speedUnitRow, 0);
  EXPECT_NEAR(s.position, 10000 - 36.0 / 36000 * 33333, 1e-9);
}

TEST(Motion, AutoRunTakesTheRecordedSpeed) {
  auto f = makeDrive(test::testVehicle(), test::levelRoute(10, 60));
  f->drive.control.autoRun = 1;
  f->runMs(990);  // ends on a control step
  EXPECT_EQ(f->drive.state.speed, 60);
  EXPECT_GT(f->drive.state.frame, 0);
}

TEST(Motion, ReverserDirectsTheForce) {
  auto f = makeDrive();
  f->drive.state.tractiveForce = core::Fixed::fromInt(1000);
  f->drive.control.reverser = -1;
  applyReverser(f->drive);
  EXPECT_EQ(f->drive.state.tractiveForce, core::Fixed::fromInt(-1000));
  f->drive.control.reverser = 0;
  applyReverser(f->drive);
  EXPECT_EQ(f->drive.state.tractiveForce, core::Fixed{});
}

TEST(Motion, DistanceToStopFollowsPosition) {
  auto f = makeDrive();
  f->drive.state.targetPosition = 50000;
  f->drive.state.position = 1000;
  f->drive.MMTimer1Timer();
  EXPECT_EQ(f->drive.state.distanceToStop, 49000);
}

}  // namespace
}  // namespace vesk::sim
