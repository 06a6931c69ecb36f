#include <gtest/gtest.h>

#include <vector>

#include "sim/sound_select.h"
#include "support/sound_drive.h"

namespace vesk::sim {
namespace {

using test::kTestWaveRate;

// A diesel with one engine row (always at full gain) and one transmission row of gear 1; idle sounds on running
// channels 0 and 1. Channels: engine 2, transmission 3.
data::VehicleSpec dieselWithSounds() {
  data::VehicleSpec v = test::testVehicle();
  v.engineType = 0;
  v.driveSoundCount = 2;
  v.engineSound2 = {0, 1, 0, 0};
  v.engineSounds1[0] = {"engine.wav", -1, {30, 60, 95, 0.7, 1.1, 1.6, 60, 90, 100}};
  v.engineSound1Count = 1;
  v.engineSounds3[0] = {"gear.wav", 1, 1, {0, 40, 0.6, 1.5, 40, 90}};
  v.engineSound3Count = 1;
  v.elecBrakeFadeSpeed = 20;
  return v;
}

constexpr int kEngine = 2;
constexpr int kTransmission = 3;

struct RpmCase {
  const char* name;
  double rpm;
  int rateHz;
  double level;
};
void PrintTo(const RpmCase& c, std::ostream* out) { *out << c.name; }

class EngineRpmTest : public testing::TestWithParam<RpmCase> {};

TEST_P(EngineRpmTest, RateAndLevelFollowTheEngineSpeedWithRampsAtBothEnds) {
  auto f = test::makeSoundDrive(dieselWithSounds(), test::levelRoute(10, 60));
  f->drive.state.engineRpm = GetParam().rpm;
  engineSoundStep(f->drive);
  EXPECT_EQ(f->sounds.rateHz(kEngine), GetParam().rateHz);
  EXPECT_DOUBLE_EQ(f->drive.state.motorLevel.at(0), GetParam().level);
  EXPECT_TRUE(f->sounds.looping(kEngine));
}

INSTANTIATE_TEST_SUITE_P(
    Rpm, EngineRpmTest,
    testing::Values(RpmCase{"idle_at_the_first_point", 30, 15434, 60}, RpmCase{"between_the_points", 62.5, 25357, 80},
                    RpmCase{"at_the_second_point", 95, 35280, 100}, RpmCase{"ramp_below", 25, 15434, 30},
                    RpmCase{"bottom_of_the_ramp", 20, 15434, 0}, RpmCase{"ramp_above", 100, 35280, 50},
                    RpmCase{"top_of_the_ramp", 105, 35280, 0}, RpmCase{"beyond_the_ramps", 110, kTestWaveRate, 1},
                    RpmCase{"stopped_engine", 0, kTestWaveRate, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(EngineSounds, ALevelOf0IsSilence) {
  auto f = test::makeSoundDrive(dieselWithSounds(), test::levelRoute(10, 60));
  f->drive.state.engineRpm = 20;
  f->drive.state.motorMaster = 50;
  engineSoundStep(f->drive);
  EXPECT_EQ(f->sounds.volume(kEngine), -10000);
}

TEST(EngineSounds, MasterSwellsBy5UnderPowerAndFollowsTheGear) {
  data::VehicleSpec v = dieselWithSounds();
  v.engineSounds1[1] = {"gear2.wav", 2, {30, 60, 95, 0.7, 1.1, 1.6, 60, 90, 100}};  // loud only in gear 2
  v.engineSound1Count = 2;
  auto f = test::makeSoundDrive(v, test::levelRoute(10, 60));
  TrainState& s = f->drive.state;
  s.engineRpm = 95;  // level 100
  s.engineRunning = 1;
  s.engagedGear = 1;
  s.powerNotch = 3;
  std::vector<double> masters;
  for (int i = 0; i < 21; ++i) {
    engineSoundStep(f->drive);
    masters.push_back(s.motorMaster);
  }
  EXPECT_EQ(masters.front(), 5);
  EXPECT_EQ(masters[17], 90);
  EXPECT_EQ(masters[18], 95);
  EXPECT_EQ(masters.back(), 95);
  // 1660 x log10(100 x 100 x 95 / 10^6); the gear-2 row at gain 1: 1660 x log10(0.0095).
  EXPECT_EQ(f->sounds.volume(kEngine), -37);
  EXPECT_EQ(s.motorGain.at(1), 1);
  EXPECT_EQ(f->sounds.volume(kEngine + 1), -3357);
  s.shiftState = 1;  // shifting: the master ebbs though the power is on
  engineSoundStep(f->drive);
  EXPECT_EQ(s.motorMaster, 90);
}

TEST(EngineSounds, TheTransmissionWhinesInItsGearUnderPower) {
  auto f = test::makeSoundDrive(dieselWithSounds(), test::levelRoute(10, 60));
  TrainState& s = f->drive.state;
  s.speed = 40;  // level 90, rate 1.5
  s.engineRunning = 1;
  s.engagedGear = 1;
  s.powerNotch = 1;
  std::vector<double> gains;
  for (int i = 0; i < 11; ++i) {
    engineSoundStep(f->drive);
    gains.push_back(s.engine3Gain.at(0));
  }
  EXPECT_EQ(gains, (std::vector<double>{10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 100}));
  EXPECT_EQ(s.engine3Master, 100);
  EXPECT_EQ(f->sounds.rateHz(kTransmission), 33075);
  EXPECT_EQ(f->sounds.volume(kTransmission), -76);  // 1660 x log10(0.9)
  s.engagedGear = 2;                                // another gear: the whine fades to a gain of 10
  for (int i = 0; i < 12; ++i) engineSoundStep(f->drive);
  EXPECT_EQ(s.engine3Gain.at(0), 10);
}

TEST(EngineSounds, IdleSoundsChangeWhileTheDoorsClose) {
  auto f = test::makeSoundDrive(dieselWithSounds(), test::levelRoute(10, 60));
  TrainState& s = f->drive.state;
  s.engineRunning = 1;
  const auto idle = [&] { return std::pair{f->sounds.looping(0), f->sounds.looping(1)}; };
  engineSoundStep(f->drive);  // doors closed: the first idle sound
  EXPECT_EQ(idle(), std::pair(true, false));
  s.doorOpenCommanded = 1;
  s.doorsNotClosed = 1;
  engineSoundStep(f->drive);  // open: unchanged
  EXPECT_EQ(idle(), std::pair(true, false));
  s.doorOpenCommanded = 0;  // closing
  for (int tick = 1; tick <= 54; ++tick) {
    engineSoundStep(f->drive);
    EXPECT_EQ(idle(), std::pair(false, true)) << tick;
  }
  engineSoundStep(f->drive);  // 55 ticks of closing
  EXPECT_EQ(idle(), std::pair(true, false));
  s.doorsNotClosed = 0;
  engineSoundStep(f->drive);
  EXPECT_EQ(s.doorClosingTicks, 0);
  EXPECT_EQ(idle(), std::pair(true, false));
  s.engineRunning = 0;
  engineSoundStep(f->drive);
  EXPECT_EQ(idle(), std::pair(false, false));
}

TEST(EngineSounds, AnElectricTrainHasNone) {
  data::VehicleSpec v = dieselWithSounds();
  v.engineType = 1;
  auto f = test::makeSoundDrive(v, test::levelRoute(10, 60));
  f->drive.state.engineRunning = 1;
  engineSoundStep(f->drive);
  EXPECT_FALSE(f->sounds.is_playing(0));
  EXPECT_TRUE(f->drive.state.engine3Gain.empty());
}

}  // namespace
}  // namespace vesk::sim
