#include <gtest/gtest.h>

#include <random>

#include "data/track_positions.h"
#include "sim/stations.h"
#include "support/station_line.h"

namespace vesk::sim {
namespace {

using test::StationSpec;

// A: stop, B: pass, C: stop, D: stop without door handling, E: the last stop. 14:00, 15:00, 15:30, 16:00.
constexpr int kA = 0, kB = 1, kC = 2, kD = 3, kE = 4;
constexpr int kDepartureA = 25200;
constexpr int kDepartureC = 27000;
constexpr int kDepartureD = 27900;

std::vector<StationSpec> line() {
  return {{"A", 0, 200, kDepartureA},
          {"B", 1, test::kFramesPerKm, 0},
          {"C", 0, 2 * test::kFramesPerKm, kDepartureC, 1},
          {"D", 2, 3 * test::kFramesPerKm, kDepartureD},
          {"E", 0, 4 * test::kFramesPerKm, 28800}};
}

const data::StationRow& station(const test::DriveFixture& f, int i) {
  return f.route.stations[static_cast<std::size_t>(i)];
}

// Stands the train at a station's mark, the stop before it served, heading for it.
void arriveAt(test::DriveFixture& f, int i, std::int32_t clock) {
  test::standAt(f, station(f, i).frame);
  f.drive.state.clock = clock;
  chooseNextStop(f.drive, i - 1);
}

struct StopCase {
  const char* name;
  int lead;  // clock units before the departure time at which the train stands at the mark
};
void PrintTo(const StopCase& c, std::ostream* out) { *out << c.name; }

class ConductorStop : public testing::TestWithParam<StopCase> {};

// The conductor opens the doors on arrival, the departure announcement (10 s) starts once the arrival
// announcement (4 s) is over and so that it ends at the departure time, and the doors close after both.
TEST_P(ConductorStop, OpensAndClosesByItself) {
  auto f = test::stationDrive(line());
  Drive& d = f->drive;
  arriveAt(*f, kC, kDepartureC - GetParam().lead);
  const StationState& flags = d.line.stations[kC];
  f->runTicks(1);
  ASSERT_EQ(d.state.doorOpenCommanded, 1);
  ASSERT_EQ(flags.arrived, 1);
  EXPECT_EQ(d.state.departurePending, 1);
  const std::int32_t arrival = d.state.stationEvent;
  EXPECT_TRUE(f->sounds.is_playing(test::kDriveSounds + test::kArrivalSound));

  std::int32_t announced = -1;
  std::int32_t closed = -1;
  for (int tick = 0; tick < 1200 && closed < 0; ++tick) {
    f->runTicks(1);
    if (announced < 0 && flags.departureAnnounced == 1) announced = d.state.clock;
    if (closed < 0 && d.state.doorOpenCommanded == 0) closed = d.state.clock;
    if (closed < 0) {
      EXPECT_EQ(flags.served, 0);
    }
  }
  const int arrivalSound = 30 * test::kSoundSeconds[test::kArrivalSound];
  const int departureSound = 30 * test::kSoundSeconds[test::kDepartureSound];
  const int announceDue = std::max(kDepartureC - departureSound + 1, arrival + arrivalSound + 1);
  const int closeDue = std::max(kDepartureC + 1, announced + departureSound + 1);
  EXPECT_GE(announced, announceDue);
  EXPECT_LE(announced, announceDue + 4);
  EXPECT_GE(closed, closeDue);
  EXPECT_LE(closed, closeDue + 4);
  EXPECT_EQ(flags.served, 1);
  EXPECT_EQ(d.state.nextStop, kD) << "chosen with the announcement";
  EXPECT_FALSE(f->sounds.is_playing(test::kDriveSounds + test::kArrivalSound));
}

INSTANTIATE_TEST_SUITE_P(Arrivals, ConductorStop,
                         testing::Values(StopCase{"a_minute_early", 1800}, StopCase{"just_in_time", 420},
                                         StopCase{"late", 200}, StopCase{"after_the_departure_time", -300}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Stations, PassStationsNeverBecomeTheNextStopNorShowTheirName) {
  auto f = test::stationDrive(line());
  Drive& d = f->drive;
  prepareStationsAtStart(d, kA);
  EXPECT_EQ(d.state.nextStop, kC);
  EXPECT_EQ(d.state.toStationText, "C");
  EXPECT_EQ(d.state.fromStationText, "A");
  // Through B's platform at speed, and standing in it.
  for (const double speed : {40.0, 0.0}) {
    test::standAt(*f, station(*f, kB).frame);
    d.state.speed = speed;
    f->runTicks(3);
    EXPECT_EQ(d.line.stations[kB].inPlatform, 0);
    EXPECT_NE(d.state.currentStation, kB);
    EXPECT_EQ(d.state.stationText.find("B"), std::string::npos);
    EXPECT_EQ(d.state.nextStop, kC);
  }
  EXPECT_TRUE(chooseNextStop(d, kC));
  EXPECT_EQ(d.state.nextStop, kD);
  EXPECT_FALSE(chooseNextStop(d, kE));
}

struct TextCase {
  const char* name;
  int frame;
  int nextKind;  // the kind given to the station after A
  const char* text;
};
void PrintTo(const TextCase& c, std::ostream* out) { *out << c.name; }

class NextStationText : public testing::TestWithParam<TextCase> {};

TEST_P(NextStationText, NamesTheNextStationAndWhetherItStops) {
  std::vector<StationSpec> stations = line();
  stations[kB].kind = GetParam().nextKind;
  auto f = test::stationDrive(stations);
  test::standAt(*f, GetParam().frame);
  f->drive.state.speed = 30;
  f->runTicks(1);
  EXPECT_EQ(f->drive.state.nextStationText, GetParam().text);
  EXPECT_EQ(f->drive.texts.NextStopText, GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Texts, NextStationText,
                         testing::Values(TextCase{"pass", 900, 1, "次は B通過"}, TextCase{"stop", 900, 0, "次は B停車"},
                                         TextCase{"stop_without_doors", 900, 2, "次は B運転停車"},
                                         TextCase{"special", 900, 3, "次は 臨時停車"},
                                         TextCase{"after_the_pass_station", 2700, 1, "次は C停車"}),
                         [](const auto& info) { return std::string(info.param.name); });

struct StartCase {
  const char* name;
  int station;
  int doorsOpen;
  int nextStop;
  std::int32_t clock;
};
void PrintTo(const StartCase& c, std::ostream* out) { *out << c.name; }

class StartState : public testing::TestWithParam<StartCase> {};

// The clock starts so that the departure announcement, which waits for the arrival announcement's length,
// ends at the departure time.
TEST_P(StartState, DoorsNextStopAndClock) {
  const StartCase& c = GetParam();
  auto f = test::stationDrive(line());
  test::standAt(*f, station(*f, c.station).frame);
  prepareStationsAtStart(f->drive, c.station);
  EXPECT_EQ(f->drive.state.doorOpenCommanded, c.doorsOpen);
  EXPECT_EQ(f->drive.state.doorsNotClosed, c.doorsOpen);
  EXPECT_EQ(f->drive.state.nextStop, c.nextStop);
  EXPECT_EQ(f->drive.state.currentStation, c.station);
  EXPECT_EQ(f->drive.state.clock, c.clock);
}

INSTANTIATE_TEST_SUITE_P(Starts, StartState,
                         testing::Values(StartCase{"first_station", kA, 1, kC, kDepartureA - 30 * 14},
                                         StartCase{"later_stop", kC, 1, kD, kDepartureC - 30 * 14},
                                         StartCase{"stop_without_doors", kD, 0, kE, kDepartureD - 30 * 14}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Stations, StartAtTheFirstStationDepartsOnTime) {
  auto f = test::stationDrive(line());
  Drive& d = f->drive;
  test::standAt(*f, station(*f, kA).frame);
  prepareStationsAtStart(d, kA);
  while (d.state.doorOpenCommanded == 1 && f->scheduler.now() < 60000) f->runTicks(1);
  // The ticks' steps and the strict comparisons leave a fraction of a second.
  EXPECT_GT(d.state.clock, kDepartureA);
  EXPECT_LE(d.state.clock, kDepartureA + 15);
}

TEST(Stations, OneManArrivalWaitsForTheDriverAndAsksHimToCloseTheDoors) {
  auto f = test::stationDrive(line(), 1);
  Drive& d = f->drive;
  arriveAt(*f, kC, kDepartureC - 1800);
  f->runTicks(2);
  EXPECT_EQ(d.state.doorOpenCommanded, 0) << "nobody opens them but the driver";
  EXPECT_EQ(d.line.stations[kC].stopNoticed, 1);
  EXPECT_EQ(d.line.stations[kC].arrived, 0);
  d.Door_operate();
  f->runTicks(1);
  EXPECT_EQ(d.line.stations[kC].arrived, 1);
  EXPECT_EQ(d.state.departurePending, 1);
  EXPECT_EQ(d.state.nextStop, kD);
  EXPECT_EQ(d.texts.StationNoticeText, "") << "while the arrival announcement plays";
  f->runMs(5000);
  EXPECT_EQ(d.texts.StationNoticeText, "ドアを閉めてください");
  f->runMs(60000);
  EXPECT_EQ(d.line.stations[kC].departureAnnounced, 1);
  EXPECT_EQ(d.state.doorOpenCommanded, 1) << "the driver closes them";
  d.Door_operate();
  EXPECT_EQ(d.texts.StationNoticeText, "");
}

TEST(Stations, TheDoorChanceRollRepeatsWithTheSeed) {
  std::vector<StationSpec> stations = line();
  stations[kC].doorChance = 50;
  bool heard = false;
  bool unheard = false;
  for (std::uint32_t seed = 0; seed < 12; ++seed) {
    std::vector<int> rolls;
    for (int run = 0; run < 2; ++run) {
      auto f = test::stationDrive(stations, 1);
      f->drive.seedRandom(seed);
      arriveAt(*f, kC, kDepartureC - 1800);
      f->runTicks(1);
      rolls.push_back(f->drive.state.doorChanceRoll);
      f->sounds.clearOperations();
      f->drive.Door_operate();
      const bool played = f->sounds.is_playing(test::kDoorOpenChannel);
      EXPECT_EQ(played, 50 >= f->drive.state.doorChanceRoll) << "seed " << seed;
      (played ? heard : unheard) = true;
    }
    EXPECT_EQ(rolls[0], rolls[1]) << "seed " << seed;
    EXPECT_GE(rolls[0], 0);
    EXPECT_LT(rolls[0], 100);
  }
  EXPECT_TRUE(heard && unheard) << "twelve seeds give both outcomes";
}

TEST(Stations, TheRunEndsOnceAtTheLastStationAfterTheArrivalAnnouncement) {
  auto f = test::stationDrive(line());
  Drive& d = f->drive;
  arriveAt(*f, kE, 28000);
  int backClicks = 0;
  std::int64_t endedAt = -1;
  for (int tick = 0; tick < 300; ++tick) {
    f->runTicks(1);
    for (const std::string& e : d.takeUiEvents()) {
      if (e == "BackClick") {
        ++backClicks;
        endedAt = f->scheduler.now();
      }
    }
  }
  EXPECT_EQ(backClicks, 1);
  EXPECT_EQ(d.state.runEnded, 1);
  // The 4 s arrival announcement starts on the first tick.
  EXPECT_GE(endedAt, 100 + 1000 * test::kSoundSeconds[test::kArrivalSound]);
  EXPECT_LT(endedAt, 100 + 1000 * test::kSoundSeconds[test::kArrivalSound] + 200);
}

TEST(Stations, ApproachWarningSoundsAndBlinksUntilTheTrainStands) {
  auto f = test::stationDrive(line());
  Drive& d = f->drive;
  f->sprites.add({.picture = "img_Lamp_stopalert", .visible = false});
  test::standAt(*f, 2 * test::kFramesPerKm - 540);  // 300 m before C's mark
  chooseNextStop(d, kB);
  d.state.speed = 60;  // 200 m to stop at 2.5 km/h/s: within 125 m of the mark is too late
  d.control.autoRun = 0;
  std::vector<bool> lamp;
  for (int tick = 0; tick < 20; ++tick) {
    f->runTicks(1);
    d.state.speed = 60;
    EXPECT_TRUE(f->sounds.is_playing(test::kStopWarningChannel));
    lamp.push_back(f->sprites.findByPicture("img_Lamp_stopalert")->visible);
  }
  // Lit at tick counts ending in 0, dark at those ending in 5.
  for (int tick = 1; tick <= 20; ++tick) {
    if (tick % 10 == 0) {
      EXPECT_TRUE(lamp[static_cast<std::size_t>(tick - 1)]) << tick;
    }
    if (tick % 10 == 5) {
      EXPECT_FALSE(lamp[static_cast<std::size_t>(tick - 1)]) << tick;
    }
  }
  d.state.speed = 0.5;
  f->runTicks(1);
  EXPECT_FALSE(f->sounds.is_playing(test::kStopWarningChannel));
  EXPECT_FALSE(f->sprites.findByPicture("img_Lamp_stopalert")->visible);
}

TEST(Stations, OverrunAnnouncementOncePerDeparture) {
  auto f = test::stationDrive(line());
  Drive& d = f->drive;
  // Standing 150 m beyond C's mark, outside its platform, doors shut.
  test::standAt(*f, 2 * test::kFramesPerKm + 270);
  chooseNextStop(d, kB);
  const int channel = test::kDriveSounds + test::kOverrunSound;
  auto announcements = [&] {
    int n = 0;
    for (const media::SoundOperation& op : f->sounds.operations()) {
      n += op.kind == media::SoundOperation::Kind::PlayOnce && op.channel == channel ? 1 : 0;
    }
    return n;
  };
  f->runMs(10000);
  EXPECT_EQ(announcements(), 1);
  d.state.departureCount += 1;
  f->runMs(10000);
  EXPECT_EQ(announcements(), 2);
}

TEST(Stations, StopWithoutDoorHandlingAnnouncesWithTheDepartureSignal) {
  auto f = test::stationDrive(line());
  Drive& d = f->drive;
  arriveAt(*f, kD, kDepartureD - 1800);
  f->runTicks(1);
  const StationState& flags = d.line.stations[kD];
  EXPECT_EQ(flags.arrived, 1);
  EXPECT_EQ(d.state.departurePending, 1);
  EXPECT_TRUE(f->sounds.is_playing(test::kDriveSounds + test::kArrivalSound));
  f->sounds.clearOperations();
  while (flags.departureAnnounced == 0 && f->scheduler.now() < 120000) f->runTicks(1);
  EXPECT_GT(d.state.clock, kDepartureD - 300);
  EXPECT_LE(d.state.clock, kDepartureD - 300 + 4);
  EXPECT_TRUE(f->sounds.is_playing(test::kDepartureSignalChannel));
  EXPECT_TRUE(f->sounds.is_playing(test::kDriveSounds + test::kDepartureSound));
  EXPECT_EQ(d.state.nextStop, kE);
  f->runMs(20000);
  EXPECT_EQ(d.state.doorOpenCommanded, 0) << "the doors stay shut";
  EXPECT_EQ(d.state.doorsNotClosed, 0);
}

struct Sound2Case {
  const char* name;
  int rows;      // "[Sound2]" rows: only a single row has an effect
  int station;   // where the conductor works the doors
  bool playing;  // the row's sound once the doors have closed
};
void PrintTo(const Sound2Case& c, std::ostream* out) { *out << c.name; }

class Sound2 : public testing::TestWithParam<Sound2Case> {};

// The row's sound belongs to the stops from its first station up to its end station: it starts when the doors
// close at those stops and stops when the doors open at the end station.
TEST_P(Sound2, TiedToTheStopsOfItsRow) {
  const Sound2Case& c = GetParam();
  auto f = test::stationDrive(line());
  for (int i = 0; i < c.rows; ++i) f->route.trackSounds2[static_cast<std::size_t>(i)] = {test::kOverrunSound, kA, kC};
  f->route.trackSound2Count = c.rows;
  const int channel = test::kDriveSounds + test::kOverrunSound;
  const int departure = f->route.stations[static_cast<std::size_t>(c.station)].departureTime;
  arriveAt(*f, c.station, departure - 600);
  f->runTicks(1);
  ASSERT_EQ(f->drive.state.doorOpenCommanded, 1);
  EXPECT_FALSE(f->sounds.is_playing(channel));
  f->runMs(25000);
  ASSERT_EQ(f->drive.line.stations[static_cast<std::size_t>(c.station)].served, 1);
  EXPECT_EQ(f->sounds.is_playing(channel), c.playing);
  if (c.playing) {
    EXPECT_TRUE(f->sounds.looping(channel));
  }
}

INSTANTIATE_TEST_SUITE_P(Rows, Sound2,
                         testing::Values(Sound2Case{"first_station_starts_it", 1, kA, true},
                                         Sound2Case{"end_station_does_not", 1, kC, false},
                                         Sound2Case{"two_rows_have_no_effect", 2, kA, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Stations, TheEndStationOfTheSound2RowStopsItsSound) {
  auto f = test::stationDrive(line());
  f->route.trackSounds2[0] = {test::kOverrunSound, kA, kC};
  f->route.trackSound2Count = 1;
  const int channel = test::kDriveSounds + test::kOverrunSound;
  arriveAt(*f, kC, kDepartureC - 600);
  f->sounds.play_loop(channel);
  f->runTicks(1);
  ASSERT_EQ(f->drive.state.doorOpenCommanded, 1);
  EXPECT_FALSE(f->sounds.is_playing(channel));
}

TEST(Stations, PlatformSoundLoopsInThePlatformOnly) {
  auto f = test::stationDrive(line());
  Drive& d = f->drive;
  const int channel = test::kDriveSounds + test::kPlatformSound;
  test::standAt(*f, station(*f, kB).frame);  // a pass station's platform has its sound too
  d.state.speed = 30;
  f->runTicks(1);
  EXPECT_TRUE(f->sounds.is_playing(channel));
  EXPECT_TRUE(f->sounds.looping(channel));
  test::standAt(*f, 2700);
  d.state.speed = 30;
  f->runTicks(1);
  EXPECT_FALSE(f->sounds.is_playing(channel));
}

}  // namespace
}  // namespace vesk::sim
