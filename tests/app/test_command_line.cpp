// The command line: the demo drive without arguments, a drive chosen directly, the run options, mistakes
// refused; and where the program finds its data.
#include <gtest/gtest.h>

#include "app/command_line.h"
#include "support/temp_dir.h"

namespace vesk::app {
namespace {

TEST(CommandLine, WithoutArgumentsOpensTheDemoLinesDownLocal) {
  const CommandLine c = parseCommandLine({});
  EXPECT_EQ(c.route, "line_down_local.dat");
  EXPECT_EQ(c.vehicle, "train_VK500.dat");
  EXPECT_EQ(c.startStation, -1);
  EXPECT_FALSE(c.dataDir.has_value());
  EXPECT_FALSE(c.stats);
}

TEST(CommandLine, OpensADriveDirectlyAndTakesTheRunOptions) {
  const CommandLine c = parseCommandLine({"--data", "/packs/x", "--route", "line_up_rapid.dat", "--vehicle",
                                          "train_VK700_3Cars.dat", "--start-station", "2", "--script", "s.txt",
                                          "--exit-after", "20.5", "--screenshot", "out/v.png", "--stats"});
  EXPECT_EQ(c.dataDir, std::filesystem::path("/packs/x"));
  EXPECT_EQ(c.route, "line_up_rapid.dat");
  EXPECT_EQ(c.vehicle, "train_VK700_3Cars.dat");
  EXPECT_EQ(c.startStation, 2);
  EXPECT_EQ(c.script, std::filesystem::path("s.txt"));
  EXPECT_EQ(c.exitAfterSeconds, 20.5);
  EXPECT_EQ(c.screenshot, std::filesystem::path("out/v.png"));
  EXPECT_TRUE(c.stats);
}

struct BadCase {
  const char* name;
  std::vector<std::string> args;
};

class BadCommandLine : public testing::TestWithParam<BadCase> {};

TEST_P(BadCommandLine, IsRefused) { EXPECT_THROW(parseCommandLine(GetParam().args), CommandLineError); }

INSTANTIATE_TEST_SUITE_P(Cases, BadCommandLine,
                         testing::Values(BadCase{"Unknown", {"--fast"}}, BadCase{"MissingValue", {"--data"}},
                                         BadCase{"RouteWithoutVehicle", {"--route", "line_down_local.dat"}},
                                         BadCase{"StationWithoutRoute", {"--start-station", "1"}},
                                         BadCase{"NegativeStation",
                                                 {"--route", "a.dat", "--vehicle", "b.dat", "--start-station", "-1"}},
                                         BadCase{"SecondsNotANumber", {"--exit-after", "soon"}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ProgramDir, DataFirstThenTheCurrentFolderThenTheProgramsThenTheDemo) {
  test::TempDir current;
  test::TempDir executable;
  const std::filesystem::path demo = "/bundled/demo";
  EXPECT_EQ(resolveProgramDir(std::filesystem::path("/given"), current.path(), executable.path(), demo), "/given");
  EXPECT_EQ(resolveProgramDir(std::nullopt, current.path(), executable.path(), demo), demo);
  executable.write("VELMARIX.DAT", "x");  // a pack made on Windows
  EXPECT_EQ(resolveProgramDir(std::nullopt, current.path(), executable.path(), demo), executable.path());
  current.write("velmarix.dat", "x");
  EXPECT_EQ(resolveProgramDir(std::nullopt, current.path(), executable.path(), demo), current.path());
}

}  // namespace
}  // namespace vesk::app
