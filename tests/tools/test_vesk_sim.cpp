#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>

#include "support/temp_dir.h"

namespace vesk::tools {
namespace {

struct SimRun {
  int status = -1;
  std::string out;
};

// Runs vesk-sim with the arguments; stdout, or stderr with `errors`.
SimRun runSim(const std::string& arguments, bool errors = false) {
  const std::string command =
      std::string(VESK_SIM_PATH) + " " + arguments + (errors ? " 2>&1 >/dev/null" : " 2>/dev/null");
  SimRun run;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  std::array<char, 4096> buffer{};
  std::size_t n = 0;
  while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) run.out.append(buffer.data(), n);
  const int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

TEST(VeskSim, DumpsTheExampleVehicle) {
  const SimRun run =
      runSim(std::string("dump-vehicle --vehicle-dir ") + VESK_EXAMPLES_DIR + "/vehicle train_example.dat");
  ASSERT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("\"trainMass\":96.5"), std::string::npos);
  EXPECT_NE(run.out.find("\"brakeRate\":[4.2,3.5,40]"), std::string::npos);
  EXPECT_NE(run.out.find("{\"notchLabel\":\"P\",\"modeName\":\"通常\"}"), std::string::npos);
  EXPECT_NE(run.out.find("\"notchModeStart\":[0,3,"), std::string::npos);
}

TEST(VeskSim, DataErrorPrintsTheMessageAndExitsWithTwo) {
  test::TempDir dir;
  dir.write("train_bad.dat", test::sjis("[Handle]\r\n1\r\n[Clock]\r\nx\r\n"));
  const SimRun run = runSim("dump-vehicle --vehicle-dir " + dir.path().string() + " train_bad.dat", true);
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, "車両ファイルに誤りがあります- アナログ時計\ntrain_bad.dat:4\n");
}

TEST(VeskSim, UsageErrorsExitWithOne) {
  EXPECT_EQ(runSim("").status, 1);
  EXPECT_EQ(runSim("no-such-command").status, 1);
  EXPECT_EQ(runSim("dump-vehicle").status, 1);
  const SimRun help = runSim("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("dump-vehicle --vehicle-dir DIR [--pretty] FILE"), std::string::npos);
}

}  // namespace
}  // namespace vesk::tools
