#include <gtest/gtest.h>

#include "data/data_error.h"
#include "media/virtual_sound_bank.h"
#include "sim/drive_setup.h"
#include "support/temp_dir.h"
#include "support/test_pack.h"

namespace vesk::sim {
namespace {

class DriveSetupTest : public testing::Test {
 protected:
  void SetUp() override { test::writePack(dir); }

  std::unique_ptr<LoadedDrive> load(int startStation = -1) {
    DriveChoice choice{dir.path(), {}, test::kPackVehicle, test::kPackRoute, startStation};
    LoadServices services;
    services.progress = [this](std::string_view t) { progress.emplace_back(t); };
    services.notice = [this](std::string_view t) { notices.emplace_back(t); };
    services.videoFrameCount = [this](const std::filesystem::path&) { return videoFrames; };
    return loadDrive(choice, bank, services);
  }

  test::TempDir dir;
  media::VirtualSoundBank bank{[] { return std::int64_t{0}; }};
  std::vector<std::string> progress;
  std::vector<std::string> notices;
  std::optional<std::int64_t> videoFrames = 1500;
};

TEST_F(DriveSetupTest, StartsLikeTheDrivingWindow) {
  dir.write("movie/TEST.AVI", "x");
  const auto loaded = load();
  const Drive& d = *loaded->drive;
  EXPECT_EQ(d.control.reverser, 1);
  EXPECT_EQ(d.control.brakeHandle, -8);
  EXPECT_EQ(d.state.brakeNotch, -8);
  EXPECT_EQ(d.state.sapNotch, -8);
  EXPECT_EQ(d.control.gear, 1);
  EXPECT_EQ(d.control.inputLocked, 0);
  EXPECT_EQ(d.control.atsOn, 1);
  EXPECT_EQ(d.state.bcTrailer, core::Fixed::fromInt(480));
  EXPECT_EQ(d.state.frame, 30);
  // 30 frames at 60 km/h: 30 x 120 / 7.2 / 30 x 100 = 1667 cm (halves to even).
  EXPECT_EQ(d.state.position, 1667);
  EXPECT_EQ(d.lastFramePosition, 3000);
  EXPECT_EQ(d.soundLayout.driveSoundCount, 3);
  EXPECT_EQ(d.soundLayout.soundDataCount, 2);
  EXPECT_TRUE(notices.empty());
  EXPECT_EQ(progress.front(), "設定ファイルを読み込んでいます");
  EXPECT_EQ(progress.back(), "環境をセットアップしています");
  EXPECT_EQ(loaded->route->stations[2].position, 161111);  // 2900 frames at 60 km/h
  EXPECT_FALSE(loaded->staf.overlay.isNull());
  EXPECT_NE(loaded->pictures.sprites.findByPicture("img_lamp_p"), nullptr);
  EXPECT_NE(loaded->pictures.sprites.findByPicture("img_unten_signal"), nullptr);
}

TEST_F(DriveSetupTest, StartStationPlacesTheTrain) {
  const auto loaded = load(1);
  EXPECT_EQ(loaded->drive->state.frame, 1500);
  EXPECT_EQ(loaded->drive->state.position, 83333);  // 1500 frames at 60 km/h
  EXPECT_THROW(load(3), std::invalid_argument);
  EXPECT_THROW(load(-2), std::invalid_argument);
}

TEST_F(DriveSetupTest, MissingVideoAndControllerMapAreNoticedAndTheDriveGoesOn) {
  std::filesystem::remove(dir.path() / "mascon.dat");
  videoFrames = std::nullopt;
  const auto loaded = load();
  ASSERT_EQ(notices.size(), 2u);
  EXPECT_EQ(notices[1], "movie\\test.avi映像ファイルを開けません");
  EXPECT_EQ(loaded->drive->lastFramePosition, 0);
  EXPECT_EQ(loaded->controllerCodes.count, 0);
}

TEST_F(DriveSetupTest, MissingStafPictureEndsTheDrive) {
  std::filesystem::remove(dir.path() / "image" / "staf2.bmp");
  try {
    load();
    FAIL();
  } catch (const data::DataError& e) {
    EXPECT_EQ(e.message(), "image\\staf2.bmpが見つかりません");
  }
}

TEST_F(DriveSetupTest, NotchedBrakeWithTooFewPositionsEndsTheDrive) {
  std::string vehicle = test::packVehicleFile();
  vehicle.replace(vehicle.find("[Brake]\n8"), 9, "[Brake]\n2");
  test::writeText(dir, test::kPackVehicle, vehicle);
  try {
    load();
    FAIL();
  } catch (const data::DataError& e) {
    EXPECT_EQ(e.message(), "ブレーキの段数を3段以上に設定してください");
  }
}

}  // namespace
}  // namespace vesk::sim
