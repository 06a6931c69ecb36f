#include <gtest/gtest.h>

#include "media/virtual_sound_bank.h"
#include "sim/callout_queue.h"
#include "sim/stations.h"
#include "support/station_line.h"

namespace vesk::sim {
namespace {

using Files = std::vector<std::string>;

CallOut callOut(const std::string& file, double seconds = 1) { return {test::silentWave(seconds), file}; }

TEST(CallOutQueue, AThirteenthCallOutInOneTickIsLost) {
  CallOutQueue queue;
  for (int i = 1; i <= 13; ++i) queue.add(callOut("c" + std::to_string(i)));
  ASSERT_EQ(queue.size(), 12);
  EXPECT_EQ(queue.files().front(), "c1");
  EXPECT_EQ(queue.files().back(), "c12");
}

TEST(CallOutQueue, AWaveThatNeverLoadedAddsNothing) {
  CallOutQueue queue;
  queue.add({nullptr, "missing.wav"});
  queue.add({std::make_shared<media::Wave>(), "unreadable.wav"});
  EXPECT_TRUE(queue.empty());
}

TEST(CallOutQueue, PlaysOneAfterAnotherOnItsChannel) {
  std::int64_t now = 0;
  media::VirtualSoundBank bank([&now] { return now; });
  CallOutQueue queue;
  queue.add(callOut("a", 1.0));
  queue.add(callOut("b", 0.5));
  std::vector<std::pair<std::int64_t, Files>> seen;
  for (; now <= 2000; now += 100) {
    queue.play(bank, 7, true);
    if (seen.empty() || seen.back().second != queue.files()) seen.emplace_back(now, queue.files());
  }
  // "a" plays from 0 ms to 1000 ms; the first tick that finds the channel silent drops it and plays "b".
  const std::vector<std::pair<std::int64_t, Files>> expected = {{0, {"a", "b"}}, {1000, {"b"}}, {1500, {}}};
  EXPECT_EQ(seen, expected);
  EXPECT_FALSE(bank.is_playing(7));
}

TEST(CallOutQueue, WithCallOutsOffItDrainsOneATickUnheard) {
  media::VirtualSoundBank bank([] { return std::int64_t{0}; });
  CallOutQueue queue;
  for (const char* f : {"a", "b", "c"}) queue.add(callOut(f));
  std::vector<Files> seen;
  for (int tick = 0; tick < 4; ++tick) {
    queue.play(bank, 7, false);
    seen.push_back(queue.files());
  }
  EXPECT_EQ(seen, (std::vector<Files>{{"a", "b", "c"}, {"b", "c"}, {"c"}, {}}));
  for (const media::SoundOperation& op : bank.operations()) {
    EXPECT_NE(op.kind, media::SoundOperation::Kind::PlayOnce);
  }
}

// A drive on the station line with call-out waves in every slot: two other items, four limit items (two
// "[SpeedLimit]" rows) and four "[KankoSound2]" slots.
std::unique_ptr<test::DriveFixture> drive() {
  auto f = test::stationDrive({{"A", 0, 200, 25200}, {"B", 1, test::kFramesPerKm, 0}, {"C", 0, 3600, 27000}});
  test::loadCallOutWaves(*f, 2, 4, 4);
  return f;
}

Files queued(const Drive& d) { return d.callOutQueue.files(); }

struct TimeCase {
  const char* name;
  int offset;  // clock minus the time, in 1/30 s
  int kind;
  Files files;
};
void PrintTo(const TimeCase& c, std::ostream* out) { *out << c.name; }

class Timekanko : public testing::TestWithParam<TimeCase> {};

TEST_P(Timekanko, CallsTheDifferenceInFifteenSecondSteps) {
  auto f = drive();
  f->drive.state.clock = 40000;
  f->drive.Timekanko(40000 - GetParam().offset, GetParam().kind);
  EXPECT_EQ(queued(f->drive), GetParam().files);
}

INSTANTIATE_TEST_SUITE_P(Differences, Timekanko,
                         testing::Values(TimeCase{"on_time", 0, 0, {"k17.wav"}},
                                         TimeCase{"450_behind_on_time", 450, 0, {"k17.wav"}},
                                         TimeCase{"450_ahead_on_time", -450, 0, {"k17.wav"}},
                                         TimeCase{"451_behind", 451, 0, {"k6.wav", "k13.wav"}},
                                         TimeCase{"451_ahead", -451, 0, {"k6.wav", "k15.wav"}},
                                         TimeCase{"900_behind", 900, 0, {"k6.wav", "k13.wav"}},
                                         TimeCase{"901_behind", 901, 0, {"k7.wav", "k13.wav"}},
                                         TimeCase{"two_minutes_ahead", -3600, 0, {"k12.wav", "k15.wav"}},
                                         TimeCase{"beyond_two_minutes", 3601, 0, {}},
                                         TimeCase{"check_on_time", 30, 1, {"k18.wav"}},
                                         TimeCase{"check_behind", 451, 1, {"k6.wav", "k14.wav"}},
                                         TimeCase{"check_ahead", -2000, 1, {"k9.wav", "k16.wav"}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CallOuts, EnterTwiceForTheSameItemPlaysItOnce) {
  auto f = drive();
  Drive& d = f->drive;
  test::standAt(*f, 1200);  // approaching the pass station B
  d.state.speed = 50;
  f->runTicks(1);
  ASSERT_EQ(d.state.pendingOther, 0);
  d.keydowns(Key::Enter, false);
  d.keydowns(Key::Enter, false);
  EXPECT_EQ(queued(d), Files{"other0.wav"});
}

TEST(CallOuts, TheQueueDrainsWithCallOutsOff) {
  auto f = drive();
  Drive& d = f->drive;
  d.settings.Kanko = 1;
  for (int i = 0; i < 5; ++i) d.stationCallOut(3);
  ASSERT_EQ(queued(d).size(), 5u);
  f->runTicks(6);
  EXPECT_TRUE(queued(d).empty());
  for (const media::SoundOperation& op : f->sounds.operations()) {
    EXPECT_FALSE(op.kind == media::SoundOperation::Kind::PlayOnce && op.channel == test::kCalloutChannel);
  }
}

TEST(CallOuts, HeardOnTheCallOutChannel) {
  auto f = drive();
  f->drive.stationCallOut(4);
  f->runTicks(1);
  EXPECT_TRUE(f->sounds.is_playing(test::kCalloutChannel));
  EXPECT_EQ(f->sounds.wave(test::kCalloutChannel), f->drive.callOutWaves.CallOutSounds[20]);
}

struct RowCase {
  const char* name;
  int event;
  int rowKind;
  int value;
  Files files;
};
void PrintTo(const RowCase& c, std::ostream* out) { *out << c.name; }

class StationRows : public testing::TestWithParam<RowCase> {};

// Station rows of the current station (C) for the event; a row of another station never counts. With an item
// pending, 999 answers it exactly as Enter would.
TEST_P(StationRows, QueueTheirCallOuts) {
  const RowCase& c = GetParam();
  auto f = drive();
  Drive& d = f->drive;
  f->route.stationCallouts[0] = {2, c.rowKind, c.value};
  f->route.stationCallouts[1] = {0, c.rowKind, 3};
  f->route.stationCalloutCount = 2;
  d.state.currentStation = 2;
  d.state.clock = 27000 + 600;
  d.state.pendingOther = 1;
  d.stationCallOut(c.event);
  EXPECT_EQ(queued(d), c.files);
}

INSTANTIATE_TEST_SUITE_P(
    Events, StationRows,
    testing::Values(RowCase{"stopped_slot", 0, 4, 2, {"k2.wav"}}, RowCase{"doors_opened_slot", 1, 0, 5, {"k5.wav"}},
                    RowCase{"announced_time", 2, 1, 27000, {"k6.wav", "k13.wav"}},
                    RowCase{"doors_shut_after_the_doors_closed_phrase", 3, 2, 4, {"k19.wav", "k4.wav"}},
                    RowCase{"first_power_after_the_departure_phrase", 4, 3, 4, {"k20.wav", "k4.wav"}},
                    RowCase{"doors_closing_enter", 5, 5, 999, {"other1.wav"}},
                    RowCase{"other_event_nothing", 1, 4, 2, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CallOuts, ARowOf999GivesTheDriversResponseOnlyOnce) {
  auto f = drive();
  Drive& d = f->drive;
  f->route.stationCallouts[0] = {2, 4, 999};
  f->route.stationCalloutCount = 1;
  d.state.currentStation = 2;
  d.state.pendingOther = 1;
  d.stationCallOut(0);
  d.keydowns(Key::Enter, false);
  EXPECT_EQ(queued(d), Files{"other1.wav"});
}

struct SignalCase {
  const char* name;
  int image;
  int calloutNumber;
  Files files;
};
void PrintTo(const SignalCase& c, std::ostream* out) { *out << c.name; }

class SignalCallOut : public testing::TestWithParam<SignalCase> {};

// Enter with nothing else pending: the signal ahead's own name ("[KankoSound2]" slot of its number) and its
// indication.
TEST_P(SignalCallOut, ByTheIndicationOfTheSignalAhead) {
  auto f = drive();
  Drive& d = f->drive;
  d.state.shownSignalImage = GetParam().image;
  d.state.shownSignalCallout = GetParam().calloutNumber;
  d.keydowns(Key::Enter, false);
  EXPECT_EQ(queued(d), GetParam().files);
}

INSTANTIATE_TEST_SUITE_P(Indications, SignalCallOut,
                         testing::Values(SignalCase{"stop", 1, 0, {"k22.wav", "k0.wav"}},
                                         SignalCase{"restricted", 22, 1, {"k23.wav", "k1.wav"}},
                                         SignalCase{"caution", 8, 2, {"k24.wav", "k2.wav"}},
                                         SignalCase{"reduced", 24, 9, {"k3.wav"}},
                                         SignalCase{"clear", 33, 0, {"k22.wav", "k4.wav"}},
                                         SignalCase{"shunting", 2, 3, {"k25.wav", "k5.wav"}},
                                         SignalCase{"high_speed", 34, 9, {"k21.wav"}},
                                         SignalCase{"no_signal_ahead", kNone, 0, {}}),
                         [](const auto& info) { return std::string(info.param.name); });

// "[SignalKanko]" rows of the signal on screen: rows of kind 0 before its own name, kinds 2 and 1 after its
// indication; rows of other signals never.
TEST(CallOuts, SignalRowsAroundTheSignalCallOut) {
  auto f = drive();
  Drive& d = f->drive;
  f->route.signals[0].visibleFrom = 100;
  f->route.signals[0].visibleTo = 300;
  f->route.signals[1].visibleFrom = 250;
  f->route.signals[1].visibleTo = 600;
  f->route.signalCount = 2;
  f->route.signalCallouts[0] = {1, 2, 8};
  f->route.signalCallouts[1] = {1, 0, 9};
  f->route.signalCallouts[2] = {0, 0, 10};
  f->route.signalCallouts[3] = {1, 1, 11};
  f->route.signalCallouts[4] = {1, 3, 12};
  f->route.signalCalloutCount = 5;
  d.state.frame = 280;  // both signals' ranges hold the frame: the later one is on screen
  d.state.shownSignalImage = 33;
  d.state.shownSignalCallout = 0;
  d.keydowns(Key::Enter, false);
  EXPECT_EQ(queued(d), (Files{"k9.wav", "k22.wav", "k4.wav", "k8.wav", "k11.wav"}));
}

struct ItemCase {
  const char* name;
  int frame;
  double speed;
  int pendingOther;
  int pendingLimit;
  int limitWarn;
  int limitEnd;
  Files enter;  // what Enter then queues
};
void PrintTo(const ItemCase& c, std::ostream* out) { *out << c.name; }

class PendingItems : public testing::TestWithParam<ItemCase> {};

// The line: a time check between frames 600 and 700 (14:00:00), the pass station B at 1800 (platform from
// 1620), C's mark at 3600, speed limits over 4200-4500 and 5000-5200.
TEST_P(PendingItems, FoundByTheTickAndCalledByEnter) {
  const ItemCase& c = GetParam();
  auto f = drive();
  Drive& d = f->drive;
  f->route.timetable[0] = {600, 700, 25200};
  f->route.timetableCount = 1;
  f->route.speedLimits[0] = {45, 1, 1, 4200, 4500, 0};
  f->route.speedLimits[1] = {60, 2, 1, 5000, 5200, 0};
  f->route.speedLimitCount = 2;
  test::standAt(*f, c.frame);
  chooseNextStop(d, 1);
  d.state.clock = 25200 + 500;
  d.state.speed = c.speed;
  f->runTicks(1);
  EXPECT_EQ(d.state.pendingOther, c.pendingOther);
  EXPECT_EQ(d.state.pendingLimit, c.pendingLimit);
  EXPECT_EQ(d.state.limitWarnPending, c.limitWarn);
  EXPECT_EQ(d.state.limitEndPending, c.limitEnd);
  EXPECT_EQ(d.state.lastCallOutId, -1);
  d.callOutQueue.clear();
  d.keydowns(Key::Enter, false);
  EXPECT_EQ(queued(d), c.enter);
}

INSTANTIATE_TEST_SUITE_P(Items, PendingItems,
                         testing::Values(ItemCase{"time_check", 650, 60, 900, kNone, 0, 0, {"k6.wav", "k14.wav"}},
                                         ItemCase{"passing_station", 1200, 60, 0, kNone, 0, 0, {"other0.wav"}},
                                         ItemCase{"stopping_position", 3300, 40, 1, kNone, 0, 0, {"other1.wav"}},
                                         ItemCase{"limit_ahead", 4000, 60, kNone, 0, 1, 0, {"limit0.wav"}},
                                         ItemCase{"limit_ahead_standing", 4000, 0, kNone, 0, 1, 0, {}},
                                         ItemCase{"limit_end", 4600, 40, kNone, 1, 0, 1, {"limit1.wav"}},
                                         ItemCase{"second_limit_ahead", 4800, 40, kNone, 2, 1, 0, {"limit2.wav"}},
                                         ItemCase{"nothing", 2700, 60, kNone, kNone, 0, 0, {}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CallOuts, LevelCrossingsWaitInTheirQueue) {
  auto f = drive();
  Drive& d = f->drive;
  f->route.crossings[0] = {1, 25, 400, 500, 0};
  f->route.crossings[1] = {1, 24, 450, 700, 0};
  f->route.crossingCount = 2;
  test::standAt(*f, 350);
  d.state.speed = 60;
  f->runTicks(1);
  EXPECT_EQ(d.state.crossingPending, -1);
  // A fast train's frame may jump past the first frames: the crossing still enters.
  for (const int frame : {440, 460}) {
    test::standAt(*f, frame);
    d.state.speed = 60;
    f->runTicks(1);
  }
  EXPECT_EQ(d.state.crossingQueue[0], 0);
  EXPECT_EQ(d.state.crossingQueue[1], 1);
  EXPECT_EQ(d.state.crossingPending, 1);
  // The first leaves uncalled at its last frame.
  test::standAt(*f, 550);
  d.state.speed = 60;
  f->runTicks(1);
  EXPECT_EQ(d.state.crossingQueue[0], 1);
  EXPECT_EQ(d.state.crossingQueue[1], -1);
  d.callOutQueue.clear();
  d.state.speed = 0;
  d.keydowns(Key::Enter, false);
  EXPECT_TRUE(queued(d).empty()) << "standing, no crossing call-out";
  d.state.speed = 30;
  d.keydowns(Key::Enter, false);
  EXPECT_EQ(queued(d), Files{"k24.wav"});
  EXPECT_EQ(d.state.crossingQueue[0], -1);
  EXPECT_EQ(d.state.crossingPending, -1);
}

TEST(CallOuts, ClearingThePerRunTablesForgetsWaitingAndPendingCallOuts) {
  auto f = drive();
  Drive& d = f->drive;
  d.stationCallOut(3);
  d.state.pendingOther = 1;
  d.state.lastCallOutId = 40;
  d.state.crossingQueue[0] = 0;
  d.state.crossingPending = 0;
  d.line.stations[0].served = 1;
  d.line.crossingEntered[0] = 1;
  d.clearPerRunTables();
  EXPECT_TRUE(queued(d).empty());
  EXPECT_EQ(d.state.pendingOther, kNone);
  EXPECT_EQ(d.state.lastCallOutId, -1);
  EXPECT_EQ(d.state.crossingQueue[0], -1);
  EXPECT_EQ(d.state.crossingPending, -1);
  EXPECT_EQ(d.line.stations[0].served, 0);
  EXPECT_EQ(d.line.crossingEntered[0], 0);
}

}  // namespace
}  // namespace vesk::sim
