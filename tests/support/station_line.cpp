#include "support/station_line.h"

#include "data/track_positions.h"

namespace vesk::test {

data::VehicleSpec stationVehicle() {
  data::VehicleSpec v = testVehicle();
  v.driveSoundCount = kDriveSounds;
  v.powerType = 1;
  v.soundDoorOpen = kDoorOpenChannel;
  v.soundDoorClose = kDoorCloseChannel;
  v.soundDepartureSignal = kDepartureSignalChannel;
  v.soundStop = kStopWarningChannel;
  v.powerNotches = 5;
  for (int i = 0; i < 5; ++i) v.notchRows[static_cast<std::size_t>(i)] = {2.5, 2.5, 40, 60, 0.97, 0};
  v.notchRowCount = 5;
  return v;
}

data::RouteData stationLine(const std::vector<StationSpec>& stations, int oneMan) {
  data::RouteData r = levelRoute(10, 60);
  r.oneMan = oneMan;
  for (std::size_t i = 0; i < stations.size(); ++i) {
    const StationSpec& s = stations[i];
    data::StationRow& row = r.stations[i];
    row.name = s.name;
    row.kind = s.kind;
    row.frame = s.frame;
    row.platformHalfLength = kPlatformHalfLength;
    row.arrivalSound = kArrivalSound;
    row.departureSound = kDepartureSound;
    row.ambientSound = kPlatformSound;
    row.departureTime = s.departureTime;
    row.sectionSpeed = 60;
    row.doorSide = s.doorSide;
    row.doorSoundChance = s.doorChance;
  }
  r.stationCount = static_cast<int>(stations.size());
  r.soundDataCount = kEnvironmentSounds;
  for (int i = 0; i < kEnvironmentSounds; ++i) {
    r.soundDataFiles[static_cast<std::size_t>(i)] = "env" + std::to_string(i) + ".wav";
    r.soundDataLengths[static_cast<std::size_t>(i)] = kSoundSeconds[i];
  }
  r.stopAnnounceSound = kOverrunSound;
  data::computeTrackPositions(r);
  return r;
}

std::shared_ptr<const media::Wave> silentWave(double seconds) {
  auto wave = std::make_shared<media::Wave>();
  wave->sampleRate = 1000;
  wave->channels = 1;
  wave->frames = static_cast<std::int64_t>(seconds * 1000);
  wave->samples.assign(static_cast<std::size_t>(wave->frames), 0);
  return wave;
}

void loadCallOutWaves(DriveFixture& f, int otherCount, int limitCount, int kankoSound2Count) {
  data::RouteData& r = f.route;
  sim::CallOutWaves& w = f.drive.callOutWaves;
  for (int i = 0; i < data::kCallout1Count; ++i) {
    r.calloutFiles1[static_cast<std::size_t>(i)] = "k" + std::to_string(i) + ".wav";
    w.CallOutSounds[static_cast<std::size_t>(i)] = silentWave(1);
  }
  r.calloutCount2 = kankoSound2Count > 0 ? data::kCallout1Count + kankoSound2Count : 0;
  for (int k = 0; k < kankoSound2Count; ++k) {
    r.calloutFiles2[static_cast<std::size_t>(k)] = "k" + std::to_string(data::kCallout1Count + k) + ".wav";
    w.CallOutSounds[static_cast<std::size_t>(data::kCallout1Count + k)] = silentWave(1);
  }
  r.otherCalloutCount = otherCount;
  w.OtherCallOutSounds.clear();
  for (int i = 0; i < otherCount; ++i) {
    r.otherCalloutFiles[static_cast<std::size_t>(i)] = "other" + std::to_string(i) + ".wav";
    w.OtherCallOutSounds.push_back(silentWave(1));
  }
  r.limitCalloutCount = limitCount;
  w.LimitCallOutSounds.clear();
  for (int i = 0; i < limitCount; ++i) {
    r.limitCalloutFiles[static_cast<std::size_t>(i)] = "limit" + std::to_string(i) + ".wav";
    w.LimitCallOutSounds.push_back(silentWave(1));
  }
  f.drive.soundLayout.calloutCounter = r.calloutCount2;
}

std::unique_ptr<DriveFixture> stationDrive(const std::vector<StationSpec>& stations, int oneMan,
                                           data::VehicleSpec vehicle) {
  return stationDrive(stationLine(stations, oneMan), std::move(vehicle));
}

std::unique_ptr<DriveFixture> stationDrive(data::RouteData line, data::VehicleSpec vehicle) {
  auto f = makeDrive(std::move(vehicle), std::move(line));
  data::UiStrings& t = f->strings;
  t.stopText = "停車";
  t.passText = "通過";
  t.stop2Text = "運転停車";
  t.infoLabels[0] = "次は 臨時停車";
  t.infoLabels[1] = "ドアを閉めてください";
  t.infoLabelCount = 2;
  sim::Drive& d = f->drive;
  d.soundLayout.driveSoundCount = kDriveSounds;
  d.soundLayout.soundDataCount = kEnvironmentSounds;
  for (int channel = 0; channel < kDriveSounds; ++channel) {
    f->sounds.bind_wave(channel, silentWave(channel == kDepartureSignalChannel ? 1 : kDoorSoundSeconds));
  }
  for (int i = 0; i < kEnvironmentSounds; ++i) f->sounds.bind_wave(kDriveSounds + i, silentWave(kSoundSeconds[i]));
  loadCallOutWaves(*f, 0, 0);
  return f;
}

void standAt(DriveFixture& f, int frame) {
  sim::TrainState& s = f.drive.state;
  s.frame = frame;
  s.position = static_cast<double>(data::framePosition(f.route, frame).value_or(0));
  s.speed = 0;
  s.frameSpeed = 60;  // the line's recorded speed
  s.frameAccumulator = 0;
  f.drive.control.brakeHandle = 0;
  s.brakeNotch = 0;
  s.bcMotor = {};
  s.bcTrailer = {};
}

}  // namespace vesk::test
