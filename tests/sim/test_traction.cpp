#include <gtest/gtest.h>

#include <cmath>

#include "sim/traction.h"
#include "support/drive_fixture.h"

namespace vesk::sim {
namespace {

using core::Fixed;
using test::makeDrive;

// An electric train with a notch table of two modes: notches 1-3 (mode 0), 4-5 (mode 1).
data::VehicleSpec notchTrain() {
  data::VehicleSpec v = test::testVehicle();
  v.powerType = 1;
  v.powerNotches = 5;
  v.powerDelay = 3;
  v.notchBack = 1;
  const data::NotchRow rows[] = {{2.0, 2.0, 30, 60, 0.97, 0},
                                 {2.5, 2.5, 40, 70, 0.97, 0},
                                 {3.0, 3.0, 50, 80, 0.97, 0},
                                 {1.5, 1.5, 30, 60, 0.98, 1},
                                 {-1.0, 0, 10, 90, 0, 1}};
  for (int i = 0; i < 5; ++i) v.notchRows[static_cast<std::size_t>(i)] = rows[i];
  v.notchRowCount = 5;
  v.notchModeStart[1] = 3;
  return v;
}

data::VehicleSpec dieselTrain() {
  data::VehicleSpec v = test::testVehicle();
  v.engineType = 0;
  v.powerNotches = 5;
  v.powerJerk = 12;
  v.trainMass = Fixed::fromInt(35);
  v.gearCount = 3;
  v.gears[1] = {0, 15, 30, 5200, 4500, 3000};
  v.gears[2] = {10, 40, 95, 3400, 2500, 1200};
  v.engineRates[1] = {30, 2.0};
  v.engineRates[2] = {25, 0.9};
  v.engineRateCount = 3;
  v.engineSound2 = {1, 2, 3, 4};
  return v;
}

struct NotchForceCase {
  const char* name;
  int notch;
  double speed;
  double accel;  // km/h/s expected
};
void PrintTo(const NotchForceCase& testCase, std::ostream* out) { *out << testCase.name; }

class NotchTableTest : public testing::TestWithParam<NotchForceCase> {};

TEST_P(NotchTableTest, Acceleration) {
  auto f = makeDrive(notchTrain());
  f->drive.state.engineRunning = 1;
  f->drive.state.powerNotch = GetParam().notch;
  f->drive.state.speed = GetParam().speed;
  tractiveForceStep(f->drive);
  EXPECT_NEAR(f->drive.state.tractiveForce.toDouble(), GetParam().accel / 3.6 * 100000, 0.01);
}

INSTANTIATE_TEST_SUITE_P(Regions, NotchTableTest,
                         testing::Values(NotchForceCase{"standstill", 1, 0, 2.0},
                                         NotchForceCase{"rising_region", 3, 25, 3.0},
                                         NotchForceCase{"constant_power", 2, 50, 2.5 * 40 / 50},
                                         // Above V2 the force decays by the base to the integer power nearest(v) - V2.
                                         NotchForceCase{"decay", 1, 70.4, 30 * 2.0 * std::pow(0.97, 10) / 70.4},
                                         NotchForceCase{"negative_start_in_its_range", 5, 50, -1.0},
                                         NotchForceCase{"negative_start_outside_its_range", 5, 5, 0},
                                         NotchForceCase{"backwards_uses_magnitude", 2, -50, 2.5 * 40 / 50}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Traction, NotchTableGivesNothingWhileTheBrakeIsApplied) {
  auto f = makeDrive(notchTrain());
  f->drive.state.engineRunning = 1;
  f->drive.state.powerNotch = 3;
  f->drive.control.brakeHandle = -1;
  tractiveForceStep(f->drive);
  EXPECT_EQ(f->drive.state.tractiveForce, Fixed{});
}

TEST(Traction, NoTractionWhenNotAllowed) {
  for (int cause = 0; cause < 5; ++cause) {
    data::VehicleSpec v = notchTrain();
    v.doorLock = 1;
    auto f = makeDrive(v);
    TrainState& s = f->drive.state;
    s.engineRunning = 1;
    s.powerNotch = 2;
    if (cause == 0) s.speed = 110;  // at the maximum speed
    if (cause == 1) s.doorOpenCommanded = 1;
    if (cause == 2) s.engineRunning = 0;
    if (cause == 3) s.atsBrakeLatched = 1;
    if (cause == 4) s.emergencyLatched = 1;
    tractiveForceStep(f->drive);
    EXPECT_EQ(s.tractiveForce, Fixed{}) << "cause " << cause;
  }
}

struct NotchBackCase {
  const char* name;
  int notchBack;
  int from;
  int handle;
  int notchAfter;
};
void PrintTo(const NotchBackCase& testCase, std::ostream* out) { *out << testCase.name; }

class PowerDelayTest : public testing::TestWithParam<NotchBackCase> {};

TEST_P(PowerDelayTest, NotchInEffect) {
  data::VehicleSpec v = notchTrain();
  v.notchBack = GetParam().notchBack;
  auto f = makeDrive(v);
  TrainState& s = f->drive.state;
  s.lineVoltageTarget = Fixed::fromInt(1500);
  s.powerNotch = GetParam().from;
  f->drive.control.powerHandle = GetParam().handle;
  f->drive.control.powerChangePending = 1;
  powerDelayStep(f->drive);
  powerDelayStep(f->drive);
  EXPECT_EQ(s.powerNotch, GetParam().from) << "the delay is 3 steps";
  powerDelayStep(f->drive);
  EXPECT_EQ(s.powerNotch, GetParam().notchAfter);
  EXPECT_EQ(f->drive.control.powerChangePending, 0);
}

INSTANTIATE_TEST_SUITE_P(Handles, PowerDelayTest,
                         testing::Values(NotchBackCase{"notching_up", 1, 1, 3, 3},
                                         NotchBackCase{"notch_back_stops_short", 3, 4, 2, 4},
                                         NotchBackCase{"notch_back_to_its_value", 3, 4, 3, 3},
                                         NotchBackCase{"off", 3, 4, 0, 0},
                                         NotchBackCase{"notch_back_of_1_follows", 1, 4, 2, 2}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Traction, PowerDelayOfZeroCountsAsOne) {
  data::VehicleSpec v = notchTrain();
  v.powerDelay = 0;
  auto f = makeDrive(v);
  f->drive.state.lineVoltageTarget = Fixed::fromInt(1500);
  f->drive.control.powerHandle = 2;
  f->drive.control.powerChangePending = 1;
  powerDelayStep(f->drive);
  EXPECT_EQ(f->drive.state.powerNotch, 2);
}

TEST(Traction, DieselBelowPowerJerkPullsAsNotchTwo) {
  auto f = makeDrive(dieselTrain());
  TrainState& s = f->drive.state;
  s.engineRunning = 1;
  s.engagedGear = 1;
  s.speed = 5;
  s.powerNotch = 5;
  tractiveForceStep(f->drive);
  const double notch5 = s.tractiveForce.toDouble();
  s.tractiveForce = {};
  s.powerNotch = 2;
  tractiveForceStep(f->drive);
  EXPECT_EQ(notch5, s.tractiveForce.toDouble());
  // Row 1 at 5 km/h: 5200 + 5 x (4500 - 5200) / 15 kgf for the whole train at full notch.
  EXPECT_NEAR(notch5, (5200 + 5 * (4500.0 - 5200) / 15) * 9.8 / 5 * 2, 0.01);
  s.tractiveForce = {};
  s.speed = 20;
  s.powerNotch = 5;
  tractiveForceStep(f->drive);
  EXPECT_NEAR(s.tractiveForce.toDouble(), (4500 + 5 * (3000.0 - 4500) / 15) * 9.8 / 5 * 5, 0.01);
}

TEST(Traction, StartingInTopGearStallsTheEngine) {
  auto f = makeDrive(dieselTrain());
  TrainState& s = f->drive.state;
  s.engineRunning = 1;
  s.engagedGear = 2;
  f->drive.control.gear = 2;
  s.powerNotch = 1;
  engineSwitchStep(f->drive);
  EXPECT_EQ(s.engineRunning, 0);
  EXPECT_EQ(s.powerNotch, 0);
}

TEST(Traction, EngineStartsAfterFiveSecondsOfTheSwitch) {
  auto f = makeDrive(dieselTrain());
  TrainState& s = f->drive.state;
  s.engineRunning = 0;
  f->drive.control.engineSwitch = 1;
  engineSwitchStep(f->drive);
  EXPECT_EQ(s.engineRunning, -1);
  for (int i = 0; i < 48; ++i) engineSwitchStep(f->drive);
  EXPECT_EQ(s.engineRunning, -1);
  engineSwitchStep(f->drive);
  EXPECT_EQ(s.engineRunning, 1);
  // Stopping, broken off after 2 s.
  f->drive.control.engineSwitch = 0;
  engineSwitchStep(f->drive);
  f->drive.control.engineSwitch = 2;
  for (int i = 0; i < 20; ++i) engineSwitchStep(f->drive);
  EXPECT_EQ(s.engineRunning, -2);
  f->drive.control.engineSwitch = 0;
  engineSwitchStep(f->drive);
  EXPECT_EQ(s.engineRunning, 1);
}

data::VehicleSpec currentTrain() {
  data::VehicleSpec v = test::testVehicle();
  v.powerType = 0;
  v.currentPLimit = 300;
  v.currentPAccel = 2.0;
  v.currentPSpeed = 40;
  for (int i = 0; i < 8; ++i) v.currentPRows[static_cast<std::size_t>(i)] = {1, 2000.0 + 600 * i, -6.0 + 2 * i, 0};
  v.currentPCount = 8;
  return v;
}

TEST(Traction, ResistorStepClimbsOnlyBelowTheLimitCurrent) {
  auto f = makeDrive(currentTrain());
  TrainState& s = f->drive.state;
  s.powerNotch = 1;
  s.speed = 0.5;  // row 0: 2000 / 6.5 = 308 A, above the limit
  motorCurrentStep(f->drive);
  EXPECT_EQ(s.resistorStep, 0);
  EXPECT_EQ(s.motorCurrent, 308);
  s.speed = 1;  // 2000 / 7 = 286 A: the step advances, and the next row gives 2600 / 5 = 520 A
  motorCurrentStep(f->drive);
  EXPECT_EQ(s.resistorStep, 1);
  EXPECT_EQ(s.motorCurrent, 520);
  s.powerNotch = 0;
  motorCurrentStep(f->drive);
  EXPECT_EQ(s.resistorStep, 0);
  EXPECT_EQ(s.motorCurrent, 0);
}

TEST(Traction, MotorCurrentHoversAtTheLimitWhileNotching) {
  // Each step is entered at 330 A and falls to the limit of 300 A at the next step's speed (3 km/h apart).
  data::VehicleSpec v = currentTrain();
  for (int i = 0; i < 8; ++i) v.currentPRows[static_cast<std::size_t>(i)] = {1, 9900, 3.0 * i - 30, 0};
  auto f = makeDrive(v);
  TrainState& s = f->drive.state;
  s.engineRunning = 1;
  s.powerNotch = 1;
  s.bcMotor = s.bcTrailer = Fixed{};
  double sum = 0;
  int ticks = 0;
  while (s.resistorStep < 7 && ticks < 2000) {
    f->runTicks(1);
    if (s.resistorStep >= 1) {
      sum += s.motorCurrent;
      ++ticks;
    }
  }
  ASSERT_EQ(s.resistorStep, 7);
  // From the first step to the last the current averages close to the limit.
  EXPECT_NEAR(sum / ticks, 315, 10);
  EXPECT_GT(ticks, 20);
  EXPECT_GT(s.speed, 20);
}

TEST(Traction, EngineSpeedFollowsTheGear) {
  auto f = makeDrive(dieselTrain());
  TrainState& s = f->drive.state;
  s.engineRunning = 1;
  s.engagedGear = 1;
  s.powerNotch = 3;
  s.speed = 20;  // target 30 + 20 x 2 = 70
  s.engineRpm = 30;
  for (int i = 0; i < 300; ++i) engineSpeedStep(f->drive);
  EXPECT_NEAR(s.engineRpm, 70, 1.1);
  s.powerNotch = 0;
  for (int i = 0; i < 100; ++i) engineSpeedStep(f->drive);
  EXPECT_LT(s.engineRpm, 33);
  EXPECT_GE(s.engineRpm, 29);
}

TEST(Traction, AutomaticGearsShiftUpAndDown) {
  auto f = makeDrive(dieselTrain());
  TrainState& s = f->drive.state;
  s.engineRunning = 1;
  f->drive.control.gear = 1;
  s.engagedGear = 1;
  s.speed = 31;  // above row 1's top speed
  automaticGearStep(f->drive);
  EXPECT_EQ(f->drive.control.gear, 2);
  s.engagedGear = 2;
  s.speed = 8;  // below row 2's lowest speed, and below 10 km/h
  automaticGearStep(f->drive);
  EXPECT_EQ(f->drive.control.gear, 1);
  EXPECT_EQ(s.engagedGear, 1);
}

TEST(Traction, GearShiftTakesOneSecond) {
  auto f = makeDrive(dieselTrain());
  TrainState& s = f->drive.state;
  s.engineRunning = 1;
  f->drive.control.gear = 2;
  s.engagedGear = 1;
  s.powerNotch = 2;
  gearShiftStep(f->drive);
  EXPECT_EQ(s.shiftState, 1);
  for (int i = 0; i < 8; ++i) gearShiftStep(f->drive);
  EXPECT_EQ(s.engagedGear, 1);
  gearShiftStep(f->drive);
  EXPECT_EQ(s.engagedGear, 2);
  EXPECT_EQ(s.shiftState, 0);
  // Power off: to neutral.
  s.powerNotch = 0;
  gearShiftStep(f->drive);
  EXPECT_EQ(s.engagedGear, 0);
  EXPECT_EQ(s.shiftState, 2);
}

}  // namespace
}  // namespace vesk::sim
