// Scripted drives checked against their traces: each drive runs in the headless runner, and a chosen set of
// fields, once a simulated second, must match the trace file exactly. With VESK_UPDATE_GOLDEN=1 the traces are
// written anew instead (review the difference before committing it).
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace vesk::tools {
namespace {

const char* const kFields[] = {"t_ms",
                               "speed",
                               "position",
                               "frame",
                               "reverser",
                               "powerHandle",
                               "brakeHandle",
                               "powerNotch",
                               "brakeNotch",
                               "sapNotch",
                               "tractiveForce",
                               "brakeForce",
                               "resistForce",
                               "bcMotor",
                               "bcTrailer",
                               "er",
                               "bp",
                               "mr",
                               "sap",
                               "elecBrakeCurrent",
                               "ammeter",
                               "motorCurrent",
                               "resistorStep",
                               "engineRpm",
                               "engagedGear",
                               "gear",
                               "shiftState",
                               "compressorOn",
                               "emergencyLatched",
                               "adhesionText",
                               "powerText",
                               "brakeText",
                               "gearText"};

// The value of a field in one JSON line as written (numbers and strings only).
std::string fieldText(const std::string& line, const std::string& name) {
  const std::string key = "\"" + name + "\":";
  const std::size_t at = line.find(key);
  if (at == std::string::npos) return "?";
  std::size_t i = at + key.size();
  std::size_t end = i;
  if (line[i] == '"') {
    end = line.find('"', i + 1) + 1;
  } else {
    while (end < line.size() && line[end] != ',' && line[end] != '}') ++end;
  }
  return line.substr(i, end - i);
}

std::string reducedTrace(const std::string& trace) {
  std::istringstream in(trace);
  std::string line;
  std::string out;
  while (std::getline(in, line)) {
    if (std::stoll(fieldText(line, "tick")) % 10 != 0) continue;
    for (const char* f : kFields) out += std::string(f) + "=" + fieldText(line, f) + " ";
    out.back() = '\n';
  }
  return out;
}

std::string run(const std::string& command) {
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return out;
  std::array<char, 65536> buffer{};
  std::size_t n = 0;
  while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) out.append(buffer.data(), n);
  pclose(pipe);
  return out;
}

struct GoldenDrive {
  const char* name;
  const char* vehicle;
  int ms;
};
void PrintTo(const GoldenDrive& testCase, std::ostream* out) { *out << testCase.name; }

class GoldenDriveTest : public testing::TestWithParam<GoldenDrive> {};

TEST_P(GoldenDriveTest, MatchesItsTrace) {
  const GoldenDrive& d = GetParam();
  const std::string dir = VESK_GOLDEN_DIR;
  const std::string command = std::string(VESK_SIM_PATH) + " run --program-dir " + dir + "/pack --vehicle-dir " + dir +
                              "/pack --vehicle " + d.vehicle + " --route line_golden.dat --ms " + std::to_string(d.ms) +
                              " --script " + dir + "/" + d.name + ".script 2>/dev/null";
  const std::string trace = reducedTrace(run(command));
  ASSERT_FALSE(trace.empty());
  const std::string tracePath = dir + "/" + d.name + ".trace";
  const char* update = std::getenv("VESK_UPDATE_GOLDEN");
  if (update != nullptr && std::string(update) == "1") {
    std::ofstream(tracePath, std::ios::binary) << trace;
    GTEST_SKIP() << "trace written: " << tracePath;
  }
  std::ifstream in(tracePath, std::ios::binary);
  ASSERT_TRUE(in) << "no trace " << tracePath << " (run with VESK_UPDATE_GOLDEN=1 to write it)";
  std::stringstream expected;
  expected << in.rdbuf();
  // Compare line by line, so that a failure names the first second that differs.
  std::istringstream want(expected.str());
  std::istringstream got(trace);
  std::string a;
  std::string b;
  int line = 0;
  while (std::getline(want, a)) {
    ++line;
    ASSERT_TRUE(std::getline(got, b)) << "the drive ended early, at line " << line;
    ASSERT_EQ(b, a) << "first difference at line " << line;
  }
  EXPECT_FALSE(std::getline(got, b)) << "the drive ran longer than its trace";
}

INSTANTIATE_TEST_SUITE_P(Drives, GoldenDriveTest,
                         testing::Values(GoldenDrive{"notch", "train_golden_notch.dat", 120000},
                                         GoldenDrive{"current", "train_golden_current.dat", 130000},
                                         GoldenDrive{"diesel_at", "train_golden_diesel_at.dat", 130000},
                                         GoldenDrive{"diesel_mt", "train_golden_diesel_mt.dat", 130000}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vesk::tools
