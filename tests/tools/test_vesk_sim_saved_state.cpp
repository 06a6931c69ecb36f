// vesk-sim's saved states: --save writes the state line and the title as the Save menu stores them, --restore
// puts a drive into one at the time given, and a state that cannot be restored ends the run with its message.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/temp_dir.h"
#include "support/test_pack.h"
#include "support/trace_lines.h"

namespace vesk::tools {
namespace {

using SimRun = test::CommandRun;

// Runs vesk-sim with the arguments; stdout, or stderr with `errors`.
SimRun runSim(const std::string& arguments, bool errors = false) {
  return test::runCommand(std::string(VESK_SIM_PATH) + " " + arguments +
                          (errors ? " 2>&1 >/dev/null" : " 2>/dev/null"));
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

class VeskSimSavedState : public testing::Test {
 protected:
  void SetUp() override { test::writePack(pack); }
  std::string run(const std::string& more) const {
    return "run --program-dir " + pack.path().string() + " --vehicle " + test::kPackVehicle + " --route " +
           test::kPackRoute + " " + more;
  }
  std::string readFile(const std::string& name) const {
    std::ifstream in(pack.path() / name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  test::TempDir pack;
};

TEST_F(VeskSimSavedState, SavesAndRestoresAState) {
  const std::string file = (pack.path() / "slot.txt").string();
  const SimRun saved = runSim(run("--ms 1000 --save " + file + " --save-at 500"));
  ASSERT_EQ(saved.status, 0);
  const std::vector<std::string> slot = lines(readFile("slot.txt"));
  ASSERT_EQ(slot.size(), 2U);
  EXPECT_EQ(slot[0].rfind(std::string(test::kPackRoute) + ",", 0), 0U) << slot[0];
  EXPECT_EQ(std::count(slot[0].begin(), slot[0].end(), ','), 6);
  EXPECT_NE(slot[1].find("（"), std::string::npos) << slot[1];

  // The same slot with the clock an hour later: a run restored from it at 300 ms runs on from that clock.
  std::vector<std::string> fields;
  std::istringstream in(slot[0]);
  for (std::string f; std::getline(in, f, ',');) fields.push_back(f);
  const long long clock = std::stoll(fields[4]) + 30 * 3600;
  fields[4] = std::to_string(clock);
  std::string edited = fields[0];
  for (std::size_t i = 1; i < fields.size(); ++i) edited += "," + fields[i];
  pack.write("later.txt", edited + "\n");
  const SimRun restored =
      runSim(run("--ms 400 --restore " + (pack.path() / "later.txt").string() + " --restore-at 300"));
  ASSERT_EQ(restored.status, 0);
  const std::vector<std::string> trace = lines(restored.out);
  ASSERT_EQ(trace.size(), 4U);
  EXPECT_LT(std::stoll(test::traceField(trace[1], "clock")), clock - 30 * 60) << "before the restore";
  const long long after = std::stoll(test::traceField(trace[2], "clock"));
  EXPECT_GE(after, clock);
  EXPECT_LE(after, clock + 3);
  EXPECT_EQ(test::traceField(trace[2], "frame"), fields[3]);
  EXPECT_EQ(test::traceField(trace[2], "currentStation"), fields[1]);
}

TEST_F(VeskSimSavedState, AStateOfAnotherRouteIsRefusedBeforeTheDriveRuns) {
  pack.write("other.txt", "line_other.dat,0,0,10,25200,0,0\n");
  const SimRun run1 = runSim(run("--ms 400 --restore " + (pack.path() / "other.txt").string()), true);
  EXPECT_EQ(run1.status, 2);
  // After the notice of the pack's missing video.
  EXPECT_NE(run1.out.find("運転状態を保存したダイヤではありません\n"), std::string::npos) << run1.out;
  pack.write("bad.txt", "garbage\n");
  const SimRun run2 = runSim(run("--ms 400 --restore " + (pack.path() / "bad.txt").string()), true);
  EXPECT_EQ(run2.status, 2);
  EXPECT_NE(run2.out.find("保存された運転状態が壊れています\n"), std::string::npos) << run2.out;
}

}  // namespace
}  // namespace vesk::tools
