#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "sim/keys.h"
#include "support/temp_dir.h"
#include "support/test_pack.h"
#include "support/trace_lines.h"
#include "vesk_check/pack_check.h"

namespace vesk::tools {
namespace {

using SimRun = test::CommandRun;

// Runs vesk-sim with the arguments; stdout, or stderr with `errors`.
SimRun runSim(const std::string& arguments, bool errors = false) {
  return test::runCommand(std::string(VESK_SIM_PATH) + " " + arguments +
                          (errors ? " 2>&1 >/dev/null" : " 2>/dev/null"));
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
  EXPECT_EQ(run.out, "車両ファイルに誤りがあります- アナログ時計\ntrain_bad.dat:4: \"x\" cannot be read: a number is "
                     "expected, a comma-separated value is missing, or a list has more rows than it may hold\n");
}

// vesk-sim's second line and vesk-check's parenthesis come from one place and say the same.
struct ExplainedCase {
  const char* file;
  std::string text;  // UTF-8, written as Shift-JIS; none: the file is missing
  std::string message;
};

void PrintTo(const ExplainedCase& testCase, std::ostream* out) { *out << testCase.file; }

class ExplainedError : public testing::TestWithParam<ExplainedCase> {};

TEST_P(ExplainedError, SaysWhatVeskCheckSays) {
  const ExplainedCase& c = GetParam();
  test::TempDir dir;
  test::writePack(dir);
  if (!c.text.empty()) test::writeText(dir, c.file, c.text);
  const SimRun run = runSim("run --program-dir " + dir.path().string() + " --vehicle " + c.file + " --route " +
                                test::kPackRoute + " --ms 100",
                            true);
  EXPECT_EQ(run.status, 2);
  // vesk-check: "WHERE: MESSAGE (EXPLANATION)"; vesk-sim: "MESSAGE", then "WHERE: EXPLANATION".
  std::string finding;
  for (const Finding& f : checkPack({dir.path(), {c.file}})) {
    if (f.message.rfind(c.message + " (", 0) == 0) finding = formatFinding(f);
  }
  const std::size_t at = finding.find(": " + c.message + " (");
  ASSERT_NE(at, std::string::npos) << finding;
  const std::size_t from = at + c.message.size() + 4;
  const std::string explanation = finding.substr(from, finding.size() - from - 1);
  EXPECT_EQ(run.out, c.message + "\n" + finding.substr(0, at) + ": " + explanation + "\n");
}

INSTANTIATE_TEST_SUITE_P(Vehicles, ExplainedError,
                         testing::Values(ExplainedCase{"train_missing.dat", "",
                                                       "車両ファイルに誤りがあります- 列車の基本設定"},
                                         ExplainedCase{"train_clock.dat", "[Cars]\n3\n[Clock]\n10\nx\n",
                                                       "車両ファイルに誤りがあります- アナログ時計"},
                                         ExplainedCase{"train_diesel.dat", "[Notch]\n2\n2\n30\n60\n0.97\n0\n#\n",
                                                       "動力が気動車なのにNotch指定があります"}),
                         [](const testing::TestParamInfo<ExplainedCase>& info) {
                           std::string name = info.param.file;
                           return name.substr(6, name.size() - 10);
                         });

TEST(VeskSim, AUtf8FileIsNamedInTheExplanation) {
  test::TempDir dir;
  test::writePack(dir);
  // Saved as UTF-8 by mistake: the names in it read as garbage through Shift-JIS.
  dir.write("train_utf8.dat", test::crlf("港湾線の電車\n[Cars]\n3\n[Clock]\nx\n"));
  const SimRun run = runSim("run --program-dir " + dir.path().string() + " --vehicle train_utf8.dat --route " +
                                test::kPackRoute + " --ms 100",
                            true);
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, "車両ファイルに誤りがあります- アナログ時計\ntrain_utf8.dat:5: the file is UTF-8, not Shift-JIS: "
                     "save it as Shift-JIS (CP932)\n");
}

TEST(VeskSim, HelpListsTheKeyNamesOfScripts) {
  const SimRun help = runSim("--help");
  const std::size_t at = help.out.find("NAME is one of:");
  ASSERT_NE(at, std::string::npos);
  const std::string line = help.out.substr(at, help.out.find('\n', at) - at);
  for (const auto& [key, name] : sim::kKeyNames)
    EXPECT_NE(line.find(" " + std::string(name)), std::string::npos) << name;
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

// The run's numbers and files are checked before it drives: each refusal is one plain sentence and status 1.
struct RefusalCase {
  const char* name;
  std::string arguments;  // after the pack's --program-dir and --vehicle-dir
  std::string message;
  bool withUsage;  // wrong options also print the usage text
};

void PrintTo(const RefusalCase& testCase, std::ostream* out) { *out << testCase.name; }

class VeskSimRefusal : public VeskSimPack, public testing::WithParamInterface<RefusalCase> {};

TEST_P(VeskSimRefusal, RefusesWithAPlainMessage) {
  dir.write("other.dat", test::sjis(test::crlf(test::packVehicleFile())));
  const SimRun run = runSim("run --program-dir " + dir.path().string() + " --vehicle-dir " + dir.path().string() + " " +
                                GetParam().arguments,
                            true);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out.rfind("vesk-sim: " + GetParam().message + "\n", 0), 0u) << run.out;
  EXPECT_EQ(run.out.find("usage: vesk-sim") != std::string::npos, GetParam().withUsage) << run.out;
}

INSTANTIATE_TEST_SUITE_P(
    Runs, VeskSimRefusal,
    testing::Values(
        RefusalCase{"negativeTime", "--vehicle train_test.dat --route line_test.dat --ms -1",
                    "--ms must be 0 or more (milliseconds to drive), not -1", true},
        RefusalCase{"audioNeedsTheWallClock", "--vehicle train_test.dat --route line_test.dat --ms 100 --audio",
                    "--audio plays the drive aloud: add --realtime", true},
        RefusalCase{"everyZero", "--vehicle train_test.dat --route line_test.dat --ms 100 --every 0",
                    "--every must be 1 or more (1 prints every tick's line), not 0", true},
        RefusalCase{"stationBelowZero", "--vehicle train_test.dat --route line_test.dat --ms 100 --start-station -1",
                    "--start-station must be 0 or more (0 is the route's first station), not -1", true},
        RefusalCase{"stationBeyondTheRoute",
                    "--vehicle train_test.dat --route line_test.dat --ms 100 --start-station 3",
                    "--start-station 3 is not a station of line_test.dat: its stations are numbered 0 to 2", false},
        RefusalCase{"swapped", "--vehicle line_test.dat --route train_test.dat --ms 100",
                    "--route train_test.dat and --vehicle line_test.dat are the wrong way round: route files are "
                    "line_*.dat, vehicle files train_*.dat",
                    false},
        RefusalCase{"aVehicleAsTheRoute", "--vehicle train_test.dat --route other.dat --ms 100",
                    "other.dat given as --route is not a route file: it has no [SpeedUnit] rows and no [Station] "
                    "list",
                    false}),
    [](const testing::TestParamInfo<RefusalCase>& info) { return std::string(info.param.name); });

TEST_F(VeskSimPack, AnEmptyVehicleDrivesWithAWarning) {
  dir.write("train_empty.dat", "");
  const SimRun run = runSim("run --program-dir " + dir.path().string() + " --vehicle train_empty.dat --route " +
                                test::kPackRoute + " --ms 100",
                            true);
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("vesk-sim: warning: train_empty.dat: no [Cars], [Tons], [Power] or [DriveSound]: the file "
                         "does not describe a train (is it empty, or not a vehicle file?)\n"),
            std::string::npos)
      << run.out;
}

std::vector<std::string> linesOf(const std::string& out) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = out.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(out.substr(start, end - start));
  }
  return lines;
}

// The JSON array of "soundOps" in a trace line, brackets included.
std::string soundOpsOf(const std::string& line) {
  const std::size_t at = line.find("\"soundOps\":[");
  if (at == std::string::npos) return "?";
  const std::size_t open = line.find('[', at);
  int depth = 0;
  bool inString = false;
  for (std::size_t i = open; i < line.size(); ++i) {
    const char c = line[i];
    if (inString) {
      if (c == '\\') ++i;
      if (c == '"') inString = false;
    } else if (c == '"') {
      inString = true;
    } else if (c == '[') {
      ++depth;
    } else if (c == ']' && --depth == 0) {
      return line.substr(open, i + 1 - open);
    }
  }
  return "?";
}

TEST_F(VeskSimPack, TraceListsEverySoundRequestSinceThePreviousLine) {
  const SimRun run = runSim("run " + packOptions() + " --route " + test::kPackRoute + " --ms 300");
  ASSERT_EQ(run.status, 0);
  const std::vector<std::string> lines = linesOf(run.out);
  ASSERT_EQ(lines.size(), 3u);
  // The first line holds the binds of loading, with each wave's file name; "[DriveSound]" line 2 is empty and
  // leaves channel 1 unbound.
  const std::string first = soundOpsOf(lines[0]);
  EXPECT_NE(first.find("[\"bind\",0,\"sound\\\\run0.wav\"]"), std::string::npos) << first;
  EXPECT_EQ(first.find("[\"bind\",1,"), std::string::npos) << first;
  // Standing still: running-sound band 0 and 1, the unbound channel 1 asked to loop all the same.
  const std::string later = soundOpsOf(lines[2]);
  EXPECT_EQ(later.find("bind"), std::string::npos) << later;
  EXPECT_NE(later.find("[\"play_loop\",1]"), std::string::npos) << later;
  EXPECT_NE(later.find("[\"set_volume\",1,-4000]"), std::string::npos) << later;
}

TEST_F(VeskSimPack, RealTimeRunGivesTheSameTraceAtTheWallClocksPace) {
  dir.write("script.txt", "200 set brakeHandle 0\n300 char 8\n");
  const std::string args = "run " + packOptions() + " --route " + test::kPackRoute + " --ms 1050 --script " +
                           (dir.path() / "script.txt").string();
  const SimRun fast = runSim(args);
  const auto start = std::chrono::steady_clock::now();
  const SimRun paced = runSim(args + " --realtime");
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  ASSERT_EQ(paced.status, 0);
  EXPECT_EQ(linesOf(paced.out).size(), 10u);
  EXPECT_EQ(paced.out, fast.out);
  EXPECT_GE(seconds, 1.0);
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
  EXPECT_EQ(bad.out, "路線ファイルに誤りがあります。[Station]:A,0\nline_test.dat:2: this line cannot be read: a number "
                     "is expected, a comma-separated value is missing, or a list has more rows than it may hold\n");
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
