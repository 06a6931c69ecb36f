// Scripted headless drives over small lines written by the tests: the signals behind a preceding train, ATS-S,
// ATS-P and the vigilance device, read from the runner's trace. The lines are recorded at 60 km/h: 1800 frames a
// kilometre, a frame every 55.6 cm.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "support/temp_dir.h"
#include "support/test_pack.h"
#include "support/trace_lines.h"

namespace vesk::sim {
namespace {

using test::traceField;
using test::traceNumber;

std::string signalRow(int kind, int headType, int visibleFrom, int visibleTo, int point1, int point2, int fixed = 0) {
  return std::to_string(kind) + ",0,1," + std::to_string(headType) + "," + std::to_string(visibleFrom) + "," +
         std::to_string(visibleTo) + "," + std::to_string(point1) + "," + std::to_string(point2) + "," +
         std::to_string(fixed) + ",0,0,400,100,0,0,0,0,0,0,0,0,0";
}

// A line of 30000 frames with a station at each end (section speed `sectionSpeed`, no ATS-P stop beacons).
struct Line {
  int startFrame = 30;
  int sectionSpeed = 100;
  std::vector<std::string> signals;
  std::string preTrain;  // the rows of "[Pre_Train]", its first line included
  std::string limits;    // "[SpeedLimit]" rows

  std::string text() const {
    std::string t = "[LineName]\nテスト線\n[StartPos]\n" + std::to_string(startFrame) +
                    "\n[FrameRate]\n15\n[Staf]\nimage\\staf1.bmp\nimage\\staf2.bmp\nimage\\staf3.bmp\n"
                    "[Friction]\n0.3\n[Speed_Signal]\n0\n25\n45\n65\n110\n#\n[DataName]\ntest\n";
    if (!preTrain.empty()) t += "[Pre_Train]\n" + preTrain + "#\n";
    const std::string section = std::to_string(sectionSpeed);
    t += "[Station]\n始発,0,30,2000,0,0,0,0," + section + ",0,0,0,0,0,50\n終点,0,29900,2000,0,0,0,0," + section +
         ",0,0,0,0,0,50\n#\n[Signal]\n";
    for (const std::string& s : signals) t += s + "\n";
    t += "#\n[SpeedLimit]\n" + limits + "#\n";
    t += "[SignImageList]\nimage\\teimoku.bmp,32\nimage\\line.bmp,4\nimage\\line.bmp,4\nimage\\line.bmp,4\n"
         "image\\slope.bmp,32\nimage\\limit.bmp,32\nimage\\remain.bmp,16\nimage\\other.bmp,32\n"
         "[SignalImageList]\n10,-20,24,48,image\\signal.bmp\n16,16,image\\sub.bmp\n16,16,image\\sub.bmp\n"
         "16,16,image\\sub.bmp\n[SpeedUnit]\n0,30000,60,60\n#\n";
    return t;
  }
};

// The test pack's train with "[ATS_Type]" `atsType`, "[ATS_Time]" 5, air for its brakes and `keys` (whole
// "[Key]\nvalue\n" blocks).
std::string vehicle(const std::string& atsType, const std::string& keys = "") {
  std::string v = test::packVehicleFile();
  v.replace(v.find("[ATS_Type]\n1\n"), 13,
            "[ATS_Type]\n" + atsType +
                "\n[ATS_Time]\n5\n[HighAirPress]\n880\n[LowAirPress]\n780\n[BrakeUp]\n200\n"
                "[BrakeDown]\n250\n[SAPUp]\n300\n[SAPDown]\n300\n" +
                keys);
  return v;
}

// Released brakes at once, and a speed once the first control step has read the video's speed: the drive
// coasts from 0.1 s on.
std::string coasting(int kmh) {
  return "0 char 5\n0 set bcMotor 0\n0 set bcTrailer 0\n0 set brakeNotch 0\n0 set sapNotch 0\n50 set speed " +
         std::to_string(kmh) + "\n";
}

class ProtectionDrive : public testing::Test {
 protected:
  void SetUp() override { test::writePack(dir); }

  std::vector<std::string> run(const Line& line, const std::string& vehicleText, const std::string& script, int ms,
                               const std::string& settings = "") {
    test::writeText(dir, test::kPackRoute, line.text());
    test::writeText(dir, test::kPackVehicle, vehicleText);
    dir.write("drive.script", script);
    const std::string p = dir.path().string();
    return test::traceLines(test::commandOutput(
        std::string(VESK_SIM_PATH) + " run --program-dir " + p + " --vehicle-dir " + p + " --vehicle " +
        test::kPackVehicle + " --route " + test::kPackRoute + " --script " + p + "/drive.script --ms " +
        std::to_string(ms) + (settings.empty() ? "" : " --settings " + settings) + " 2>&1"));
  }

  // The index of the first line where the field has the value, or -1.
  static int firstWhere(const std::vector<std::string>& lines, const std::string& field, double value) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (traceNumber(lines[i], field) == value) return static_cast<int>(i);
    }
    return -1;
  }

  test::TempDir dir;
};

// Eight head-type-2 signals at frames 1000, 2000, ... 8000.
std::vector<std::string> eightSignals() {
  std::vector<std::string> rows;
  for (int i = 1; i <= 8; ++i) rows.push_back(signalRow(0, 2, 1000 * i - 500, 1000 * i, 1000 * i - 300, 1000 * i - 40));
  return rows;
}

TEST_F(ProtectionDrive, WithoutAPrecedingTrainEverySignalShowsItsHighestAspect) {
  Line line;
  line.signals = eightSignals();
  line.signals[2] = signalRow(2, 2, 2500, 3000, 2700, 2960, 1);  // worked by hand: always aspect 1
  const auto lines = run(line, test::packVehicleFile(), "", 300);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(traceField(lines[2], "signalAspects"), "[4,4,1,4,4,4,4,4]");
  EXPECT_EQ(traceNumber(lines[2], "precedingFrame"), 0);
}

TEST_F(ProtectionDrive, SignalsBehindTheMovingPrecedingTrainFollowIt) {
  Line line;
  line.signals = eightSignals();
  // Runs at 60 km/h (a frame a control step) from frame 5500 once the clock is past 0, until it leaves the line
  // beyond frame 9000.
  line.preTrain = "5500,9000\n0,60,0\n";
  const auto lines = run(line, test::packVehicleFile(), "", 130000);
  ASSERT_EQ(lines.size(), 1300u);
  // Two blocks behind it a three-aspect signal shows restricted (2), three blocks behind clear (4).
  EXPECT_EQ(traceField(lines[0], "signalAspects"), "[4,4,4,2,0,4,4,4]");
  // 10 s: 304 control steps (one every 33 ms), the first two before its departure.
  EXPECT_EQ(traceNumber(lines[99], "precedingFrame"), 5802);
  EXPECT_EQ(traceField(lines[199], "signalAspects"), "[4,4,4,4,2,0,4,4]");
  EXPECT_EQ(traceField(lines[1199], "signalAspects"), "[4,4,4,4,4,4,4,4]");  // it has left the line
  EXPECT_EQ(traceNumber(lines[1199], "precedingFrame"), 0);
}

TEST_F(ProtectionDrive, ThePrecedingTrainWaitsForItsDepartureTime) {
  Line line;
  line.signals = eightSignals();
  line.preTrain = "5500,9000\n0,60,150\n";  // leaves at clock 150 (5 s)
  const auto lines = run(line, test::packVehicleFile(), "", 8000);
  EXPECT_EQ(traceNumber(lines[40], "precedingFrame"), 5500);
  EXPECT_NEAR(traceNumber(lines[79], "precedingFrame"), 5590, 2);
}

// ATS-S: a signal always at stop at frame 3000, in view from frame 1400, its points at 1500 and 2900.
Line stopSignalLine(int startFrame) {
  Line line;
  line.startFrame = startFrame;
  line.signals = {signalRow(2, 2, 1400, 3000, 1500, 2900, 0)};
  return line;
}

TEST_F(ProtectionDrive, AtsSUnconfirmedForItsTimeBringsTheEmergencyBrake) {
  const auto lines = run(stopSignalLine(1400), vehicle("0"), coasting(40), 20000);
  const int alarm = firstWhere(lines, "atsAlarm", 1);
  ASSERT_GE(alarm, 0);
  EXPECT_NEAR(traceNumber(lines[static_cast<std::size_t>(alarm)], "frame"), 1485, 3);
  EXPECT_EQ(traceNumber(lines[static_cast<std::size_t>(alarm)], "atsAlarmCode"), 998);
  // "[ATS_Time]" is 5 s: the emergency brake comes 50 ticks later.
  EXPECT_EQ(firstWhere(lines, "emergencyLatched", 1), alarm + 50);
}

TEST_F(ProtectionDrive, AtsSConfirmedWhileBrakingAndStoppedBeforeTheSignal) {
  std::string script = coasting(40) + "2000 char 2\n2000 char 2\n2000 char 2\n2100 char space\n";
  for (int t = 2200; t < 4000; t += 100) script += std::to_string(t) + " char 2\n";
  const auto lines = run(stopSignalLine(1460), vehicle("0"), script, 40000);
  ASSERT_GE(firstWhere(lines, "atsAlarm", 1), 0);
  EXPECT_EQ(firstWhere(lines, "emergencyLatched", 1), -1);
  const std::string& last = lines.back();
  EXPECT_EQ(traceNumber(last, "speed"), 0);
  EXPECT_LT(traceNumber(last, "frame"), 2885);
  EXPECT_EQ(traceNumber(last, "atsAlarm"), 0);
}

TEST_F(ProtectionDrive, AtsSPassingAStopSignalsSecondPointBrakesAtOnce) {
  const auto lines = run(stopSignalLine(2850), vehicle("0"), coasting(30), 5000);
  const int brake = firstWhere(lines, "emergencyLatched", 1);
  ASSERT_GE(brake, 0);
  EXPECT_EQ(firstWhere(lines, "atsAlarm", 1), brake);
  EXPECT_EQ(traceNumber(lines[static_cast<std::size_t>(brake)], "atsAlarmCode"), 0);
  EXPECT_NEAR(traceNumber(lines[static_cast<std::size_t>(brake)], "frame"), 2885, 3);
}

TEST_F(ProtectionDrive, TheBeginnersSettingSwitchesTheAtsOff) {
  const auto on = run(stopSignalLine(2850), vehicle("0"), coasting(30), 5000, "ATS=0");
  EXPECT_EQ(traceNumber(on.back(), "atsOn"), 1);
  EXPECT_EQ(traceNumber(on.back(), "emergencyLatched"), 1);
  const auto off = run(stopSignalLine(2850), vehicle("0"), coasting(30), 5000, "ATS=1");
  EXPECT_EQ(traceNumber(off.back(), "atsOn"), 0);
  EXPECT_EQ(firstWhere(off, "atsAlarm", 1), -1);
  EXPECT_EQ(firstWhere(off, "emergencyLatched", 1), -1);
}

TEST_F(ProtectionDrive, AtsPBrakesAboveTheSectionPatternUntilTenBelowIt) {
  Line line;
  line.startFrame = 3000;
  line.sectionSpeed = 60;  // patterns P1 65, P2 60; target 60
  const auto lines = run(line, vehicle("1"), coasting(70), 20000);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(traceNumber(lines[5], "atspState"), 2);
  EXPECT_EQ(traceNumber(lines[5], "atsBrakeLatched"), 1);
  EXPECT_EQ(traceNumber(lines[5], "atspP1"), 65);
  const int release = firstWhere(lines, "atsBrakeLatched", 0);
  ASSERT_GT(release, 5);
  EXPECT_EQ(traceNumber(lines[static_cast<std::size_t>(release)], "atspState"), 0);
  const double speed = traceNumber(lines[static_cast<std::size_t>(release)], "speed");
  EXPECT_LT(speed, 49.5);
  EXPECT_GT(speed, 48.0);
}

TEST_F(ProtectionDrive, AtsPPatternBrakesBeforeAStopSignalUntilReset) {
  Line line;
  // The stop signal's beacon (its second point) at frame 9000: 500000 cm; the train starts 700 m before it.
  line.startFrame = 9000 - 1260;
  line.signals = {signalRow(2, 2, 8500, 9036, 8700, 9000, 0)};
  std::string script = coasting(60);
  const auto lines = run(line, vehicle("1"), script + "60000 char 0\n61000 char r\n", 63000);
  const int warning = firstWhere(lines, "atspState", 1);
  const int braking = firstWhere(lines, "atspState", 3);
  ASSERT_GE(warning, 0);
  ASSERT_GT(braking, warning);
  const auto& at = lines[static_cast<std::size_t>(braking)];
  EXPECT_EQ(traceNumber(at, "atspTarget"), 10);
  EXPECT_EQ(traceNumber(at, "atsBrakeLatched"), 1);
  // The pattern at the distance the train had then.
  const double metres = traceNumber(at, "atspDistance") / 100;
  EXPECT_EQ(traceNumber(at, "atspP1"), std::nearbyint(std::sqrt(100 + 5.76 * 4.2 * (metres - 10)) - 4.2));
  EXPECT_GT(traceNumber(at, "speed"), traceNumber(at, "atspP1"));
  // Stopped short of the beacon, the brake stays until the driver resets it at a standstill in emergency.
  const auto& stopped = lines[590];
  EXPECT_EQ(traceNumber(stopped, "speed"), 0);
  EXPECT_GT(traceNumber(stopped, "atspDistance"), 0);
  EXPECT_EQ(traceNumber(stopped, "atsBrakeLatched"), 1);
  EXPECT_EQ(traceNumber(stopped, "atspState"), 3);
  EXPECT_EQ(traceNumber(lines.back(), "atsBrakeLatched"), 0);
  EXPECT_LT(traceNumber(lines.back(), "atspState"), 2);
}

TEST_F(ProtectionDrive, VigilanceWarnsAfterSixtySecondsAndBrakesFiveLater) {
  const std::string keys = "[EB]\n1\n";
  const auto lines = run(Line{}, vehicle("1", keys), coasting(50), 70000);
  ASSERT_EQ(lines.size(), 700u);
  EXPECT_EQ(traceNumber(lines[599], "idleTicks"), 600);
  EXPECT_EQ(traceNumber(lines[649], "emergencyLatched"), 0);
  EXPECT_EQ(traceNumber(lines[650], "emergencyLatched"), 1);
  EXPECT_EQ(traceNumber(lines[650], "idleTicks"), 0);
}

TEST_F(ProtectionDrive, AKeyOrTheAutoRunKeepsTheVigilanceDeviceQuiet) {
  const std::string keys = "[EB]\n1\n";
  const auto key = run(Line{}, vehicle("1", keys), coasting(50) + "62000 char 5\n", 70000);
  EXPECT_EQ(firstWhere(key, "emergencyLatched", 1), -1);
  const auto autoRun = run(Line{}, vehicle("1", keys), coasting(50) + "1000 key F1 shift\n5000 key F1\n", 70000);
  EXPECT_EQ(firstWhere(autoRun, "emergencyLatched", 1), -1);
  EXPECT_EQ(traceNumber(autoRun.back(), "vigilanceOff"), 1);
}

}  // namespace
}  // namespace vesk::sim
