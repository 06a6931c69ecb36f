// VehicleSpec: every parameter of the driven train, as the vehicle definition file gives it. Read-only once
// loaded (apart from the post-load corrections). Tables are fixed-capacity arrays filled from row 0.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/fixed.h"

namespace vesk::data {

using core::Fixed;

// A strip (or grid) of equal pictures of which one is shown at a time.
struct PatternImage {
  int x = 0;
  int y = 0;
  int patternWidth = 0;
  int patternHeight = 0;
  std::string file;  // as written in the data file (UTF-8); empty: no picture
};

struct PanelImage {
  std::string file;
  int x = 0;
  int y = 0;
};

// A needle or a linear gauge of the cab panel. Which values a key fills is listed with the reading rules; the
// panel decides their meaning (x, y, then for dial needles two unused values, the angle offset and the scales).
struct NeedleSpec {
  std::string file;
  int x = 0;
  int y = 0;  // the base line Yb of a linear gauge
  int value3 = 0;
  int value4 = 0;
  int offset = 0;
  double scale = 0;
  double scale2 = 0;    // speed needle: scale below 10 km/h
  int ammeterMode = 0;  // ammeter only
};

struct ClockSpec {
  int x = 0;
  int y = 0;
  int radius = 0;
};

struct SwitchSoundRow {
  int sound = 0;
  int speedBelow = 0;
  int switchKind = 0;
};

struct EngineRateRow {
  int baseRpm = 0;
  double ratio = 0;
};

struct NotchRow {
  double startAccel = 0;
  double accelAtV1 = 0;
  int rampEndSpeed = 0;
  int decayStartSpeed = 0;
  double decayExponent = 0;
  int mode = 0;
};

struct CurrentPRow {
  int minNotch = 0;
  double currentFactor = 0;
  double speedOffset = 0;
  int spare = 0;
};

struct CurrentBRow {
  double slope = 0;
  double speedOffset = 0;
  int spare = 0;
};

struct GearRow {
  int vFrom = 0;
  int vMid = 0;
  int vTo = 0;
  double forceFrom = 0;
  double forceMid = 0;
  double forceTo = 0;
};

struct PowerModeRow {
  std::string notchLabel;
  std::string modeName;
};

struct EngineSound1Row {
  std::string file;
  int channelParam = 0;
  std::array<double, 9> p{};  // p1 .. p9
};

struct EngineSound3Row {
  std::string file;
  int q1 = 0;
  int q2 = 0;
  std::array<double, 6> r{};  // r1 .. r6
};

// Capacities: a file giving more rows is refused.
inline constexpr int kMaxBrakeNotches = 10;
inline constexpr int kMaxPowerNotches = 11;
inline constexpr int kSwitchSoundCapacity = 501;
inline constexpr int kEngineRateCapacity = 9;
inline constexpr int kNotchRowCapacity = 11;
inline constexpr int kPowerModeStartCapacity = 10;
inline constexpr int kCurrentPCapacity = 100;
inline constexpr int kBrakeCurrentCapacity = 10;
inline constexpr int kCurrentBCapacity = 100;
inline constexpr int kGearCapacity = 11;
inline constexpr int kPowerModeCapacity = 10;
inline constexpr int kEngineSoundCapacity = 100;
inline constexpr int kDriveSoundCapacity = 100;
inline constexpr int kCabSignalSpeedCapacity = 12;
inline constexpr int kOtherImageCapacity = 11;

struct VehicleSpec {
  // Handles and brakes.
  int handleLayout = 0;
  int brakeType = 0;
  int brakeForceMode = 0;
  int brakeNotches = 0;
  int powerNotches = 0;
  int notchBack = 0;
  int holdMode = 0;
  int pullMode = 0;
  int constSpeedMode = 0;
  int backMode = 0;
  std::array<Fixed, 3> brakeRate{};
  double brakeRate2 = 0;
  int powerDelay = 0;
  int brakeDelay = 0;
  int elecBrakeDelay = 0;
  int powerJerk = 0;
  int sapDelay = 0;
  int brakeUpRate = 0;
  int brakeDownRate = 0;
  int sapUpRate = 0;
  int sapDownRate = 0;
  int elecBrakeUpRate = 0;
  int elecBrakeDownRate = 0;
  int elecBrakeMaxCurrent = 0;
  int bpReturnRate = 0;
  int maxPressure = 0;
  int ebPressure = 0;
  int sapPressure = 0;
  int mrHighPressure = 0;
  int mrLowPressure = 0;
  // Traction and the train.
  int engineType = 0;
  int doorLock = 0;
  int powerType = 0;
  int elecBrakeType = 0;
  int doorType = 0;
  Fixed motorCarMass;
  Fixed trailerMass;
  Fixed controlTrailerMass;
  int cars = 0;
  Fixed trainMass;
  int vigilanceDevice = 0;
  int maxSpeed = 0;
  int elecBrakeFadeSpeed = 0;
  int elbr = 0;
  int mc = 0;
  int atsType = 0;
  int atsAlertMode = 0;
  int atsTime = 0;
  int atsChimeMode = 0;
  int gearType = 0;
  Fixed hornAirFlow;

  // Sound channels. The 1-based tables leave element 0 unused, so that element i belongs to notch i.
  std::array<int, kMaxBrakeNotches + 1> soundBrakeStep{};
  std::array<int, kMaxBrakeNotches + 1> soundBrakeRelease{};
  std::array<int, kMaxBrakeNotches + 1> soundBrakeApply{};  // from 0
  std::array<int, kMaxPowerNotches + 1> soundPowerApply{};
  std::array<int, kMaxPowerNotches + 1> soundPowerRelease{};
  int soundEmergency = 0;
  int soundApply = 0;
  int soundApplyRelease = 0;
  int soundAts1 = 0;
  int soundAts2 = 0;
  int soundAts3 = 0;
  int soundAtc = 0;
  int soundHorn = 0;
  int soundHorn2 = 0;
  int soundHorn3 = 0;
  std::array<int, 5> soundHorn4{};
  int soundDoorOpen = 0;
  int soundDoorClose = 0;
  int soundEbRing = 0;
  int soundSqueak = 0;
  int soundCompressorStart = 0;
  int soundCompressorRun = 0;
  int soundCompressorEnd = 0;
  int soundStop = 0;
  int soundBuzzer = 0;
  int soundDepartureSignal = 0;
  int soundAtsWarn = 0;

  // Tables. Tables without a count of their own keep the number of rows read in a *Count field of ours.
  std::array<SwitchSoundRow, kSwitchSoundCapacity> switchSounds{};
  int switchSoundCount = 0;
  std::array<EngineRateRow, kEngineRateCapacity> engineRates{};
  int engineRateCount = 0;
  std::array<NotchRow, kNotchRowCapacity> notchRows{};
  int notchRowCount = 0;
  std::array<int, kPowerModeStartCapacity> notchModeStart{};
  int currentPLimit = 0;
  double currentPAccel = 0;
  double currentPSpeed = 0;
  std::array<CurrentPRow, kCurrentPCapacity> currentPRows{};
  int currentPCount = 0;
  std::array<int, kBrakeCurrentCapacity> brakeCurrent{};
  int brakeCurrentCount = 0;
  std::array<CurrentBRow, kCurrentBCapacity> currentBRows{};
  int currentBCount = 0;
  std::array<GearRow, kGearCapacity> gears{};
  int gearCount = 0;
  std::array<PowerModeRow, kPowerModeCapacity> powerModes{};
  int powerModeCount = 0;
  std::array<EngineSound1Row, kEngineSoundCapacity> engineSounds1{};
  int engineSound1Count = 0;
  std::array<int, 4> engineSound2{};
  std::array<EngineSound3Row, kEngineSoundCapacity> engineSounds3{};
  int engineSound3Count = 0;
  std::array<std::string, kDriveSoundCapacity> driveSoundFiles{};
  int driveSoundCount = 0;
  std::array<int, kCabSignalSpeedCapacity> cabSignalSpeeds{};
  int cabSignalSpeedCount = 0;
  std::array<PanelImage, kOtherImageCapacity> otherImages{};
  int otherImageCount = 0;

  // Cab panel.
  ClockSpec clock;
  PanelImage panel;
  PanelImage panel2;
  PanelImage lampDoor, lampPower, lampEB, lampGen, lampAir, lampFin, lampEle, lampAts1, lampAts2, lampATSP1, lampATSP2;
  PanelImage lampG, lampYG, lampY, lampYY, lampR, lampFwd, lampBack, lampConst, lampStop;
  NeedleSpec needleSpeed, needleBC, needleBCL, needleSAP, needleER, needleBP, needleMR, needleMRL, needleV, needleI;
  PatternImage lampSignal, notchImageP, notchImageB, notchImageP2, notchImageB2, gearImageList, gearImageList2,
      digiSpeed;
};

}  // namespace vesk::data
