#include <gtest/gtest.h>

#include <cmath>

#include "sim/brake.h"
#include "support/drive_fixture.h"

namespace vesk::sim {
namespace {

using core::Fixed;
using test::makeDrive;

data::VehicleSpec automaticBrakeTrain() {
  data::VehicleSpec v = test::testVehicle();
  v.brakeType = 0;
  v.brakeNotches = 4;
  v.maxPressure = 390;
  v.ebPressure = 440;
  v.brakeUpRate = 120;
  v.brakeDownRate = 140;
  v.bpReturnRate = 50;
  v.elbr = 30;
  v.brakeDelay = 1;
  v.sapDelay = 1;
  v.elecBrakeDelay = 1;
  return v;
}

data::VehicleSpec epTrain() {
  data::VehicleSpec v = test::testVehicle();  // "[BrakeType]" 1, 8 positions, "[EBPress]" 480, "[MAXPress]" 440
  v.brakeUpRate = 200;
  v.brakeDownRate = 250;
  v.elbr = 50;
  v.brakeDelay = 10;
  v.sapDelay = 1;
  v.elecBrakeDelay = 1;
  return v;
}

void charged(TrainState& s, double pipe = 490) {
  s.mr = Fixed::fromInt(880);
  s.er = Fixed::fromDouble(pipe);
  s.bp = pipe;
}

TEST(ReleaseDivisor, SlowsTheReleaseNearZero) {
  EXPECT_DOUBLE_EQ(releaseDivisor(0), 11);
  EXPECT_NEAR(releaseDivisor(100), 10 * std::pow(1.4, -10) + 1, 1e-12);
  EXPECT_NEAR(releaseDivisor(1000), 1, 1e-9);
}

TEST(ReleaseDivisor, TheLastTenKpaTakeAboutTenTimesLongerPerKpa) {
  data::VehicleSpec v = epTrain();
  v.brakeDownRate = 20;  // slow enough to count the steps finely
  auto f = makeDrive(v);
  TrainState& s = f->drive.state;
  charged(s);
  s.bcTrailer = s.bcMotor = Fixed::fromInt(440);
  int stepsFirst = 0;
  while (s.bcTrailer > 430.0) {
    brakePressureStep(f->drive);
    ++stepsFirst;
  }
  while (s.bcTrailer > 10.0) brakePressureStep(f->drive);
  int stepsLast = 0;
  while (s.bcTrailer > 0.0 && stepsLast < 100000) {
    brakePressureStep(f->drive);
    ++stepsLast;
  }
  const double ratio = static_cast<double>(stepsLast) / stepsFirst;
  EXPECT_GT(ratio, 6);
  EXPECT_LT(ratio, 14);
}

TEST(AutomaticBrake, ServicePositionStopsAtTheReductionsTarget) {
  auto f = makeDrive(automaticBrakeTrain());
  TrainState& s = f->drive.state;
  charged(s);
  s.brakeNotch = -3;  // service: the pipe falls
  for (int i = 0; i < 60; ++i) brakePressureStep(f->drive);
  s.brakeNotch = -2;  // lap
  for (int i = 0; i < 600; ++i) brakePressureStep(f->drive);
  const double reduction = s.feedPressure - s.bp;
  ASSERT_GT(reduction, 30);
  const double target = 390.0 / 140 * reduction;
  // The cylinders rise to the target of the reduction and no further (one step may pass it).
  EXPECT_GE(s.bcTrailer.toDouble(), target - 0.1);
  EXPECT_LT(s.bcTrailer.toDouble(), target + 120.0 / 30 + 0.01);
}

TEST(AutomaticBrake, NothingBelowTheElbrReduction) {
  auto f = makeDrive(automaticBrakeTrain());
  TrainState& s = f->drive.state;
  charged(s);
  s.bp = 470;  // a reduction of 20 kPa, below "[ELBR]" 30
  s.brakeNotch = -2;
  for (int i = 0; i < 100; ++i) brakePressureStep(f->drive);
  EXPECT_EQ(s.bcTrailer, Fixed{});
}

TEST(AutomaticBrake, AfterEmergencyReleasesOnlyOnceThePipeIsAboveTheCylinders) {
  auto f = makeDrive(automaticBrakeTrain());
  TrainState& s = f->drive.state;
  charged(s, 0);
  s.bcTrailer = s.bcMotor = Fixed::fromInt(440);
  s.brakeNotch = 0;
  int steps = 0;
  while (s.bp <= 440 && steps < 10000) {
    brakePressureStep(f->drive);
    EXPECT_EQ(s.bcTrailer, Fixed::fromInt(440)) << "step " << steps;
    ++steps;
  }
  for (int i = 0; i < 30; ++i) brakePressureStep(f->drive);
  EXPECT_LT(s.bcTrailer, Fixed::fromInt(440));
}

TEST(AutomaticBrake, ForcedBrakingEmptiesThePipe) {
  auto f = makeDrive(automaticBrakeTrain());
  TrainState& s = f->drive.state;
  charged(s);
  s.emergencyLatched = 1;
  for (int i = 0; i < 300; ++i) brakePressureStep(f->drive);
  EXPECT_EQ(s.bp, 0);
  // Raised at 120 / 0.3 kPa a second while below "[EBPress]": at most one step beyond it.
  EXPECT_GE(s.bcTrailer, Fixed::fromInt(440));
  EXPECT_LT(s.bcTrailer.toDouble(), 440 + 120 / 0.3 / 30);
}

TEST(ElectroPneumaticBrake, MotorCylindersStayAtElbrWhileTheElectricBrakeCarries) {
  auto f = makeDrive(epTrain());
  TrainState& s = f->drive.state;
  charged(s);
  s.brakeNotch = -5;
  s.elecBrakeCurrent = 200;
  for (int i = 0; i < 300; ++i) brakePressureStep(f->drive);
  const double target = 440.0 / 7 * 5;
  EXPECT_NEAR(s.bcTrailer.toDouble(), target, 10.1);
  EXPECT_GE(s.bcMotor.toDouble(), 50 - 0.01);
  EXPECT_LT(s.bcMotor.toDouble(), 55 + 200.0 / 30);
  // Without electric current the motor cylinders follow the notch too.
  s.elecBrakeCurrent = 0;
  for (int i = 0; i < 300; ++i) brakePressureStep(f->drive);
  EXPECT_NEAR(s.bcMotor.toDouble(), target, 10.1);
}

TEST(ElectroPneumaticBrake, EmergencyAndRelease) {
  auto f = makeDrive(epTrain());
  TrainState& s = f->drive.state;
  charged(s);
  s.brakeNotch = -8;
  for (int i = 0; i < 100; ++i) brakePressureStep(f->drive);
  EXPECT_GE(s.bcTrailer, Fixed::fromInt(480));
  EXPECT_EQ(s.bp, 0);
  // Release waits for the equalizing reservoir to recharge.
  s.brakeNotch = 0;
  brakePressureStep(f->drive);
  EXPECT_GE(s.bcTrailer, Fixed::fromInt(480));
  for (int i = 0; i < 3000; ++i) brakePressureStep(f->drive);
  EXPECT_EQ(s.bcTrailer, Fixed{});
}

TEST(NotchedBrake, ServiceDividesByThePositions) {
  data::VehicleSpec v = epTrain();
  v.brakeType = 2;
  v.brakeNotches = 6;
  auto f = makeDrive(v);
  TrainState& s = f->drive.state;
  charged(s);
  s.brakeNotch = -3;
  for (int i = 0; i < 300; ++i) brakePressureStep(f->drive);
  EXPECT_NEAR(s.bcTrailer.toDouble(), 440.0 / 6 * 3 - 10, 200.0 / 30 + 0.01);
}

struct DelayCase {
  const char* name;
  int cylinder;
  int steps;
};
void PrintTo(const DelayCase& testCase, std::ostream* out) { *out << testCase.name; }

class BrakeDelayTest : public testing::TestWithParam<DelayCase> {};

TEST_P(BrakeDelayTest, FromEmptyTheFullDelayWithPressureSeventyPercent) {
  auto f = makeDrive(epTrain());  // "[BrakeDelay]" 10
  TrainState& s = f->drive.state;
  s.bcTrailer = Fixed::fromInt(GetParam().cylinder);
  f->drive.control.brakeHandle = -3;
  f->drive.control.brakeChangePending = 1;
  int steps = 0;
  while (s.brakeNotch != -3 && steps < 50) {
    brakeDelayStep(f->drive);
    ++steps;
  }
  EXPECT_EQ(steps, GetParam().steps);
}

INSTANTIATE_TEST_SUITE_P(Pressures, BrakeDelayTest,
                         testing::Values(DelayCase{"empty_cylinders", 0, 10}, DelayCase{"pressure_present", 100, 7}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BrakeDelay, LatchesTakeTheirTarget) {
  auto f = makeDrive(epTrain());
  TrainState& s = f->drive.state;
  f->drive.control.brakeHandle = -2;
  s.atsBrakeLatched = 1;
  restartBrakeDelays(f->drive);
  for (int i = 0; i < 10; ++i) brakeDelayStep(f->drive);
  EXPECT_EQ(s.brakeNotch, -7);  // full service
  EXPECT_EQ(s.sapNotch, -7);
  EXPECT_EQ(s.elecBrakeNotch, -7);
  s.emergencyLatched = 1;
  restartBrakeDelays(f->drive);
  for (int i = 0; i < 10; ++i) brakeDelayStep(f->drive);
  EXPECT_EQ(s.brakeNotch, -8);
}

TEST(ElectricBrake, RampRisesToTheNotchsCurrent) {
  data::VehicleSpec v = epTrain();
  v.brakeForceMode = 1;
  v.elecBrakeType = 1;
  v.elecBrakeMaxCurrent = 400;
  v.elecBrakeUpRate = 600;
  v.elecBrakeDownRate = 600;
  v.elecBrakeFadeSpeed = 5;
  auto f = makeDrive(v);
  TrainState& s = f->drive.state;
  s.speed = 60;
  s.elecBrakeNotch = -7;
  for (int i = 0; i < 50; ++i) electricBrakeStep(f->drive);
  EXPECT_GT(s.elecBrakeCurrent, 400 - 50);
  EXPECT_LE(s.elecBrakeCurrent, 400 + 60);
  // Below the fade speed it falls away.
  s.speed = 4;
  for (int i = 0; i < 50; ++i) electricBrakeStep(f->drive);
  EXPECT_EQ(s.elecBrakeCurrent, 0);
}

TEST(Compressor, StartsLowAndStopsHigh) {
  data::VehicleSpec v = epTrain();
  v.mrLowPressure = 780;
  v.mrHighPressure = 880;
  auto f = makeDrive(v);
  TrainState& s = f->drive.state;
  s.mr = Fixed::fromInt(779);
  compressorStep(f->drive);
  EXPECT_EQ(s.compressorOn, 1);
  EXPECT_EQ(s.mr, Fixed::fromDouble(779.3));
  s.mr = Fixed::fromInt(880);
  compressorStep(f->drive);
  EXPECT_EQ(s.compressorOn, 0);
}

}  // namespace
}  // namespace vesk::sim
