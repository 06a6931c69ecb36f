#include <gtest/gtest.h>

#include "sim/track.h"
#include "support/drive_fixture.h"

namespace vesk::sim {
namespace {

using core::Fixed;
using test::makeDrive;

data::RouteData slopedLine() {
  data::RouteData r = test::levelRoute(10, 60);
  r.slopes[0] = {Fixed::fromInt(10), 100, 200};
  r.slopes[1] = {Fixed::fromDouble(-25.5), 300, 400};
  r.slopeCount = 2;
  return r;
}

struct HeadGradientCase {
  const char* name;
  int frame;
  double before;
  double after;
  int post;  // gradient post pattern; -1: unchanged
};
void PrintTo(const HeadGradientCase& testCase, std::ostream* out) { *out << testCase.name; }

class HeadGradientTest : public testing::TestWithParam<HeadGradientCase> {};

TEST_P(HeadGradientTest, LooksUp) {
  auto f = makeDrive(test::testVehicle(), slopedLine());
  const auto post = f->sprites.add({.picture = "img_unten_slope", .pattern = 77});
  f->drive.state.frame = GetParam().frame;
  f->drive.state.headGradient = Fixed::fromDouble(GetParam().before);
  sampleGradient(f->drive);
  EXPECT_EQ(f->drive.state.headGradient, Fixed::fromDouble(GetParam().after));
  EXPECT_EQ(f->sprites.at(post).pattern, GetParam().post < 0 ? 77 : GetParam().post);
}

INSTANTIATE_TEST_SUITE_P(Frames, HeadGradientTest,
                         testing::Values(HeadGradientCase{"inside_first", 150, 0, 10, 1},
                                         HeadGradientCase{"inside_second", 350, 0, -25.5, 2},
                                         HeadGradientCase{"between_rows", 250, 10, 0, 0},
                                         HeadGradientCase{"after_last", 450, -25.5, 0, 0},
                                         HeadGradientCase{"on_a_boundary_keeps", 200, 10, 10, -1},
                                         HeadGradientCase{"on_a_start_keeps", 300, 0, 0, -1},
                                         HeadGradientCase{"before_first_keeps", 50, 3, 3, -1},
                                         HeadGradientCase{"unchanged_value_leaves_post", 150, 10, 10, -1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Gradient, ChangesEvery20MetresAndReachesTheSlopeAfterCarsSamples) {
  auto f = makeDrive(test::testVehicle(), slopedLine());  // 3 cars
  Drive& d = f->drive;
  d.state.frame = 150;  // on the 10 per mil slope
  std::vector<double> seen;
  for (int metres = 0; metres <= 100; metres += 5) {
    d.state.position = metres * 100.0;
    sampleGradient(d);
    seen.push_back(d.state.gradient.toDouble());
  }
  // Samples at 25, 50, 75 and 100 m (strictly more than 20 m apart): 10/3, 20/3, 10, 10.
  const std::vector<double> expected = {0,       0,       0,       0,       0,       10. / 3, 10. / 3,
                                        10. / 3, 10. / 3, 10. / 3, 20. / 3, 20. / 3, 20. / 3, 20. / 3,
                                        20. / 3, 10,      10,      10,      10,      10,      10};
  ASSERT_EQ(seen.size(), expected.size());
  for (std::size_t i = 0; i < seen.size(); ++i) EXPECT_NEAR(seen[i], expected[i], 1e-4) << "at " << i * 5 << " m";
}

TEST(Gradient, SamplesRoundTheHeadGradientHalvesToEven) {
  data::RouteData r = test::levelRoute(10, 60);
  r.slopes[0] = {Fixed::fromDouble(2.5), 0, 1000};
  r.slopeCount = 1;
  data::VehicleSpec v = test::testVehicle();
  v.cars = 1;
  auto f = makeDrive(v, r);
  f->drive.state.frame = 10;
  f->drive.state.position = 2500;
  sampleGradient(f->drive);
  EXPECT_EQ(f->drive.state.gradientSamples[0], 2);
  EXPECT_EQ(f->drive.state.gradient, Fixed::fromInt(2));
}

TEST(Gradient, MoreThanThirtyCarsUseThirtySamples) {
  data::VehicleSpec v = test::testVehicle();
  v.cars = 45;
  auto f = makeDrive(v, slopedLine());
  f->drive.state.frame = 150;
  for (int i = 1; i <= 40; ++i) {
    f->drive.state.position = i * 2001.0;
    sampleGradient(f->drive);
  }
  EXPECT_EQ(f->drive.state.gradient, Fixed::fromInt(10));
}

struct TunnelCase {
  const char* name;
  double position;
  int inTunnel;
  int depth;
};
void PrintTo(const TunnelCase& testCase, std::ostream* out) { *out << testCase.name; }

class TunnelTest : public testing::TestWithParam<TunnelCase> {};

TEST_P(TunnelTest, DepthRampsOverTheEnds) {
  data::RouteData r = test::levelRoute(10, 60);
  r.tunnels[0] = {0, 0, 200, 10000, 50000};
  r.tunnelCount = 1;
  auto f = makeDrive(test::testVehicle(), r);
  f->drive.state.position = GetParam().position;
  updateTunnel(f->drive);
  EXPECT_EQ(f->drive.state.inTunnel, GetParam().inTunnel);
  EXPECT_EQ(f->drive.state.tunnelDepth, GetParam().depth);
}

INSTANTIATE_TEST_SUITE_P(Positions, TunnelTest,
                         testing::Values(TunnelCase{"outside", 5000, 0, 0}, TunnelCase{"at_the_mouth", 10000, 0, 0},
                                         TunnelCase{"entering", 10750, 1, 100},
                                         // 375 / 7.5 = 50
                                         TunnelCase{"first_metres", 10375, 1, 50},
                                         TunnelCase{"deep_inside", 30000, 1, 200}, TunnelCase{"leaving", 49250, 1, 100},
                                         TunnelCase{"beyond", 50001, 0, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Tunnel, ResistanceAppliesFromTheNextTick) {
  data::RouteData r = test::levelRoute(10, 60);
  r.tunnelResistance = 5;
  r.tunnels[0] = {0, 0, 200, 0, 1000000};
  r.tunnelCount = 1;
  auto inside = makeDrive(test::testVehicle(), r);
  auto outside = makeDrive();
  for (auto* f : {inside.get(), outside.get()}) {
    f->drive.state.position = 100;
    f->drive.state.speed = 80;
    f->runTicks(2);
  }
  // The tunnel costs 5/10000 x 80^2 x 100 x 9.8 = 3136 N: 0.0113 km/h a tick on 100 t.
  EXPECT_LT(inside->drive.state.speed, outside->drive.state.speed - 0.01);
}

}  // namespace
}  // namespace vesk::sim
