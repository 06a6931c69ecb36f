#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "sim/sound_select.h"
#include "support/sound_drive.h"

namespace vesk::sim {
namespace {

using media::SoundOperation;

std::vector<int> channelsPlayedOnce(const media::VirtualSoundBank& bank) {
  std::vector<int> channels;
  for (const SoundOperation& o : bank.operations()) {
    if (o.kind == SoundOperation::Kind::PlayOnce) channels.push_back(o.channel);
  }
  return channels;
}

// --- The points ---

struct SwitchCase {
  const char* name;
  int frame;
  double speed;
  std::vector<int> played;
};
void PrintTo(const SwitchCase& c, std::ostream* out) { *out << c.name; }

class SwitchSoundTest : public testing::TestWithParam<SwitchCase> {};

TEST_P(SwitchSoundTest, TheFirstRowOfTheKindAboveTheSpeedPlaysOnce) {
  data::VehicleSpec v = test::testVehicle();
  v.driveSoundCount = 6;
  v.switchSounds[0] = {3, 40, 1};
  v.switchSounds[1] = {4, 999, 1};
  v.switchSounds[2] = {5, 999, 2};
  v.switchSoundCount = 3;
  data::RouteData r = test::levelRoute(10, 60);
  r.switches[0] = {1000, 1};
  r.switches[1] = {3000, 3};
  r.switchCount = 2;
  auto f = test::makeSoundDrive(v, r);
  f->drive.state.frame = GetParam().frame;
  f->drive.state.speed = GetParam().speed;
  switchSoundStep(f->drive);
  switchSoundStep(f->drive);  // once only
  EXPECT_EQ(channelsPlayedOnce(f->sounds), GetParam().played);
}

INSTANTIATE_TEST_SUITE_P(Points, SwitchSoundTest,
                         testing::Values(SwitchCase{"slow", 990, 30, {3}}, SwitchCase{"fast", 1010, 60, {4}},
                                         SwitchCase{"backing_slowly", 1000, -30, {3}},
                                         SwitchCase{"backing_fast", 1000, -60, {4}},
                                         SwitchCase{"too_far", 1015, 30, {}},
                                         SwitchCase{"kind_without_a_row", 3000, 30, {}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SwitchSounds, PlayAgainAfterAJump) {
  data::VehicleSpec v = test::testVehicle();
  v.driveSoundCount = 6;
  v.switchSounds[0] = {3, 999, 1};
  v.switchSoundCount = 1;
  data::RouteData r = test::levelRoute(10, 60);
  r.switches[0] = {1000, 1};
  r.switchCount = 1;
  auto f = test::makeSoundDrive(v, r);
  f->drive.state.frame = 1000;
  switchSoundStep(f->drive);
  f->drive.clearPerRunTables();
  switchSoundStep(f->drive);
  EXPECT_EQ(channelsPlayedOnce(f->sounds), (std::vector<int>{3, 3}));
}

// --- Announcements near stations ---

struct AnnounceCase {
  const char* name;
  int oneMan;
  double position;
  double distanceToStop;
  std::vector<int> played;
};
void PrintTo(const AnnounceCase& c, std::ostream* out) { *out << c.name; }

class AnnouncementTest : public testing::TestWithParam<AnnounceCase> {};

constexpr int kDriveSounds = 2;

TEST_P(AnnouncementTest, PlaysInTheFiveMetresAfterItsPoint) {
  const AnnounceCase& c = GetParam();
  data::VehicleSpec v = test::testVehicle();
  v.driveSoundCount = kDriveSounds;
  data::RouteData r = test::levelRoute(10, 60);
  r.soundDataCount = 3;
  r.oneMan = c.oneMan;
  r.stationCount = 1;
  r.stations[0].position = 100000;
  r.announcements[1] = {1, 0, 0, 50};   // 50 m after the station
  r.announcements[2] = {2, 1, 0, 200};  // 200 m before it
  r.announcements[3] = {0, 1, 7, 10};   // no such station
  r.announceCount = 3;
  auto f = test::makeSoundDrive(v, r);
  f->drive.state.position = c.position;
  f->drive.state.distanceToStop = c.distanceToStop;
  stationAnnouncementStep(f->drive);
  EXPECT_EQ(channelsPlayedOnce(f->sounds), c.played);
}

INSTANTIATE_TEST_SUITE_P(
    Points, AnnouncementTest,
    testing::Values(AnnounceCase{"after_the_station", 0, 105100, 20000, {kDriveSounds + 1}},
                    AnnounceCase{"after_with_the_next_stop_near", 0, 105100, 9000, {}},
                    AnnounceCase{"short_of_the_point", 0, 104999, 20000, {}},
                    AnnounceCase{"five_metres_on", 0, 105500, 20000, {}},
                    AnnounceCase{"before_the_station", 0, 80000, 20000, {kDriveSounds + 2}},
                    AnnounceCase{"before_the_station_with_the_stop_near", 0, 80499, 500, {kDriveSounds + 2}},
                    AnnounceCase{"one_man_line", 1, 105100, 20000, {}},
                    AnnounceCase{"one_man_line_of_kind_2", 2, 105100, 20000, {kDriveSounds + 1}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Announcements, EachPlaysOnceARunAndWaitsForItsChannel) {
  data::VehicleSpec v = test::testVehicle();
  v.driveSoundCount = kDriveSounds;
  data::RouteData r = test::levelRoute(10, 60);
  r.soundDataCount = 3;
  r.stationCount = 1;
  r.stations[0].position = 100000;
  r.announcements[1] = {1, 1, 0, 100};
  r.announceCount = 1;
  auto f = test::makeSoundDrive(v, r);
  const int channel = kDriveSounds + 1;
  f->sounds.play_loop(channel);  // busy with something else
  f->drive.state.position = 90100;
  stationAnnouncementStep(f->drive);
  EXPECT_TRUE(channelsPlayedOnce(f->sounds).empty());
  f->sounds.stop(channel);
  stationAnnouncementStep(f->drive);
  f->sounds.stop(channel);
  stationAnnouncementStep(f->drive);
  EXPECT_EQ(channelsPlayedOnce(f->sounds), (std::vector<int>{channel}));
  f->drive.clearPerRunTables();
  stationAnnouncementStep(f->drive);
  EXPECT_EQ(channelsPlayedOnce(f->sounds), (std::vector<int>{channel, channel}));
}

}  // namespace
}  // namespace vesk::sim
