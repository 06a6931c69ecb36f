#include <gtest/gtest.h>

#include "sim/stations.h"
#include "support/station_line.h"

namespace vesk::sim {
namespace {

using test::StationSpec;

// One stop at 1 km: 14:00:00.
std::unique_ptr<test::DriveFixture> oneStop(int oneMan = 0, data::VehicleSpec vehicle = test::stationVehicle()) {
  return test::stationDrive({{"本町", 0, test::kFramesPerKm, 25200}}, oneMan, std::move(vehicle));
}

bool played(const test::DriveFixture& f, int channel) {
  for (const media::SoundOperation& op : f.sounds.operations()) {
    if (op.kind == media::SoundOperation::Kind::PlayOnce && op.channel == channel) return true;
  }
  return false;
}

struct DoorCase {
  const char* name;
  bool open;     // the doors are open before the command
  double speed;  // km/h
  int openCommanded;
  int notClosed;
  int soundChannel;  // the door sound played, -1 none
};
void PrintTo(const DoorCase& c, std::ostream* out) { *out << c.name; }

class DoorOperate : public testing::TestWithParam<DoorCase> {};

TEST_P(DoorOperate, OpensOnlyStandingAndAlwaysCloses) {
  const DoorCase& c = GetParam();
  auto f = oneStop();
  Drive& d = f->drive;
  if (c.open) {
    d.Door_operate();
    ASSERT_EQ(d.state.doorOpenCommanded, 1);
  }
  f->sounds.clearOperations();
  d.state.speed = c.speed;
  d.Door_operate();
  EXPECT_EQ(d.state.doorOpenCommanded, c.openCommanded);
  EXPECT_EQ(d.state.doorsNotClosed, c.notClosed);
  EXPECT_EQ(played(*f, test::kDoorOpenChannel), c.soundChannel == test::kDoorOpenChannel);
  EXPECT_EQ(played(*f, test::kDoorCloseChannel), c.soundChannel == test::kDoorCloseChannel);
}

INSTANTIATE_TEST_SUITE_P(Doors, DoorOperate,
                         testing::Values(DoorCase{"closed_standing_open", false, 0, 1, 1, test::kDoorOpenChannel},
                                         DoorCase{"closed_creeping_below_0_1_open", false, 0.09, 1, 1,
                                                  test::kDoorOpenChannel},
                                         DoorCase{"closed_at_0_1_stay_shut", false, 0.1, 0, 0, -1},
                                         DoorCase{"closed_rolling_back_stay_shut", false, -0.5, 0, 0, -1},
                                         DoorCase{"open_standing_close", true, 0, 0, 1, test::kDoorCloseChannel},
                                         DoorCase{"open_at_80_close", true, 80, 0, 1, test::kDoorCloseChannel}),
                         [](const auto& info) { return std::string(info.param.name); });

// The doors shut when their close sound has ended: the pilot lamp lights, the departure signal sounds and the
// departure is counted. A panel without the pilot lamp ends the stop on the same tick.
class DoorsShut : public testing::TestWithParam<bool> {};

TEST_P(DoorsShut, OnlyAfterTheCloseSoundHasEnded) {
  const bool withLamp = GetParam();
  auto f = oneStop();
  Drive& d = f->drive;
  if (withLamp) f->sprites.add({.picture = "img_Lamp_Door"});
  test::standAt(*f, 100);  // between stations: the doors are the driver's alone
  d.Door_operate();
  f->runTicks(1);
  if (withLamp) {
    EXPECT_FALSE(f->sprites.findByPicture("img_Lamp_Door")->visible);
  }
  f->runMs(5000);  // the open sound is over
  d.Door_operate();
  const std::int64_t closedAt = f->scheduler.now();
  std::int64_t shutAt = -1;
  while (f->scheduler.now() < closedAt + 5000) {
    f->runTicks(1);
    const bool lampLit = withLamp && f->sprites.findByPicture("img_Lamp_Door")->visible;
    if (d.state.doorsNotClosed == 1) {
      EXPECT_FALSE(lampLit) << "at " << f->scheduler.now();
      EXPECT_EQ(d.state.departureCount, 0);
    } else if (shutAt < 0) {
      shutAt = f->scheduler.now();
      if (withLamp) {
        EXPECT_TRUE(lampLit);
      }
    }
  }
  // The 3 s close sound ends at closedAt + 3000; the next tick sees it.
  EXPECT_GE(shutAt, closedAt + test::kDoorSoundSeconds * 1000);
  EXPECT_LT(shutAt, closedAt + test::kDoorSoundSeconds * 1000 + 100);
  EXPECT_EQ(d.state.departureCount, 1);
  EXPECT_TRUE(played(*f, test::kDepartureSignalChannel));
}

INSTANTIATE_TEST_SUITE_P(Panels, DoorsShut, testing::Values(true, false), [](const auto& info) {
  return std::string(info.param ? "with_the_pilot_lamp" : "without_the_pilot_lamp");
});

TEST(Doors, InterlockedTrainWithoutPilotLampTakesPowerAfterItsStop) {
  data::VehicleSpec v = test::stationVehicle();
  v.doorLock = 1;
  auto f = oneStop(0, v);
  Drive& d = f->drive;
  test::standAt(*f, test::kFramesPerKm);
  d.state.engineRunning = 1;
  d.state.lineVoltageTarget = core::Fixed::fromInt(1500);
  d.state.lineVoltage = core::Fixed::fromInt(1500);
  d.state.clock = 25200 - 30 * 60;
  f->runMs(90000);  // the conductor opens, announces, closes at 14:00:00 and the doors shut
  ASSERT_EQ(d.line.stations[0].served, 1);
  ASSERT_EQ(d.state.doorsNotClosed, 0);
  for (char c : std::string("88888")) d.AsciiDown(c);
  f->runMs(5000);
  EXPECT_GT(d.state.powerNotch, 0);
  EXPECT_GT(d.state.speed, 1);
}

struct ForcedCase {
  const char* name;
  double speed;
  int openAfter;
};
void PrintTo(const ForcedCase& c, std::ostream* out) { *out << c.name; }

class ForcedClosing : public testing::TestWithParam<ForcedCase> {};

TEST_P(ForcedClosing, AboveFiveKilometresAnHour) {
  auto f = oneStop(1);
  Drive& d = f->drive;
  test::standAt(*f, 100);
  d.Door_operate();
  d.state.speed = GetParam().speed;
  forcedDoorClosing(d);
  EXPECT_EQ(d.state.doorOpenCommanded, GetParam().openAfter);
}

INSTANTIATE_TEST_SUITE_P(Doors, ForcedClosing,
                         testing::Values(ForcedCase{"at_5_stay_open", 5.0, 1}, ForcedCase{"above_5_close", 5.1, 0},
                                         ForcedCase{"backwards_above_5_close", -6, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vesk::sim
