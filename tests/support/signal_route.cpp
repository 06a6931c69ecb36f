#include "support/signal_route.h"

#include <cmath>

#include "data/track_positions.h"
#include "support/drive_fixture.h"

namespace vesk::test {

data::RouteData signalledRoute(int kilometres, double recordedSpeed) {
  data::RouteData r = levelRoute(kilometres, recordedSpeed);
  const double framesPerMetre = 30 / (recordedSpeed / 3.6);
  const auto frame = [&](double metres) { return static_cast<int>(std::lround(metres * framesPerMetre)); };
  r.signalSpeeds = {0, 25, 45, 65, 110};
  r.signalSpeedCount = 5;
  for (int km = 0; km <= kilometres && r.stationCount < data::kStationCapacity; km += 2) {
    data::StationRow& s = r.stations[static_cast<std::size_t>(r.stationCount++)];
    s.name = "S" + std::to_string(km);
    s.frame = frame(km * 1000.0 + 100);
    s.sectionSpeed = 100;
    s.atsBeacon = 1;
    s.platformHalfLength = 8000;
  }
  for (double at = 500; at < kilometres * 1000.0; at += 500) {
    data::SignalRow& s = r.signals[static_cast<std::size_t>(r.signalCount++)];
    s.headType = 4;
    s.visibleFrom = frame(at - 400);
    s.visibleTo = frame(at);
    s.atsPoint1 = frame(at - 200);
    s.atsPoint2 = frame(at - 30);
    s.mainX = 400;
    s.mainY = 100;
  }
  for (double at = 2500; at + 400 < kilometres * 1000.0; at += 3000) {
    data::SpeedLimitRow& l = r.speedLimits[static_cast<std::size_t>(r.speedLimitCount++)];
    l.limit = 60;
    l.signImage = 1;
    l.beaconKind = 1;
    l.frame = frame(at);
    l.endFrame = frame(at + 400);
    l.releaseImage = 2;
  }
  for (int i = 1; i < r.stationCount; ++i) {
    data::SpeedCheck1Row& c = r.speedChecks1[static_cast<std::size_t>(r.speedCheck1Count++)];
    c.limit = 45;
    c.frame = r.stations[static_cast<std::size_t>(i)].frame - frame(150);
  }
  for (double at = 3800; at < kilometres * 1000.0; at += 4000) {
    data::TrafficSignalRow& t = r.trafficSignals[static_cast<std::size_t>(r.trafficSignalCount++)];
    t.frameA = frame(at - 100);
    t.frameB = frame(at);
    t.showFrom = frame(at - 300);
    t.showTo = frame(at);
    t.lastFrame = frame(at);
    t.phases = {{{1, 300, 0}, {2, 30, 0}, {3, 200, 1}, {1, 0, 0}, {1, 0, 0}, {1, 0, 0}}};
    t.goPicture = 1;
    t.waitPicture = 2;
  }
  r.preTrainStart = frame(1000);
  r.preTrainParam = frame(kilometres * 1000.0 - 10);
  for (int i = 0; i < r.stationCount; ++i) {
    r.preTrains[static_cast<std::size_t>(r.preTrainCount++)] = {i, 80, 0};
  }
  data::computeTrackPositions(r);
  return r;
}

data::VehicleSpec protectedVehicle(bool atsS) {
  data::VehicleSpec v = testVehicle();
  v.atsType = atsS ? 0 : 1;
  v.atsTime = 5;
  v.vigilanceDevice = 1;
  v.soundAts1 = 1;
  v.soundAts2 = 2;
  v.soundAts3 = 3;
  v.soundAtc = 4;
  v.soundEbRing = 5;
  return v;
}

}  // namespace vesk::test
