// Scripted drives checked against their traces: each drive runs in the headless runner, and a chosen set of
// fields, once a simulated second, must match the trace file exactly (VESK_UPDATE_GOLDEN=1 writes them anew).
#include <gtest/gtest.h>

#include <string>

#include "support/golden_trace.h"
#include "support/trace_lines.h"

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

// Once a simulated second.
std::string reducedTrace(const std::string& trace) {
  std::string out;
  for (const std::string& line : test::traceLines(trace)) {
    if (std::stoll(test::traceField(line, "tick")) % 10 == 0) out += test::traceRow(line, kFields) + "\n";
  }
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
  test::expectGoldenTrace(reducedTrace(test::commandOutput(command)), dir + "/" + d.name + ".trace");
}

INSTANTIATE_TEST_SUITE_P(Drives, GoldenDriveTest,
                         testing::Values(GoldenDrive{"notch", "train_golden_notch.dat", 120000},
                                         GoldenDrive{"current", "train_golden_current.dat", 130000},
                                         GoldenDrive{"diesel_at", "train_golden_diesel_at.dat", 130000},
                                         GoldenDrive{"diesel_mt", "train_golden_diesel_mt.dat", 130000}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vesk::tools
