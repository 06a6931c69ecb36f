#include <gtest/gtest.h>

#include <cmath>

#include "sim/dynamics.h"
#include "support/drive_fixture.h"

namespace vesk::sim {
namespace {

using core::Fixed;
using test::makeDrive;

// The gradient (per mil) whose force on the 100 t test train equals f newtons.
double gradientForForce(double force) {
  const double sine = force / (100 * 1000 * 9.8);
  return 1000 * sine / std::sqrt(1 - sine * sine);
}

struct FrictionCase {
  const char* name;
  double speed;
  double factor;
};
void PrintTo(const FrictionCase& testCase, std::ostream* out) { *out << testCase.name; }

class FrictionFactorTest : public testing::TestWithParam<FrictionCase> {};

TEST_P(FrictionFactorTest, Factor) {
  EXPECT_NEAR(brakeFrictionFactor(GetParam().speed, test::testVehicle()).toDouble(), GetParam().factor, 1e-4);
}

// "[BrakeRate]" 4.2, 3.5, 40 and "[BrakeRate2]" 0.03.
INSTANTIATE_TEST_SUITE_P(Speeds, FrictionFactorTest,
                         testing::Values(FrictionCase{"at_rest_is_first_brake_rate", 0, 4.2},
                                         FrictionCase{"backwards_uses_magnitude", -40, 1.0},
                                         FrictionCase{"at_third_brake_rate", 40, 1.0}, FrictionCase{"above", 90, 1.0},
                                         // ((1 + 0.1) / (1 + 0.3)) / ((1 + 0.4) / (1 + 1.2))
                                         FrictionCase{"low_speed_grips_more", 10, (1.1 / 1.3) / (1.4 / 2.2)},
                                         FrictionCase{"just_below", 39.9, (1.399 / 2.197) / (1.4 / 2.2)}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Dynamics, FrictionFactorWithoutUsableTermsIsOne) {
  data::VehicleSpec v = test::testVehicle();
  v.brakeRate2 = -0.1;  // 1 + X x v vanishes at 10 km/h
  EXPECT_EQ(brakeFrictionFactor(10, v), Fixed::fromInt(1));
}

TEST(Dynamics, TrainHeldAtRestOnAGradientBelowTheBrakesHoldingForce) {
  // Holding force: beta x m / 3.6 = 4.2 x 100000 / 3.6 = 116667 N with the trailer cylinders at "[EBPress]".
  for (double force : {20000.0, 60000.0, 110000.0}) {
    for (double sign : {1.0, -1.0}) {
      auto f = makeDrive();
      f->drive.state.bcTrailer = Fixed::fromInt(480);
      f->drive.state.bcMotor = Fixed::fromInt(480);
      f->drive.state.gradient = Fixed::fromDouble(sign * gradientForForce(force));
      f->runTicks(50);
      EXPECT_EQ(f->drive.state.speed, 0) << force << " N, sign " << sign;
      EXPECT_EQ(f->drive.state.frame, 0);
    }
  }
}

TEST(Dynamics, TrainRollsWhenTheGradientBeatsTheBrakes) {
  auto f = makeDrive();
  f->drive.state.bcTrailer = Fixed::fromInt(480);
  f->drive.state.gradient = Fixed::fromDouble(gradientForForce(130000));  // rising: rolls backwards
  f->runTicks(10);
  EXPECT_LT(f->drive.state.speed, 0);
}

TEST(Dynamics, BrakingToAStopNeverReverses) {
  for (double start : {5.0, 30.0, 80.0}) {
    auto f = makeDrive();
    f->drive.state.speed = start;
    f->drive.state.bcMotor = Fixed::fromInt(400);
    f->drive.state.bcTrailer = Fixed::fromInt(400);
    f->drive.state.brakeNotch = -7;
    bool stopped = false;
    for (int i = 0; i < 600; ++i) {
      f->runTicks(1);
      const double v = f->drive.state.speed;
      ASSERT_GE(v, 0) << "from " << start << " km/h, tick " << i;
      if (v == 0) stopped = true;
      if (stopped) {
        ASSERT_EQ(v, 0);
      }
    }
    EXPECT_TRUE(stopped) << start;
  }
}

TEST(Dynamics, StandingTrainWithReleasedBrakesOnLevelTrackStaysPut) {
  auto f = makeDrive();
  f->runTicks(100);
  EXPECT_EQ(f->drive.state.speed, 0);
  EXPECT_EQ(f->drive.state.frame, 0);
  EXPECT_EQ(f->drive.state.resistForce, Fixed{});
}

TEST(Dynamics, CoastingTrainComesToRestWithoutOscillating) {
  auto f = makeDrive();
  f->drive.state.speed = 3;
  for (int i = 0; i < 3000; ++i) {
    f->runTicks(1);
    ASSERT_GE(f->drive.state.speed, 0) << "tick " << i;
  }
  EXPECT_EQ(f->drive.state.speed, 0);
}

TEST(Dynamics, GentleFallingGradientDoesNotOvercomeStartingResistance) {
  // 8 kgf a tonne at rest: about 7.8 per mil; 5 per mil stays, 12 per mil rolls away.
  auto f = makeDrive();
  f->drive.state.gradient = Fixed::fromInt(-5);
  f->runTicks(50);
  EXPECT_EQ(f->drive.state.speed, 0);
  auto g = makeDrive();
  g->drive.state.gradient = Fixed::fromInt(-12);
  g->runTicks(50);
  EXPECT_GT(g->drive.state.speed, 0);
}

TEST(Dynamics, WheelSpinHalvesTheForceUntilATickWithout) {
  auto f = makeDrive();
  Drive& d = f->drive;
  d.state.speed = 20;
  d.state.powerNotch = 4;
  d.state.adhesion = Fixed::fromDouble(0.25);
  // Adhesion on the 60 t of motor cars at 20 km/h: 0.3 x 6.58/8.34 = 0.2367 -> limit about 139000 N.
  d.state.tractiveForce = Fixed::fromInt(200000);
  brakeForceStep(d);
  adhesionStep(d);
  const double mu = d.state.adhesion.toDouble();
  EXPECT_NEAR(mu, 0.3 * (1 + 0.279 * 20) / (1 + 0.367 * 20), 1e-4);
  EXPECT_EQ(d.state.adhesionText, "空転");
  EXPECT_NEAR(d.state.tractiveForce.toDouble(), 0.5 * mu * 60000 * 9.8, 0.001);

  d.state.resistForce = {};
  d.state.tractiveForce = Fixed::fromInt(50000);
  adhesionStep(d);
  EXPECT_EQ(d.state.adhesionText, "");
  EXPECT_EQ(d.state.tractiveForce, Fixed::fromInt(50000));
}

TEST(Dynamics, WheelSlideWhileBraking) {
  auto f = makeDrive();
  Drive& d = f->drive;
  d.state.speed = 60;
  d.state.brakeNotch = -7;
  d.state.tractiveForce = Fixed::fromInt(-400000);
  adhesionStep(d);
  const double mu = 0.3 / (1 + 0.0059 * 60);
  EXPECT_NEAR(d.state.adhesion.toDouble(), mu, 1e-4);
  EXPECT_EQ(d.state.adhesionText, "滑走");
  EXPECT_NEAR(d.state.tractiveForce.toDouble(), -0.66 * d.state.adhesion.toDouble() * 100000 * 9.8, 0.001);
}

TEST(Dynamics, AdhesionKeepsItsLastValueWhileCoasting) {
  auto f = makeDrive();
  Drive& d = f->drive;
  d.state.adhesion = Fixed::fromDouble(0.1234);
  d.state.speed = 50;
  adhesionStep(d);
  EXPECT_EQ(d.state.adhesion, Fixed::fromDouble(0.1234));
}

struct ResistanceCase {
  const char* name;
  double speed;
  double expected;  // resistForce after the resistance step on level track, N
};
void PrintTo(const ResistanceCase& testCase, std::ostream* out) { *out << testCase.name; }

class ResistanceTest : public testing::TestWithParam<ResistanceCase> {};

TEST_P(ResistanceTest, Force) {
  auto f = makeDrive();
  f->drive.state.speed = GetParam().speed;
  resistanceStep(f->drive);
  EXPECT_NEAR(f->drive.state.resistForce.toDouble(), GetParam().expected, 0.0001);
}

double running(double v) { return (1.32 * 100 + 0.0164 * 100 * v + (0.028 + 0.0078 * 2) * v * v) * 9.8; }

INSTANTIATE_TEST_SUITE_P(Speeds, ResistanceTest,
                         testing::Values(ResistanceCase{"at_rest_nothing_to_resist", 0, 0},
                                         ResistanceCase{"creeping_forwards_only_starting", 0.1, -(8 - 0.1) * 9.8 * 100},
                                         ResistanceCase{"creeping_backwards_only_starting", -0.05,
                                                        (8 - 0.05) * 9.8 * 100},
                                         ResistanceCase{"slow_both", 5, -((8 - 5) * 9.8 * 100 + running(5))},
                                         ResistanceCase{"running_only", 60, -running(60)},
                                         ResistanceCase{"backwards_running", -20, running(20)}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Dynamics, ConstantSpeedCancelsTheResistance) {
  auto f = makeDrive();
  Drive& d = f->drive;
  d.control.constantSpeed = 1;
  d.state.speed = 60;
  d.state.tractiveForce = Fixed::fromInt(90000);
  resistanceStep(d);
  EXPECT_EQ(d.state.tractiveForce, -d.state.resistForce);
}

TEST(Dynamics, HoldPositionHoldsTheSpeedOnADescent) {
  auto f = makeDrive();
  Drive& d = f->drive;
  d.control.holdPosition = 1;
  d.state.speed = 40;
  d.state.gradient = Fixed::fromInt(-20);
  f->runTicks(15);  // less than one car length of travel, so the gradient stays
  EXPECT_NEAR(d.state.speed, 40, 0.001);
}

TEST(Dynamics, BrakeForceByBrakeForceMode) {
  // beta 4.2, P 480, factor 1 at 60 km/h; pm 240 on motor cars, pt 480 on trailers; masses 60 / 0 / 40 t.
  auto cylinder = [](double p, double tonnes) { return p * 4.2 / 480 / 3.6 * tonnes * 1000; };
  const double electric = 200 * 3.5 / 400 / 3.6 * 60 * 1000;
  const double expected[] = {cylinder(240, 60) + cylinder(480, 0),
                             cylinder(240, 60) + cylinder(480, 0) + cylinder(480, 40) + electric,
                             cylinder(240, 60) + cylinder(240, 0) + cylinder(480, 40) + electric};
  for (int mode = 0; mode < 3; ++mode) {
    auto f = makeDrive();
    Drive& d = f->drive;
    f->vehicle.brakeForceMode = mode;
    d.state.speed = 60;
    d.state.bcMotor = Fixed::fromInt(240);
    d.state.bcTrailer = Fixed::fromInt(480);
    d.state.elecBrakeCurrent = 200;
    brakeForceStep(d);
    EXPECT_NEAR(d.state.brakeForce.toDouble(), expected[mode], 0.0001) << "mode " << mode;
    EXPECT_EQ(d.state.tractiveForce, -d.state.brakeForce);
  }
}

TEST(Dynamics, ZeroDivisorsFromDataLeaveNoNaN) {
  data::VehicleSpec v = test::testVehicle();
  v.ebPressure = 0;
  v.elecBrakeMaxCurrent = 0;
  v.trainMass = Fixed{};
  v.cars = 0;
  auto f = makeDrive(v);
  f->drive.state.speed = 30;
  f->drive.state.bcTrailer = Fixed::fromInt(400);
  f->drive.state.elecBrakeCurrent = 100;
  f->runTicks(30);
  EXPECT_TRUE(std::isfinite(f->drive.state.speed));
  EXPECT_EQ(f->drive.state.brakeForce, Fixed{});
  EXPECT_EQ(f->drive.state.speed, 30);
}

}  // namespace
}  // namespace vesk::sim
