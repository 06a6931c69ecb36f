#include <gtest/gtest.h>

#include <algorithm>

#include "sim/sound_select.h"
#include "support/sound_drive.h"

namespace vesk::sim {
namespace {

using media::SoundOperation;
using test::kTestWaveRate;

constexpr int kDriveSounds = 3;  // environment sound n plays on channel 3 + n

data::VehicleSpec vehicleWithSounds() {
  data::VehicleSpec v = test::testVehicle();
  v.driveSoundCount = kDriveSounds;
  return v;
}

data::RouteData routeWithSounds() {
  data::RouteData r = test::levelRoute(10, 60);
  r.soundDataCount = 4;
  return r;
}

int countOf(const media::VirtualSoundBank& bank, SoundOperation::Kind kind, int channel) {
  const auto& ops = bank.operations();
  return static_cast<int>(std::count_if(
      ops.begin(), ops.end(), [&](const SoundOperation& o) { return o.kind == kind && o.channel == channel; }));
}

// --- The "[Atten]" factor ---

struct AttenuationCase {
  const char* name;
  int frame;
  double factor;
};
void PrintTo(const AttenuationCase& c, std::ostream* out) { *out << c.name; }

class AttenuationTest : public testing::TestWithParam<AttenuationCase> {};

TEST_P(AttenuationTest, FactorOfTheSectionTheTrainIsIn) {
  data::RouteData r = routeWithSounds();
  r.attenuations[0] = {100, 200, 0, 50};
  r.attenuations[1] = {150, 300, 0, 20};
  r.attenuationCount = 2;
  auto f = test::makeSoundDrive(vehicleWithSounds(), r);
  f->drive.state.frame = GetParam().frame;
  routeSoundStep(f->drive);
  EXPECT_DOUBLE_EQ(f->drive.state.tunnelAttenuation, GetParam().factor);
}

INSTANTIATE_TEST_SUITE_P(
    Frames, AttenuationTest,
    testing::Values(AttenuationCase{"before", 50, 1.0}, AttenuationCase{"on_first_frame", 100, 1.0},
                    AttenuationCase{"inside_first", 120, 0.5}, AttenuationCase{"later_row_wins", 160, 0.2},
                    AttenuationCase{"inside_second", 250, 0.2}, AttenuationCase{"on_last_frame", 300, 1.0}),
    [](const auto& info) { return std::string(info.param.name); });

// --- "[Sound]" rows: rate and level ---

struct ShapingCase {
  const char* name;
  int pitch;
  int levelFlag;
  int refSpeed;
  double speed;
  int frame;        // the row runs from frame 1000 to 2000
  int attenuation;  // percent over frames 900 .. 1100; -1 none
  int rateHz;
  int volume;
};
void PrintTo(const ShapingCase& c, std::ostream* out) { *out << c.name; }

class TrackSoundShapingTest : public testing::TestWithParam<ShapingCase> {};

TEST_P(TrackSoundShapingTest, RateAndLevelFollowTheSpeed) {
  const ShapingCase& c = GetParam();
  data::RouteData r = routeWithSounds();
  r.trackSounds[0] = {1, 1000, 2000, c.refSpeed, 1, c.pitch, c.levelFlag, 0};
  r.trackSoundCount = 1;
  if (c.attenuation >= 0) {
    r.attenuations[0] = {900, 1100, 0, c.attenuation};
    r.attenuationCount = 1;
  }
  auto f = test::makeSoundDrive(vehicleWithSounds(), r);
  f->drive.state.frame = c.frame;
  f->drive.state.speed = c.speed;
  routeSoundStep(f->drive);
  const int channel = kDriveSounds + 1;
  EXPECT_EQ(f->sounds.rateHz(channel), c.rateHz);
  EXPECT_EQ(f->sounds.volume(channel), c.volume);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TrackSoundShapingTest,
    testing::Values(ShapingCase{"pitch_at_reference_speed_plays_as_recorded", 1, 0, 60, 60, 990, -1, 22050, 0},
                    ShapingCase{"pitch_at_half_the_reference_speed", 1, 0, 60, 30, 990, -1, 11025, 0},
                    ShapingCase{"no_pitch_flag_keeps_the_recorded_rate", 0, 0, 60, 30, 990, -1, 22050, 0},
                    ShapingCase{"level_at_half_the_reference_speed", 0, 1, 60, 30, 990, -1, 22050, -1505},
                    ShapingCase{"level_with_the_attenuation_factor", 0, 1, 60, 60, 990, 50, 22050, -1505},
                    ShapingCase{"above_the_reference_before_the_range", 0, 1, 60, 120, 990, -1, 22050, 1505},
                    ShapingCase{"above_the_reference_inside_is_held_at_0", 0, 1, 60, 120, 1005, -1, 22050, 0},
                    ShapingCase{"standing_inside_is_silent", 0, 0, 60, 0.5, 1005, -1, 22050, -10000},
                    ShapingCase{"attenuation_of_0_is_silence", 0, 1, 60, 60, 990, 0, 22050, -10000},
                    ShapingCase{"reference_speed_0_shapes_nothing", 1, 1, 0, 60, 990, -1, 22050, 0}),
    [](const auto& info) { return std::string(info.param.name); });

// --- "[Sound]" rows: when they start and stop ---

TEST(TrackSounds, AOneShotPlaysOnceARunAndAgainAfterAJump) {
  data::RouteData r = routeWithSounds();
  r.trackSounds[0] = {0, 1000, 2000, 60, 0, 0, 0, 0};
  r.trackSoundCount = 1;
  auto f = test::makeSoundDrive(vehicleWithSounds(), r);
  const int channel = kDriveSounds;
  f->drive.state.speed = 60;
  f->drive.state.frame = 986;
  routeSoundStep(f->drive);
  EXPECT_EQ(countOf(f->sounds, SoundOperation::Kind::PlayOnce, channel), 1);
  EXPECT_TRUE(f->sounds.is_playing(channel));
  EXPECT_FALSE(f->sounds.looping(channel));
  f->drive.state.frame = 1010;
  routeSoundStep(f->drive);
  EXPECT_EQ(countOf(f->sounds, SoundOperation::Kind::PlayOnce, channel), 1);
  f->drive.clearPerRunTables();
  routeSoundStep(f->drive);
  EXPECT_EQ(countOf(f->sounds, SoundOperation::Kind::PlayOnce, channel), 2);
}

TEST(TrackSounds, ALoopPlaysFromItsFirstFrameToItsLast) {
  data::RouteData r = routeWithSounds();
  r.trackSounds[0] = {2, 1000, 2000, 60, 1, 0, 0, 0};
  r.trackSoundCount = 1;
  auto f = test::makeSoundDrive(vehicleWithSounds(), r);
  const int channel = kDriveSounds + 2;
  f->drive.state.speed = 60;
  f->drive.state.frame = 980;  // 20 frames early: nothing yet
  routeSoundStep(f->drive);
  EXPECT_FALSE(f->sounds.is_playing(channel));
  f->drive.state.frame = 990;
  routeSoundStep(f->drive);
  EXPECT_TRUE(f->sounds.looping(channel));
  f->drive.state.frame = 1500;
  routeSoundStep(f->drive);
  EXPECT_TRUE(f->sounds.looping(channel));
  f->drive.state.frame = 1991;
  routeSoundStep(f->drive);
  EXPECT_FALSE(f->sounds.is_playing(channel));
}

TEST(TrackSounds, ASpeedTriggeredRowPlaysOnceWhenSlowEnough) {
  data::RouteData r = routeWithSounds();
  r.trackSounds[0] = {3, 1000, 2000, 25, 0, 0, 0, 1};
  r.trackSoundCount = 1;
  auto f = test::makeSoundDrive(vehicleWithSounds(), r);
  const int channel = kDriveSounds + 3;
  f->drive.state.frame = 1500;
  f->drive.state.speed = 25.6;  // rounds to 26
  routeSoundStep(f->drive);
  EXPECT_FALSE(f->sounds.is_playing(channel));
  f->drive.state.speed = 25.4;
  routeSoundStep(f->drive);
  EXPECT_TRUE(f->sounds.is_playing(channel));
  f->drive.state.speed = 20;
  routeSoundStep(f->drive);
  EXPECT_EQ(countOf(f->sounds, SoundOperation::Kind::PlayOnce, channel), 1);
  f->drive.state.frame = 2000;  // outside: not even after a jump
  f->drive.clearPerRunTables();
  routeSoundStep(f->drive);
  EXPECT_EQ(countOf(f->sounds, SoundOperation::Kind::PlayOnce, channel), 1);
}

// --- "[Doppler]" sources ---

class DopplerTest : public testing::Test {
 protected:
  void SetUp() override {
    data::RouteData r = routeWithSounds();
    r.stationCount = 3;
    r.dopplerSounds[0] = {0, 0, 20000, 0, 0, 100000};  // sound 0 at 1 km, heard within 200 m
    r.dopplerSounds[1] = {1, 0, 20000, 1, 2, 100000};  // recorded pitch, only once stopped at station 2
    r.dopplerCount = 2;
    f = test::makeSoundDrive(vehicleWithSounds(), r);
    f->drive.state.speed = 80;
  }
  void at(double x) {
    f->drive.state.position = x;
    routeSoundStep(f->drive);
  }
  static constexpr int kSource = kDriveSounds;
  static constexpr int kConditional = kDriveSounds + 1;
  std::unique_ptr<test::DriveFixture> f;
};

TEST_F(DopplerTest, PitchRisesAheadIsRecordedAtTheSourceAndFallsAfter) {
  // Nearly in line with the track 100 m away: the full shift of 80 km/h against 1220 km/h.
  const double fullAhead = 1220.0 / (1220 - 80);
  const double fullBehind = 1220.0 / (1220 + 80);
  at(90000);
  EXPECT_TRUE(f->sounds.looping(kSource));
  EXPECT_GT(f->sounds.rateHz(kSource), static_cast<int>(kTestWaveRate * fullAhead * 0.999));
  EXPECT_LE(f->sounds.rateHz(kSource), static_cast<int>(kTestWaveRate * fullAhead));
  at(100000);
  EXPECT_EQ(f->sounds.rateHz(kSource), kTestWaveRate);
  EXPECT_EQ(f->sounds.volume(kSource), 0);
  at(110000);
  EXPECT_LT(f->sounds.rateHz(kSource), static_cast<int>(kTestWaveRate * fullBehind * 1.001));
  EXPECT_GE(f->sounds.rateHz(kSource), static_cast<int>(kTestWaveRate * fullBehind));
  // A row with the doppler-off flag keeps the recorded pitch.
  EXPECT_EQ(f->sounds.rateHz(kConditional), kTestWaveRate);
}

TEST_F(DopplerTest, LevelFadesToSilenceAtTheEdgeAndTheSourceStopsOutOfRange) {
  at(85000);  // a quarter of the range left: 2000 x log10(0.25)
  EXPECT_EQ(f->sounds.volume(kSource), -1204);
  at(120000);  // exactly at the range: log of 0
  EXPECT_EQ(f->sounds.volume(kSource), -10000);
  EXPECT_TRUE(f->sounds.is_playing(kSource));
  at(120001);
  EXPECT_FALSE(f->sounds.is_playing(kSource));
}

TEST_F(DopplerTest, AConditionNumberWaitsForTheStopAtThatStation) {
  at(95000);
  EXPECT_TRUE(f->sounds.is_playing(kSource));
  EXPECT_FALSE(f->sounds.is_playing(kConditional));
  f->drive.line.stations[2].arrived = 1;
  at(96000);
  EXPECT_TRUE(f->sounds.looping(kConditional));
}

TEST(RouteConditionFlag, NamesAStationByIndex) {
  data::RouteData r = routeWithSounds();
  r.stationCount = 3;
  auto f = test::makeSoundDrive(vehicleWithSounds(), r);
  f->drive.line.stations[1].arrived = 1;
  EXPECT_TRUE(routeConditionFlag(f->drive, 0));
  EXPECT_TRUE(routeConditionFlag(f->drive, 1));
  EXPECT_FALSE(routeConditionFlag(f->drive, 2));
  EXPECT_FALSE(routeConditionFlag(f->drive, 3));   // no such station
  EXPECT_FALSE(routeConditionFlag(f->drive, -1));  // no such station
}

// --- The global stop at the ends of the line ---

TEST(GlobalSoundStop, StopsChannel1UpToTheCalloutCounterPastTheLinesSounds) {
  data::RouteData r = routeWithSounds();
  r.calloutCount2 = 25;  // "[KankoSound2]" with three entries
  auto f = test::makeSoundDrive(vehicleWithSounds(), r);
  const auto wave = f->sounds.wave(0);
  for (int ch = 0; ch < 40; ++ch) {
    f->sounds.bind_wave(ch, wave);
    f->sounds.play_loop(ch);
  }
  f->drive.globalSoundStop();
  EXPECT_TRUE(f->sounds.is_playing(0));
  for (int ch = 1; ch <= kDriveSounds + 4 + 25; ++ch) EXPECT_FALSE(f->sounds.is_playing(ch)) << ch;
  EXPECT_TRUE(f->sounds.is_playing(kDriveSounds + 4 + 26));
}

}  // namespace
}  // namespace vesk::sim
