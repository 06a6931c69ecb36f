#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>

#include "support/temp_dir.h"
#include "support/test_pack.h"

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

class VeskSimPack : public testing::Test {
 protected:
  void SetUp() override { test::writePack(dir); }
  std::string packOptions() const {
    return "--program-dir " + dir.path().string() + " --vehicle-dir " + dir.path().string() + " --vehicle " +
           test::kPackVehicle;
  }
  test::TempDir dir;
};

TEST_F(VeskSimPack, DumpsTheRouteWithDerivedPositions) {
  const SimRun run = runSim("dump-route " + packOptions() + " " + test::kPackRoute);
  ASSERT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("\"lineName\":\"テスト線\""), std::string::npos);
  EXPECT_NE(run.out.find("\"position\":83333,\"platformStart\":81333"), std::string::npos);
  EXPECT_NE(run.out.find("\"atsBeacons\":[{"), std::string::npos);
  EXPECT_NE(run.out.find("\"soundDataLengths\":[2,4]"), std::string::npos);
}

TEST_F(VeskSimPack, DumpsTheStrings) {
  const SimRun run = runSim("dump-strings --program-dir " + dir.path().string());
  ASSERT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("\"viewWidth\":800"), std::string::npos);
  EXPECT_NE(run.out.find("\"gearsTexts\":[\"中立\",\"1速\",\"直結\"]"), std::string::npos);
}

TEST_F(VeskSimPack, RunPrintsOneLinePerTickAndAppliesTheScript) {
  dir.write("script.txt", "# auto-run from the first second\n1000 set autoRun 1\n1000 set brakeHandle 0\n");
  const SimRun run = runSim("run " + packOptions() + " --route " + test::kPackRoute + " --ms 3000 --script " +
                            (dir.path() / "script.txt").string());
  ASSERT_EQ(run.status, 0);
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = run.out.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(run.out.substr(start, end - start));
  }
  ASSERT_EQ(lines.size(), 30u);
  EXPECT_EQ(lines[0].rfind("{\"t_ms\":100,\"tick\":1,\"speed\":0,", 0), 0u);
  EXPECT_NE(lines[8].find("\"autoRun\":0"), std::string::npos);  // t = 900
  EXPECT_NE(lines[9].find("\"autoRun\":1"), std::string::npos);  // t = 1000: the event comes first
  // Running at the recorded 60 km/h from the second second on.
  EXPECT_NE(lines[29].find("\"frameSpeed\":60"), std::string::npos);
  EXPECT_EQ(lines[29].find("\"frame\":30,"), std::string::npos);
}

TEST_F(VeskSimPack, RunTracesTheStationsAndRepeatsWithTheSeed) {
  const std::string options = "run " + packOptions() + " --route " + test::kPackRoute + " --ms 1000";
  const SimRun run = runSim(options + " --seed 7");
  ASSERT_EQ(run.status, 0);
  const std::string first = run.out.substr(0, run.out.find('\n'));
  // Standing at the first stop with the doors open; the clock 6 s (the two station sounds) before 00:14:00.
  EXPECT_NE(first.find("\"clockText\":\"00:13:54\""), std::string::npos) << first;
  EXPECT_NE(first.find("\"doorOpenCommanded\":1"), std::string::npos);
  EXPECT_NE(first.find("\"NextStopText\":\"ただいま 始発\""), std::string::npos);
  EXPECT_NE(first.find("\"stationFlags\":[{\"inPlatform\":1,\"arrived\":1,"), std::string::npos);
  EXPECT_NE(first.find("\"calloutQueue\":[]"), std::string::npos);
  EXPECT_NE(first.find("\"uiEvents\":[]"), std::string::npos);
  EXPECT_EQ(runSim(options + " --seed 7").out, run.out);
  EXPECT_EQ(runSim(options + " --seed -1").status, 1);
  EXPECT_EQ(runSim(options + " --seed x").status, 1);
}

TEST_F(VeskSimPack, RunReportsDataErrorsAndBadScripts) {
  test::writeText(dir, test::kPackRoute, "[Station]\nA,0\n#\n");
  const SimRun bad = runSim("run " + packOptions() + " --route " + test::kPackRoute + " --ms 100", true);
  EXPECT_EQ(bad.status, 2);
  EXPECT_EQ(bad.out, "路線ファイルに誤りがあります。[Station]:A,0\nline_test.dat:2\n");
  test::writePack(dir);
  dir.write("bad.txt", "100 set noSuchField 1\n");
  const SimRun script = runSim("run " + packOptions() + " --route " + test::kPackRoute + " --ms 500 --script " +
                                   (dir.path() / "bad.txt").string(),
                               true);
  EXPECT_EQ(script.status, 1);
  EXPECT_NE(script.out.find("script line 1: no field noSuchField"), std::string::npos);
}

}  // namespace
}  // namespace vesk::tools
