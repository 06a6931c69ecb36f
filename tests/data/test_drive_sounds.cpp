#include <gtest/gtest.h>

#include "data/drive_sounds.h"
#include "data/route_file.h"
#include "data/string_file.h"
#include "data/vehicle_file.h"
#include "media/virtual_sound_bank.h"
#include "support/media_files.h"
#include "support/temp_dir.h"
#include "support/test_pack.h"

namespace vesk::data {
namespace {

class DriveSoundsTest : public testing::Test {
 protected:
  void SetUp() override {
    for (int i = 0; i < 3; ++i) dir.write("v/d" + std::to_string(i) + ".wav", test::wave(22050, 2205 * (i + 1)));
    for (int i = 0; i < 5; ++i) dir.write("s/e" + std::to_string(i) + ".wav", test::wave(8000, 8000));
    dir.write("v/engine.wav", test::wave(22050, 100));
    vehicle.driveSoundCount = 3;
    for (int i = 0; i < 3; ++i) vehicle.driveSoundFiles[static_cast<std::size_t>(i)] = "d" + std::to_string(i) + ".wav";
    vehicle.engineSound1Count = 2;
    vehicle.engineSounds1[0].file = "engine.wav";
    vehicle.engineSounds1[1].file = "engine.wav";
    vehicle.engineSound3Count = 1;
    vehicle.engineSounds3[0].file = "engine.wav";
    route = std::make_unique<data::RouteData>();
    route->soundDataCount = 5;
    for (int i = 0; i < 5; ++i)
      route->soundDataFiles[static_cast<std::size_t>(i)] = "s\\e" + std::to_string(i) + ".wav";
  }
  test::TempDir dir;
  std::int64_t now = 0;
  media::VirtualSoundBank bank{[this] { return now; }};
  data::VehicleSpec vehicle;
  std::unique_ptr<data::RouteData> route;
};

TEST_F(DriveSoundsTest, ChannelsFollowTheListsInOrder) {
  const DriveSounds sounds = loadDriveSounds(bank, vehicle, dir.path() / "v", *route, dir.path());
  // Environment sound 0 follows the three running sounds.
  EXPECT_EQ(bank.wave(3)->sampleRate, 8000);
  EXPECT_EQ(bank.wave(2)->frames, 6615);
  // Engine sounds 1 from D + S = 8, engine sounds 3 from 10.
  EXPECT_EQ(bank.wave(8)->frames, 100);
  EXPECT_EQ(bank.wave(10)->frames, 100);
  EXPECT_EQ(bank.wave(11), nullptr);
  EXPECT_EQ(sounds.layout.calloutChannel(), 3 + 5 + 2 + 1 + 1);
  EXPECT_EQ(sounds.layout.announcementChannel(), 13);
  for (int ch = 0; ch < 12; ++ch) EXPECT_FALSE(bank.is_playing(ch));
}

TEST_F(DriveSoundsTest, EmptyNamesLeaveTheirChannelUnboundAndMissingFilesSilent) {
  vehicle.driveSoundFiles[1] = "";
  vehicle.driveSoundFiles[2] = "none.wav";
  loadDriveSounds(bank, vehicle, dir.path() / "v", *route, dir.path());
  EXPECT_EQ(bank.wave(1), nullptr);
  ASSERT_NE(bank.wave(2), nullptr);
  EXPECT_TRUE(bank.wave(2)->empty());
  bank.play_once(2);
  EXPECT_FALSE(bank.is_playing(2));
}

TEST_F(DriveSoundsTest, EnvironmentSoundLengthsComeFromTheDataChunk) {
  dir.write("s/e0.wav", test::wave(11025, 11025 * 5 / 2));                   // 2.5 s
  dir.write("s/e1.wav", test::waveWithChunkBeforeData(8000, 8000 * 7 / 2));  // 3.5 s, a chunk before "data"
  dir.write("s/e2.wav", "not a wave");
  loadDriveSounds(bank, vehicle, dir.path() / "v", *route, dir.path());
  EXPECT_EQ(route->soundDataLengths[0], 2);  // halves to even
  EXPECT_EQ(route->soundDataLengths[1], 4);
  EXPECT_EQ(route->soundDataLengths[2], 0);
  EXPECT_EQ(route->soundDataLengths[3], 1);
}

TEST_F(DriveSoundsTest, CalloutWavesStayUnboundBySlot) {
  route->calloutFiles1[5] = "s\\e0.wav";
  route->calloutFiles2[1] = "s\\e1.wav";
  route->calloutCount2 = 24;
  route->otherCalloutCount = 1;
  route->otherCalloutFiles[0] = "s\\e2.wav";
  const DriveSounds sounds = loadDriveSounds(bank, vehicle, dir.path() / "v", *route, dir.path());
  ASSERT_NE(sounds.callouts[5], nullptr);
  EXPECT_EQ(sounds.callouts[4], nullptr);
  ASSERT_NE(sounds.callouts[23], nullptr);
  EXPECT_EQ(sounds.callouts[23]->sampleRate, 8000);
  EXPECT_EQ(sounds.otherCallouts.size(), 1u);
  EXPECT_EQ(sounds.layout.calloutCounter, 24);
}

TEST_F(DriveSoundsTest, ReportsItsProgress) {
  std::vector<std::string> texts;
  loadDriveSounds(bank, vehicle, dir.path() / "v", *route, dir.path(),
                  [&](std::string_view t) { texts.emplace_back(t); });
  EXPECT_EQ(texts,
            (std::vector<std::string>{"DirectSoundオブジェクトを作成しています(走行音)",
                                      "DirectSoundオブジェクトを作成しています(環境音)",
                                      "DirectSoundオブジェクトを作成しています(喚呼)", "サウンドを読み込んでいます"}));
}

}  // namespace
}  // namespace vesk::data
