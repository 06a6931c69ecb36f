#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "vesk_check/protection_check.h"

namespace vesk::tools {
namespace {

bool has(const std::vector<std::string>& findings, const std::string& text) {
  return std::find(findings.begin(), findings.end(), text) != findings.end();
}

// Two stations, two signals and a five-speed list: nothing to report.
data::RouteData soundRoute() {
  data::RouteData r;
  r.stationCount = 2;
  r.signalSpeeds = {0, 25, 45, 65, 110};
  r.signalSpeedCount = 5;
  r.signals[0].headType = 2;
  r.signals[1].headType = 6;  // ATC reads speeds 0-3 for its pictures 22-25
  r.signalCount = 2;
  r.preTrainStart = 100;
  r.preTrainParam = 9000;
  r.preTrains[0] = {0, 60, 0};
  r.preTrains[1] = {1, 60, 900};
  r.preTrainCount = 2;
  return r;
}

TEST(ProtectionCheck, ASoundRouteHasNoFindings) { EXPECT_TRUE(protectionFindings(soundRoute()).empty()); }

TEST(ProtectionCheck, RowsNamingWhatTheLineLacksAreReported) {
  data::RouteData r = soundRoute();
  r.signals[0].controlKind = 3;
  r.signals[0].stationIndex = 5;
  r.signals[0].fixedAspect = 6;
  r.signals[1].headType = 12;
  r.speedChecks1[0].signalLink = 4;
  r.speedCheck1Count = 1;
  r.speedLimits[0].beaconKind = 2;
  r.speedLimits[1].beaconKind = 7;
  r.speedLimitCount = 2;
  r.preTrains[1].station = 9;
  r.signals[2] = {};
  r.signals[2].headType = 4;
  r.signals[2].visibleFrom = 1000;
  r.signals[2].visibleTo = 1500;
  r.signals[2].atsPoint1 = 900;
  r.signals[2].atsPoint2 = 1450;
  r.signalCount = 3;
  const auto f = protectionFindings(r);
  EXPECT_TRUE(has(f, "[Signal] row 1: fixed aspect 6 is outside 0-4 (the [Speed_Signal] list): the nearest is shown"));
  EXPECT_TRUE(has(f, "[Signal] row 1: waits for the departure of station 5, which the line does not have: the signal "
                     "works automatically"));
  EXPECT_TRUE(has(f, "[Signal] row 2: head type 12 is not one of 0-9 (-1 and 0: no signal): it shows no picture"));
  EXPECT_TRUE(has(f, "[SpeedCheck1] row 1: links signal 4, which the line does not have: the check never applies"));
  EXPECT_TRUE(has(f, "[SpeedLimit] row 1: ATS-P beacon kind 2 is a signal's beacon, but a limit names no signal: "
                     "ATS-P reads the first signal"));
  EXPECT_TRUE(has(f, "[SpeedLimit] row 2: ATS-P beacon kind 7 is not 1 (limit), 2 (signal) or 3 (station): ATS-P "
                     "ignores it"));
  EXPECT_TRUE(has(f, "[Pre_Train] row 2: station 9 is not on the line: the row is not used"));
  EXPECT_TRUE(has(f, "[Signal] row 3: ATS point 1 (frame 900) is outside the frames the signal is in view "
                     "(1000-1500): ATS-S reads no picture of it there"));
  EXPECT_EQ(f.size(), 8u);
}

TEST(ProtectionCheck, ShortListsAndAnEmptyPrecedingTrain) {
  data::RouteData r = soundRoute();
  r.signalSpeedCount = 3;
  r.signals[1].headType = 7;
  r.preTrainCount = 0;
  auto f = protectionFindings(r);
  EXPECT_TRUE(has(f, "[Speed_Signal] has 3 speeds: ATS-P takes the line's pattern from the fifth (the last is used)"));
  // A head type 7 signal at stop shows picture 26: ATC reads the fifth speed.
  EXPECT_TRUE(has(f, "[Signal] row 2: picture 26 needs [Speed_Signal] entry 5 for ATC, which the list does not have: "
                     "ATC checks nothing there"));
  EXPECT_TRUE(has(f, "[Pre_Train] has no rows: the line has no preceding train"));
  r.signalSpeedCount = 0;
  f = protectionFindings(r);
  EXPECT_TRUE(has(f, "[Speed_Signal] has no speeds: every signal shows stop"));
}

}  // namespace
}  // namespace vesk::tools
