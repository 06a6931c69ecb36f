#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "sim/sound_select.h"
#include "support/sound_drive.h"

namespace vesk::sim {
namespace {

using test::kTestWaveRate;

// --- The running sound by speed band ---

struct BandCase {
  const char* name;
  double speed;
  std::vector<int> looping;
  std::map<int, int> volumes;
};
void PrintTo(const BandCase& c, std::ostream* out) { *out << c.name; }

std::vector<int> loopingChannels(const media::VirtualSoundBank& bank) {
  std::vector<int> channels;
  for (int ch = 0; ch < media::SoundBank::kChannelCount; ++ch) {
    if (bank.looping(ch)) channels.push_back(ch);
  }
  return channels;
}

class RunningSoundTest : public testing::TestWithParam<BandCase> {};

TEST_P(RunningSoundTest, TheBandAndTheNextPlayCrossFaded) {
  data::VehicleSpec v = test::testVehicle();
  v.driveSoundCount = 20;
  auto f = test::makeSoundDrive(v, test::levelRoute(10, 60));
  f->drive.state.speed = GetParam().speed;
  runningSoundStep(f->drive);
  EXPECT_EQ(loopingChannels(f->sounds), GetParam().looping);
  for (const auto& [channel, volume] : GetParam().volumes) EXPECT_EQ(f->sounds.volume(channel), volume) << channel;
}

INSTANTIATE_TEST_SUITE_P(Speeds, RunningSoundTest,
                         testing::Values(BandCase{"at_35_half_and_half", 35, {3, 4}, {{3, -602}, {4, -602}}},
                                         BandCase{"at_40_the_band_alone", 40, {4, 5}, {{4, 0}, {5, -4000}}},
                                         BandCase{"at_34_6_rounds_to_even_35", 34.6, {3, 4}, {{3, -602}, {4, -602}}},
                                         BandCase{"at_5_band_0_keeps_its_level", 5, {0, 1}, {{0, 0}, {1, -602}}},
                                         BandCase{"backing_at_27", -27, {2, 3}, {{2, -1046}, {3, -310}}},
                                         BandCase{"at_115_no_next_band", 115, {11}, {{11, -602}, {12, -602}}},
                                         BandCase{"at_125_the_top_recording", 125, {12}, {{12, 0}}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RunningSounds, ClimbingStopsTheBandLeftBehind) {
  data::VehicleSpec v = test::testVehicle();
  v.driveSoundCount = 20;
  auto f = test::makeSoundDrive(v, test::levelRoute(10, 60));
  for (double speed : {25.0, 35.0, 45.0}) {
    f->drive.state.speed = speed;
    runningSoundStep(f->drive);
  }
  EXPECT_EQ(loopingChannels(f->sounds), (std::vector<int>{4, 5}));
  for (double speed : {35.0, 25.0}) {
    f->drive.state.speed = speed;
    runningSoundStep(f->drive);
  }
  EXPECT_EQ(loopingChannels(f->sounds), (std::vector<int>{2, 3}));
}

TEST(RunningSounds, AVehicleWithFewRecordingsLeavesTheLinesSoundsAlone) {
  data::VehicleSpec v = test::testVehicle();
  v.driveSoundCount = 5;  // channels 5 and up hold the line's sounds
  data::RouteData r = test::levelRoute(10, 60);
  r.soundDataCount = 5;
  auto f = test::makeSoundDrive(v, r);
  f->drive.state.speed = 45;
  runningSoundStep(f->drive);
  EXPECT_EQ(loopingChannels(f->sounds), (std::vector<int>{4}));
  f->sounds.clearOperations();
  f->drive.state.speed = 65;
  runningSoundStep(f->drive);
  EXPECT_TRUE(f->sounds.operations().empty());
  EXPECT_EQ(loopingChannels(f->sounds), (std::vector<int>{4}));
}

// --- Motor sounds of an electric train ---

class MotorSoundTest : public testing::Test {
 protected:
  void SetUp() override {
    data::VehicleSpec v = test::testVehicle();
    v.driveSoundCount = 2;
    const data::EngineSound1Row row{"m.wav", 0, {0, 40, 95, 0.4, 1.0, 1.8, 40, 100, 80}};
    v.engineSounds1[0] = row;  // while powering
    v.engineSounds1[1] = row;
    v.engineSounds1[1].channelParam = 1;  // while braking
    v.engineSound1Count = 2;
    data::RouteData r = test::levelRoute(10, 60);
    r.soundDataCount = 1;
    f = test::makeSoundDrive(v, r);
    f->drive.state.brakeNotch = 0;
  }
  static constexpr int kPowering = 3;  // D + S + 0
  static constexpr int kBraking = 4;
  std::unique_ptr<test::DriveFixture> f;
};

struct MotorShapeCase {
  const char* name;
  double speed;
  int rateHz;
  double level;
};
void PrintTo(const MotorShapeCase& c, std::ostream* out) { *out << c.name; }

class MotorShapeTest : public testing::TestWithParam<MotorShapeCase> {};

TEST_P(MotorShapeTest, RateAndLevelAlongTwoPieces) {
  data::VehicleSpec v = test::testVehicle();
  v.engineSounds1[0] = {"m.wav", 2, {0, 40, 95, 0.4, 1.0, 1.8, 40, 100, 80}};
  v.engineSound1Count = 1;
  auto f = test::makeSoundDrive(v, test::levelRoute(10, 60));
  f->drive.state.speed = GetParam().speed;
  motorSoundStep(f->drive);
  EXPECT_EQ(f->sounds.rateHz(0), GetParam().rateHz);
  EXPECT_DOUBLE_EQ(f->drive.state.motorLevel.at(0), GetParam().level);
}

INSTANTIATE_TEST_SUITE_P(Speeds, MotorShapeTest,
                         testing::Values(MotorShapeCase{"standing", 0, 8820, 40},
                                         MotorShapeCase{"first_piece", 10, 12127, 55},
                                         MotorShapeCase{"joint", 40, 22050, 100},
                                         MotorShapeCase{"second_piece", 67.5, 30869, 90},
                                         MotorShapeCase{"end_of_the_second_piece", 95, 39690, 80},
                                         MotorShapeCase{"backing_turns_the_motors_too", -10, 12127, 55},
                                         MotorShapeCase{"beyond_keeps_the_rate", 100, kTestWaveRate, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MotorSoundTest, GainAndMasterSwellUnderPowerAndEbbWhileCoasting) {
  f->drive.state.speed = 40;  // level 100
  f->drive.state.powerNotch = 1;
  // Master +20 a tick up to 100; the powering row at full gain; 1660 x log10(master / 100).
  const std::vector<std::pair<double, int>> swell = {{20, -1160}, {40, -661}, {60, -368},
                                                     {80, -161},  {100, 0},   {100, 0}};
  for (const auto& [master, volume] : swell) {
    motorSoundStep(f->drive);
    EXPECT_EQ(f->drive.state.motorMaster, master);
    EXPECT_EQ(f->drive.state.motorGain.at(0), 100);
    EXPECT_EQ(f->sounds.volume(kPowering), volume);
    EXPECT_TRUE(f->sounds.looping(kPowering));
  }
  // The braking row never rose: its channel stays stopped.
  EXPECT_FALSE(f->sounds.is_playing(kBraking));
  f->drive.state.powerNotch = 0;
  // Gain and master -10 a tick: gain down to 10 (silent from there), master down to 10.
  const std::vector<std::tuple<double, double, int>> ebb = {
      {90, 90, -152},  {80, 80, -322},  {70, 70, -514},  {60, 60, -737},   {50, 50, -999},
      {40, 40, -1321}, {30, 30, -1736}, {20, 20, -2321}, {10, 10, -10000}, {10, 10, -10000}};
  for (const auto& [gain, master, volume] : ebb) {
    motorSoundStep(f->drive);
    EXPECT_EQ(f->drive.state.motorGain.at(0), gain);
    EXPECT_EQ(f->drive.state.motorMaster, master);
    EXPECT_EQ(f->sounds.volume(kPowering), volume);
  }
  EXPECT_TRUE(f->sounds.looping(kPowering));
}

TEST_F(MotorSoundTest, BelowMinus2999IsSilent) {
  f->drive.state.speed = 100;  // beyond the pieces: level 1
  f->drive.state.powerNotch = 1;
  for (int i = 0; i < 5; ++i) motorSoundStep(f->drive);
  EXPECT_EQ(f->drive.state.motorMaster, 100);
  EXPECT_EQ(f->sounds.volume(kPowering), -10000);  // 1660 x log10(0.01) = -3320
  f->drive.state.speed = 2;                        // level 43: -608
  motorSoundStep(f->drive);
  EXPECT_EQ(f->sounds.volume(kPowering), -608);
}

TEST_F(MotorSoundTest, ForcedBrakingRaisesTheMasterAndTheBrakingRow) {
  f->drive.state.speed = 40;
  f->drive.state.emergencyLatched = 1;
  f->drive.state.brakeNotch = -9;
  motorSoundStep(f->drive);
  EXPECT_EQ(f->drive.state.motorMaster, 20);
  EXPECT_EQ(f->drive.state.motorGain.at(1), 100);
  EXPECT_TRUE(f->sounds.looping(kBraking));
  EXPECT_FALSE(f->sounds.is_playing(kPowering));
}

TEST(MotorSounds, ADieselHasNone) {
  data::VehicleSpec v = test::testVehicle();
  v.engineType = 0;
  auto f = test::makeSoundDrive(v, test::levelRoute(10, 60));
  f->drive.state.powerNotch = 1;
  motorSoundStep(f->drive);
  EXPECT_EQ(f->drive.state.motorMaster, 0);
}

}  // namespace
}  // namespace vesk::sim
