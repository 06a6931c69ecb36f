// The generated demo pack (scripts/demo.sh writes it to build/demo-pack): it passes the validator, every service
// with every train the title screen offers runs to the end of the line, and the videos agree with the routes.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <ostream>
#include <string>

#include "data/route_file.h"
#include "data/string_file.h"
#include "media/video_source.h"
#include "sim/drive_setup.h"
#include "support/command_run.h"
#include "vesk_check/pack_check.h"

namespace vesk::demo {
namespace {

const std::filesystem::path kPack = VESK_DEMO_PACK;

class DemoPackTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(std::filesystem::exists(kPack / "velmarix.dat"))
        << "no demo pack at " << kPack << ": write it with scripts/demo.sh";
  }
};

TEST_F(DemoPackTest, TheValidatorFindsNothing) {
  const auto findings = tools::checkPack({kPack, {}});
  for (const tools::Finding& f : findings) ADD_FAILURE() << tools::formatFinding(f);
  EXPECT_TRUE(findings.empty());
}

TEST_F(DemoPackTest, VideosAgreeWithTheRoutes) {
  const data::UiStrings strings = data::loadStringFile(kPack);
  for (const std::string& file : tools::titleRouteFiles()) {
    media::DrivePictures pictures;
    const auto route = data::loadRouteFile(kPack, file, {strings, "train_VK500.dat"}, pictures);
    ASSERT_GT(route->speedUnitCount, 0) << file;
    const auto video = sim::routeVideoPath(kPack, strings, *route);
    ASSERT_TRUE(video) << file;
    const auto pictures2 = media::videoFrameCount(*video);
    ASSERT_TRUE(pictures2) << file;
    const data::SpeedUnitRow& last = route->speedUnits[static_cast<std::size_t>(route->speedUnitCount - 1)];
    // Picture n stands for frame positions 2n - 1 and 2n: the last frame position is twice the picture count.
    EXPECT_EQ(last.frameTo, *pictures2 * 2) << file;
    for (int i = 0; i < route->stationCount; ++i) {
      const data::StationRow& s = route->stations[static_cast<std::size_t>(i)];
      EXPECT_GE(s.frame, route->speedUnits[0].frameFrom) << file << " " << s.name;
      EXPECT_LE(s.frame, last.frameTo) << file << " " << s.name;
    }
  }
}

std::string runSim(const std::string& arguments) {
  const std::string command = std::string(VESK_SIM_PATH) + " " + arguments + " 2>&1";
  const test::CommandRun run = test::runCommand(command);
  return run.status == 0 ? run.out : run.out + "\nexit status " + std::to_string(run.status);
}

struct Offer {
  std::string route;
  std::string vehicle;
};

void PrintTo(const Offer& offer, std::ostream* out) { *out << offer.route << " with " << offer.vehicle; }

class AutoRunTest : public DemoPackTest, public testing::WithParamInterface<Offer> {};

TEST_P(AutoRunTest, ReachesTheEndOfTheLine) {
  // One script per test: ctest runs them side by side.
  const std::string script = (std::filesystem::temp_directory_path() /
                              ("vesk-auto-run-" + GetParam().route + "-" + GetParam().vehicle + ".script"))
                                 .string();
  if (FILE* f = std::fopen(script.c_str(), "w")) {
    std::fputs("0 key F1 shift\n", f);
    std::fclose(f);
  }
  const std::string out =
      runSim("run --program-dir " + kPack.string() + " --vehicle-dir " + kPack.string() + " --vehicle " +
             GetParam().vehicle + " --route " + GetParam().route + " --ms 720000 --script " + script + " --summary");
  EXPECT_NE(out.find("reached the end of the line"), std::string::npos) << out;
  EXPECT_EQ(out.find("exit status"), std::string::npos) << out;
  EXPECT_EQ(out.find("できません"), std::string::npos) << out;
}

std::vector<Offer> offers() {
  std::vector<Offer> all;
  for (const std::string& route : tools::titleRouteFiles()) {
    for (const std::string& vehicle : tools::vehiclesOfRoute(route)) all.push_back({route, vehicle});
  }
  return all;
}

INSTANTIATE_TEST_SUITE_P(EveryServiceAndTrain, AutoRunTest, testing::ValuesIn(offers()), [](const auto& info) {
  std::string name = info.param.route + "_" + info.param.vehicle;
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
});

}  // namespace
}  // namespace vesk::demo
