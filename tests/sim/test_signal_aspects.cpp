#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/protection.h"
#include "sim/signal_pictures.h"
#include "support/drive_fixture.h"

namespace vesk::sim {
namespace {

// Eight signals of one head type standing at frames 1000, 2000, ... 8000, each in view for the 500 frames before
// it; "[Speed_Signal]" of five speeds (highest aspect 4).
data::RouteData eightSignals(int headType) {
  data::RouteData r = test::levelRoute(10, 60);
  r.signalSpeeds = {0, 25, 45, 65, 110};
  r.signalSpeedCount = 5;
  for (int i = 0; i < 8; ++i) {
    data::SignalRow& s = r.signals[static_cast<std::size_t>(i)];
    s.headType = headType;
    s.visibleFrom = 1000 * (i + 1) - 500;
    s.visibleTo = 1000 * (i + 1);
  }
  r.signalCount = 8;
  return r;
}

std::vector<int> aspects(const Drive& drive) {
  std::vector<int> out;
  for (int i = 0; i < drive.route.signalCount; ++i)
    out.push_back(drive.line.signals[static_cast<std::size_t>(i)].aspect);
  return out;
}

struct WalkCase {
  const char* name;
  int headType;
  std::vector<int> expected;  // with the preceding train between signals 5 and 6
};
void PrintTo(const WalkCase& c, std::ostream* out) { *out << c.name; }

class SignalWalkTest : public testing::TestWithParam<WalkCase> {};

TEST_P(SignalWalkTest, SignalsBehindThePrecedingTrainStepUpFromStop) {
  auto f = test::makeDrive(test::testVehicle(), eightSignals(GetParam().headType));
  f->drive.state.precedingFrame = 6500;
  updateSignalAspects(f->drive);
  EXPECT_EQ(aspects(f->drive), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(HeadTypes, SignalWalkTest,
                         testing::Values(
                             // Two lamps: never more than two steps, so the walk goes back to the start of the line.
                             WalkCase{"Type1", 1, {2, 2, 2, 2, 1, 0, 4, 4}},
                             // Three aspects: restricted one block back, clear from the second.
                             WalkCase{"Type2TwoBlocksRestrictedThreeClear", 2, {4, 4, 4, 4, 2, 0, 4, 4}},
                             WalkCase{"Type3", 3, {4, 4, 4, 3, 2, 0, 4, 4}},
                             WalkCase{"Type4", 4, {4, 4, 4, 2, 1, 0, 4, 4}},
                             WalkCase{"Type5", 5, {4, 4, 3, 2, 1, 0, 4, 4}},
                             WalkCase{"Type6Uncapped", 6, {4, 4, 3, 2, 1, 0, 4, 4}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SignalAspects, WithoutAPrecedingTrainEverySignalShowsItsHighestAspect) {
  auto f = test::makeDrive(test::testVehicle(), eightSignals(2));
  updateSignalAspects(f->drive);
  EXPECT_EQ(aspects(f->drive), (std::vector<int>{4, 4, 4, 4, 4, 4, 4, 4}));
}

TEST(SignalAspects, EntriesThatAreNoSignalsTakeTheAspectAhead) {
  data::RouteData r = eightSignals(4);
  r.signals[4].headType = 0;   // a marker between two signals
  r.signals[6].headType = -1;  // the entry just behind the train is no signal: the stop steps back past it
  auto f = test::makeDrive(test::testVehicle(), r);
  f->drive.state.precedingFrame = 7500;
  updateSignalAspects(f->drive);
  EXPECT_EQ(aspects(f->drive), (std::vector<int>{4, 4, 2, 1, 0, 0, 4, 4}));
}

TEST(SignalAspects, TheFirstAndTheLastSignalShowStopBehindTheTrain) {
  auto f = test::makeDrive(test::testVehicle(), eightSignals(2));
  f->drive.state.precedingFrame = 1500;  // between the first two signals
  updateSignalAspects(f->drive);
  EXPECT_EQ(aspects(f->drive), (std::vector<int>{0, 4, 4, 4, 4, 4, 4, 4}));
  f->drive.state.precedingFrame = 9000;  // beyond the last signal
  updateSignalAspects(f->drive);
  EXPECT_EQ(aspects(f->drive), (std::vector<int>{4, 4, 4, 4, 4, 4, 2, 0}));
}

struct FixedCase {
  const char* name;
  int controlKind;
  int clock;
  bool announced;
  int expected;  // aspect of signal 2, fixed at 1, with no preceding train
};
void PrintTo(const FixedCase& c, std::ostream* out) { *out << c.name; }

class FixedAspectTest : public testing::TestWithParam<FixedCase> {};

TEST_P(FixedAspectTest, OverridesTheAutomaticAspect) {
  data::RouteData r = eightSignals(2);
  r.stationCount = 2;
  data::SignalRow& s = r.signals[2];
  s.controlKind = GetParam().controlKind;
  s.fixedAspect = 1;
  s.timeLimit = 1000;
  s.stationIndex = 1;
  auto f = test::makeDrive(test::testVehicle(), r);
  f->drive.state.clock = GetParam().clock;
  f->drive.line.stations[1].departureAnnounced = GetParam().announced ? 1 : 0;
  updateSignalAspects(f->drive);
  EXPECT_EQ(f->drive.line.signals[2].aspect, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(ControlKinds, FixedAspectTest,
                         testing::Values(FixedCase{"Automatic", 0, 0, false, 4},
                                         FixedCase{"UntilATimeBefore", 1, 999, false, 1},
                                         FixedCase{"UntilATimeAfter", 1, 1000, false, 4},
                                         FixedCase{"Always", 2, 5000, true, 1},
                                         FixedCase{"UntilDepartureAnnounced", 3, 0, false, 1},
                                         FixedCase{"AfterDepartureAnnounced", 3, 0, true, 4}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SignalAspects, AStationTheLineDoesNotHaveLeavesTheSignalAutomatic) {
  data::RouteData r = eightSignals(2);
  r.stationCount = 2;
  r.signals[2].controlKind = 3;
  r.signals[2].fixedAspect = 0;
  r.signals[2].stationIndex = 7;
  auto f = test::makeDrive(test::testVehicle(), r);
  updateSignalAspects(f->drive);
  EXPECT_EQ(f->drive.line.signals[2].aspect, 4);
}

TEST(SignalAspects, AnEmptySpeedListShowsStopAndAShortOneBoundsTheAspect) {
  data::RouteData r = eightSignals(2);
  r.signalSpeedCount = 0;
  auto f = test::makeDrive(test::testVehicle(), r);
  updateSignalAspects(f->drive);
  EXPECT_EQ(aspects(f->drive), (std::vector<int>(8, 0)));
  r.signalSpeedCount = 3;
  r.signals[1].controlKind = 2;
  r.signals[1].fixedAspect = 9;  // beyond the list: the highest aspect
  auto g = test::makeDrive(test::testVehicle(), r);
  g->drive.state.precedingFrame = 6500;
  updateSignalAspects(g->drive);
  EXPECT_EQ(aspects(g->drive), (std::vector<int>{2, 2, 2, 2, 2, 0, 2, 2}));
}

TEST(SignalPictures, FollowHeadTypeAndAspect) {
  EXPECT_EQ(signalPicture(2, 0, 110), 7);
  EXPECT_EQ(signalPicture(2, 2, 110), 8);
  EXPECT_EQ(signalPicture(5, 1, 110), 18);
  EXPECT_EQ(signalPicture(9, 5, 110), 40);
  EXPECT_EQ(signalPicture(9, 8, 110), 40);  // aspects above 5 look like 5
  EXPECT_EQ(signalPicture(7, 5, 130), 28);
  EXPECT_EQ(signalPicture(7, 5, 131), 29);  // the high-speed clear aspect
  EXPECT_EQ(signalPicture(8, 5, 131), 34);
  EXPECT_EQ(signalPicture(8, 4, 131), 33);
  EXPECT_EQ(signalPicture(10, 0, 110), 0);
  EXPECT_EQ(signalPicture(-1, 0, 110), 0);
  for (int p : {1, 4, 7, 10, 13, 17, 21, 26, 30, 35}) EXPECT_TRUE(isStopPicture(p)) << p;
  for (int p : {0, 2, 8, 18, 22, 27, 36, 999}) EXPECT_FALSE(isStopPicture(p)) << p;
}

TEST(SignalPictures, OutOfViewASignalKeepsOnlyWhetherItIsAtStop) {
  data::RouteData r = eightSignals(2);
  auto f = test::makeDrive(test::testVehicle(), r);
  f->drive.state.precedingFrame = 2500;
  f->drive.state.frame = 1800;  // signal 1 (1500-2000) in view
  updateSignalAspects(f->drive);
  EXPECT_EQ(f->drive.line.signals[0].image, 12);  // passed, clear
  EXPECT_EQ(f->drive.line.signals[1].image, 7);   // in view, stop
  EXPECT_EQ(f->drive.line.signals[2].image, 12);
  f->drive.state.frame = 100;
  updateSignalAspects(f->drive);
  EXPECT_EQ(f->drive.line.signals[1].image, 0);  // out of view, stop
}

}  // namespace
}  // namespace vesk::sim
