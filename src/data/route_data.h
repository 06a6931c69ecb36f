// RouteData: every table of the line with its capacity and count, and the positions derived from them (cm).
// Positions in the route file are frames of the route video, 30 a second; the derived positions come from the
// "[SpeedUnit]" rows, the speeds at which the video was recorded.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/fixed.h"
#include "data/vehicle_spec.h"

namespace vesk::data {

using core::Fixed;

struct SpeedUnitRow {
  int frameFrom = 0;
  int frameTo = 0;
  double speedFrom = 0;  // km/h
  double speedTo = 0;
  std::int64_t endDistance = 0;  // derived: cm from the start of the line to the end of this row
};

struct StationRow {
  std::string name;
  int kind = 0;  // 0 stop, 1 pass, 2 stop of another kind, 3 special
  int frame = 0;
  int platformHalfLength = 0;  // cm
  int arrivalSound = 0;
  int departureSound = 0;
  int ambientSound = 0;
  int departureTime = 0;  // 1/30 s
  int sectionSpeed = 0;
  int atsBeacon = 0;
  int doorSide = 0;
  std::array<int, 3> values12to14{};
  int doorSoundChance = 0;
  std::int64_t position = 0;  // derived: the stopping mark, cm
  std::int64_t platformStart = 0;
  std::int64_t platformEnd = 0;
};

struct SignalRow {
  int controlKind = 0;
  int sub0Pattern = 0;
  int calloutNumber = 0;
  int headType = 0;
  int visibleFrom = 0;
  int visibleTo = 0;
  int atsPoint1 = 0;
  int atsPoint2 = 0;
  int fixedAspect = 0;
  int timeLimit = 0;
  int stationIndex = 0;
  int mainX = 0;
  int mainY = 0;
  int sub1Pattern = 0;
  int sub1X = 0;
  int sub1Y = 0;
  int sub2Pattern = 0;
  int sub2X = 0;
  int sub2Y = 0;
  int sub0X = 0;
  int sub0Y = 0;
  int value22 = 0;
};

struct SlopeRow {
  Fixed gradient;  // per mil, + rising
  int frameFrom = 0;
  int frameTo = 0;
};

struct SpeedLimitRow {
  int limit = 0;
  int signImage = 0;
  int beaconKind = 0;
  int frame = 0;
  int endFrame = 0;
  int releaseImage = 0;
  std::int64_t position = 0;  // derived, of frame
};

struct SpeedCheck1Row {
  int limit = 0;
  int value2 = 0;
  int frame = 0;
  int signalLink = 0;
  std::int64_t position = 0;  // derived, of frame
};

struct SpeedCheck2Row {
  int limit = 0;
  int value2 = 0;
  int frameFrom = 0;
  int frameTo = 0;
};

struct TunnelRow {
  int frameFrom = 0;
  int frameTo = 0;
  int overlayLevel = 0;
  std::int64_t positionFrom = 0;  // derived, cm
  std::int64_t positionTo = 0;
};

struct TimetableRow {
  int frameFrom = 0;
  int frameTo = 0;
  int checkTime = 0;
};

struct SwitchRow {
  int frame = 0;
  int kind = 0;
};

struct MovieSwitchRow {
  int kind = 0;
  int frameFrom = 0;
  int frameTo = 0;
  std::string videoName;
  int length = 0;
  int done = 0;
  int target = 0;     // kind 2: the station whose stop the train takes; otherwise the frame the route video resumes at
  int startTime = 0;  // kind 2: the clock after which the video may start
  int value9 = 0;
};

struct PreTrainRow {
  int station = 0;
  int speed = 0;
  int departureClock = 0;
};

struct AtsBeacon {
  std::int64_t position = 0;
  int speed = 0;
  int signalIndex = 0;
  int stationIndex = 0;
  int kind = 0;  // 2 signal, 3 station stop, a limit's beaconKind
};

struct AnnounceRow {
  int sound = 0;
  int side = 0;  // 0 after, 1 before the station
  int station = 0;
  int distance = 0;  // m
};

struct TrackSoundRow {
  int sound = 0;
  int frameFrom = 0;
  int frameTo = 0;
  int refSpeed = 0;
  int mode = 0;
  int pitchFollowsSpeed = 0;
  int levelFollowsSpeed = 0;
  int triggerKind = 0;
};

struct TrackSound2Row {
  int sound = 0;
  int fromStation = 0;
  int toStation = 0;
};

struct DopplerRow {
  int sound = 0;
  int frame = 0;
  int range = 0;  // cm
  int plainPitch = 0;
  int stationFlag = 0;
  std::int64_t position = 0;  // derived, of frame
};

struct AttenuationRow {
  int frameFrom = 0;
  int frameTo = 0;
  int value3 = 0;
  int level = 0;  // percent
};

struct TrafficSignalPhase {
  int picture = 0;
  int duration = 0;  // ticks
  int stopFlag = 0;
};

struct TrafficSignalRow {
  int frameA = 0;
  int showFrom = 0;
  int showTo = 0;
  std::array<TrafficSignalPhase, 6> phases{};
  int frameB = 0;
  int lastFrame = 0;
  int goPicture = 0;
  int waitPicture = 0;
  int value26 = 0;
  std::int64_t positionA = 0;  // derived
  std::int64_t positionB = 0;
};

struct SignRow {
  int pattern = 0;
  int frameFrom = 0;
  int frameTo = 0;
  int switchTime = 0;
};

struct AnimRow {
  int frameFrom = 0;
  int frameTo = 0;
  int stepTicks = 0;
  int firstPicture = 0;
};

struct SignalCalloutRow {
  int signal = 0;
  int event = 0;
  int callout = 0;
};

struct StationCalloutRow {
  int station = 0;
  int event = 0;
  int callout = 0;
};

struct CrossingRow {
  int picture = 0;
  int value2 = 0;
  int frameOn = 0;
  int frameOff = 0;
  int stationFlag = 0;
};

inline constexpr int kSpeedUnitCapacity = 501;
inline constexpr int kStationCapacity = 501;
inline constexpr int kSignalCapacity = 501;
inline constexpr int kSignalSpeedCapacity = 11;
inline constexpr int kSlopeCapacity = 501;
inline constexpr int kSpeedLimitCapacity = 501;
inline constexpr int kSpeedCheckCapacity = 501;
inline constexpr int kTunnelCapacity = 501;
inline constexpr int kTimetableCapacity = 100;
inline constexpr int kSwitchCapacity = 501;
inline constexpr int kMovieStopCapacity = 100;
inline constexpr int kMovieSwitchCapacity = 100;
inline constexpr int kStafSwitchCapacity = 10;
inline constexpr int kPreTrainCapacity = 999;
inline constexpr int kAtsBeaconCapacity = 501;
inline constexpr int kSoundDataCapacity = 100;
inline constexpr int kAnnounceCapacity = 499;  // rows are stored from index 1
inline constexpr int kCallout1Count = 22;
inline constexpr int kCallout2Capacity = 479;
inline constexpr int kTrackSoundCapacity = 501;
inline constexpr int kDopplerCapacity = 500;
inline constexpr int kAttenuationCapacity = 501;
inline constexpr int kStopSoundCapacity = 501;
inline constexpr int kTrafficSignalCapacity = 501;
inline constexpr int kSignCapacity = 501;
inline constexpr int kAnimCapacity = 501;
inline constexpr int kCalloutRowCapacity = 501;
inline constexpr int kCalloutFileCapacity = 1000;
inline constexpr int kCrossingCapacity = 1000;

struct RouteData {
  std::string lineName;
  std::string lineName2;
  int startFrame = 0;
  int frameRate = 0;
  std::array<std::string, 3> stafImages{};
  Fixed friction;  // base adhesion coefficient
  std::string dataName;
  double perspective = 0;
  int perspectiveBase = 0;
  int oneMan = 0;
  int tunnelResistance = 0;

  std::array<SpeedUnitRow, kSpeedUnitCapacity> speedUnits{};
  int speedUnitCount = 0;
  std::array<StationRow, kStationCapacity> stations{};
  int stationCount = 0;
  std::array<SignalRow, kSignalCapacity> signals{};
  int signalCount = 0;
  std::array<int, kSignalSpeedCapacity> signalSpeeds{};
  int signalSpeedCount = 0;
  std::array<SlopeRow, kSlopeCapacity> slopes{};
  int slopeCount = 0;
  std::array<SpeedLimitRow, kSpeedLimitCapacity> speedLimits{};
  int speedLimitCount = 0;
  std::array<SpeedCheck1Row, kSpeedCheckCapacity> speedChecks1{};
  int speedCheck1Count = 0;
  std::array<SpeedCheck2Row, kSpeedCheckCapacity> speedChecks2{};
  int speedCheck2Count = 0;
  std::array<TunnelRow, kTunnelCapacity> tunnels{};
  int tunnelCount = 0;
  std::array<TimetableRow, kTimetableCapacity> timetable{};
  int timetableCount = 0;
  std::array<SwitchRow, kSwitchCapacity> switches{};
  int switchCount = 0;
  std::array<int, kMovieStopCapacity> movieStops{};
  int movieStopCount = 0;  // rows read; without any the line has no barrier
  std::array<MovieSwitchRow, kMovieSwitchCapacity> movieSwitches{};
  int movieSwitchCount = 0;
  int stafSwitchStart = 0;  // the first "[StafSwitch]" line
  std::array<int, kStafSwitchCapacity> stafSwitches{};
  int stafSwitchCount = 0;
  int preTrainStart = 0;
  int preTrainParam = 0;
  std::array<PreTrainRow, kPreTrainCapacity> preTrains{};
  int preTrainCount = 0;
  std::array<AtsBeacon, kAtsBeaconCapacity> atsBeacons{};
  int atsBeaconCount = 0;

  // Track-side objects and sounds.
  std::array<std::string, kSoundDataCapacity> soundDataFiles{};
  int soundDataCount = 0;
  std::array<int, kSoundDataCapacity> soundDataLengths{};  // whole seconds, measured when the sounds load
  int stopAnnounceSound = 0;
  std::array<AnnounceRow, kAnnounceCapacity> announcements{};  // from index 1
  int announceCount = 0;
  std::array<std::string, kCallout1Count> calloutFiles1{};
  std::array<std::string, kCallout2Capacity> calloutFiles2{};  // call-out slot 22 + k, number k
  int calloutCount2 = 0;  // 22 + the rows of "[KankoSound2]" once that section is read, else 0
  std::array<TrackSoundRow, kTrackSoundCapacity> trackSounds{};
  int trackSoundCount = 0;
  std::array<TrackSound2Row, kTrackSoundCapacity> trackSounds2{};
  int trackSound2Count = 0;
  std::array<DopplerRow, kDopplerCapacity> dopplerSounds{};
  int dopplerCount = 0;
  std::array<AttenuationRow, kAttenuationCapacity> attenuations{};
  int attenuationCount = 0;
  std::array<int, kStopSoundCapacity> stopSounds{};
  int stopSoundCount = 0;
  std::array<TrafficSignalRow, kTrafficSignalCapacity> trafficSignals{};
  int trafficSignalCount = 0;
  std::array<SignRow, kSignCapacity> signs{};
  int signCount = 0;
  std::array<AnimRow, kAnimCapacity> anims{};
  int animCount = 0;
  std::array<SignalCalloutRow, kCalloutRowCapacity> signalCallouts{};
  int signalCalloutCount = 0;
  std::array<StationCalloutRow, kCalloutRowCapacity> stationCallouts{};
  int stationCalloutCount = 0;
  std::array<std::string, kCalloutFileCapacity> otherCalloutFiles{};
  int otherCalloutCount = 0;
  std::array<std::string, kCalloutFileCapacity> limitCalloutFiles{};
  int limitCalloutCount = 0;
  std::array<CrossingRow, kCrossingCapacity> crossings{};
  int crossingCount = 0;
  PatternImage monitorImage;
  int signalOffsetX = 0;
  int signalOffsetY = 0;
  int animImageCount = 0;
};

}  // namespace vesk::data
