// TrainState: the dynamic state of the train, owned by the control step and the tick. Every field starts at
// zero unless the start of the drive says otherwise.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/fixed.h"

namespace vesk::sim {

using core::Fixed;

inline constexpr int kMaxGradientSamples = 30;
// "None" in signal, limit, ATS and call-out state.
inline constexpr int kNone = 999;
// Level crossings waiting for their call-out; -1 marks an empty entry.
inline constexpr int kCrossingQueueSize = 11;
constexpr std::array<std::int32_t, kCrossingQueueSize> emptyCrossingQueue() {
  std::array<std::int32_t, kCrossingQueueSize> queue{};
  queue.fill(-1);
  return queue;
}

struct TrainState {
  // Motion.
  double speed = 0;     // km/h, negative while rolling backwards
  double position = 0;  // cm along the line
  std::int32_t frame = 0;
  std::int32_t frameAccumulator = 0;  // km/h x steps towards the next frame advance
  std::int32_t frameRemainder = 0;
  std::int32_t frameSpeed = 0;     // recorded speed of the video at the current frame, km/h
  std::int32_t speedUnitRow = -1;  // "[SpeedUnit]" row of the last frame-speed lookup; -1 none yet
  double stepDistance = 0;
  double distanceToStop = 0;
  double targetPosition = 0;
  std::int32_t clock = 0;  // 1/30 s since midnight
  std::int32_t tickCount = 0;

  // Forces of the current tick.
  Fixed tractiveForce;
  Fixed brakeForce;
  Fixed resistForce;
  Fixed predictedSpeed;
  Fixed brakeFrictionFactor;
  Fixed adhesion;
  Fixed adhesionLimit;
  std::string adhesionText;  // "空転" while the wheels spin, "滑走" while they slide

  // Gradient and tunnels.
  Fixed gradient;  // average over the train, per mil
  Fixed headGradient;
  std::array<std::int32_t, kMaxGradientSamples> gradientSamples{};
  double gradientSamplePosition = 0;
  std::uint8_t inTunnel = 0;
  std::int32_t tunnelDepth = 0;

  // Notches in effect after the handle delays, and the brakes.
  std::int32_t powerNotch = 0;
  std::int32_t brakeNotch = 0;
  std::int32_t sapNotch = 0;
  std::int32_t elecBrakeNotch = 0;
  std::int32_t brakeDelayCount = 0;
  std::int32_t sapDelayCount = 0;
  std::int32_t elecBrakeDelayCount = 0;
  Fixed bcMotor;
  Fixed bcTrailer;
  double elecBrakeCurrent = 0;
  std::uint8_t emergencyLatched = 0;
  std::uint8_t atsBrakeLatched = 0;

  // Traction.
  std::int32_t powerDelayCount = 0;
  std::int32_t motorCurrent = 0;  // A, current-driven model
  std::int32_t resistorStep = 0;
  std::int32_t ammeter = 0;  // A, or 50 x km/h/s in the notch-table model; negative while braking electrically
  Fixed tractiveForceCopy;
  Fixed lineVoltage;
  Fixed lineVoltageTarget;
  std::int32_t engineRunning = 0;  // diesel: 1 running, 0 stopped, -1 starting, -2 stopping; electric trains 1
  std::int32_t engineSwitchTicks = 0;
  double engineRpm = 0;          // panel units: idle 30, free revving 95
  std::int32_t engagedGear = 0;  // gear in use (0 neutral); the lever is ControlState::gear
  std::int32_t shiftState = 0;   // 0 none, 1 engaging the lever's gear, 2 going to neutral
  std::int32_t shiftTicks = 0;
  std::uint8_t notchingLamp = 0;  // resistor notching in progress ("[Lamp_Fin]")

  // Air brakes (kPa) and the electric brake.
  Fixed er;       // equalizing reservoir
  Fixed mr;       // main reservoir
  Fixed sap;      // straight air pipe
  double bp = 0;  // brake pipe
  double feedPressure = 0;
  std::int32_t elecBrakeStep = 0;
  std::uint8_t compressorOn = 0;
  // Brake sounds play once and are armed again by the rules of each sound.
  std::uint8_t brakeStepSoundArmed = 1;
  std::uint8_t brakeReleaseSoundArmed = 1;
  std::uint8_t emergencySoundArmed = 1;
  std::int32_t squeakVolume = -10000;

  // The four-part horn.
  std::int32_t hornStart = 0;  // clock when the last horn segment began
  Fixed hornAir;               // the horn's dip of the main reservoir needle (0 or below, never below -mr)
  Fixed hornAirRecovery;       // the step by which the dip closes after the horn is released

  // Doors and stops.
  std::uint8_t doorOpenCommanded = 0;
  std::uint8_t doorsNotClosed = 0;
  std::int32_t doorChanceRoll = 0;    // 0-99, drawn on entering a platform
  std::uint8_t departurePending = 0;  // set on arrival; the first power notch after the doors close clears it

  // Train protection state the handles act on.
  std::int32_t atsSpeedCode = kNone;
  std::uint8_t atsAlarm = 0;
  std::uint8_t atsConfirmed = 0;
  std::uint8_t atsAcknowledged = 0;
  std::int32_t atsAlarmTicks = 0;
  std::int32_t shownSignalImage = kNone;
  std::int32_t lastSignalImage = kNone;
  std::int32_t shownSignalCallout = kNone;

  // Signals and train protection.
  // The preceding train: its frame (0: none), the speed of its timetable row, and its own frame advance.
  std::int32_t precedingFrame = 0;
  std::int32_t precedingSpeed = 0;  // km/h
  std::int32_t precedingFrameSpeed = 0;
  std::int32_t precedingAccumulator = 0;
  std::int32_t precedingSpeedUnitRow = -1;  // "[SpeedUnit]" row of its last frame-speed lookup
  std::int32_t atsAlarmCode = kNone;        // the ATS-S code the bell started ringing for
  // ATS-P: state 0 clear, 1 pattern warning, 2 and 3 braking; the target found ahead (km/h, 999 none), its
  // distance (cm, 0 when no beacon is near), the braking pattern P1 and the warning pattern P2 (km/h) and the
  // beacon that gave the target (-1 none).
  std::int32_t atspState = 0;
  std::int32_t atspPrevState = 0;
  std::int32_t atspTarget = kNone;
  double atspDistance = 0;
  std::int32_t atspP1 = kNone;
  std::int32_t atspP2 = kNone;
  std::int32_t atspBeacon = -1;
  std::uint8_t atcLatched = 0;
  // The speed-limit sign: blinking while a limit ahead is announced; the release sign shown after a limit.
  std::uint8_t limitBlink = 0;
  std::uint8_t limitUpcoming = 0;
  std::int32_t shownLimitSpeed = kNone;
  std::int32_t shownLimitImage = kNone;
  // The next three "[SpeedLimit]" rows ahead and the next three "[SpeedCheck1]" rows ahead that apply: speed
  // (km/h, 999 none), distance (m, to the nearest metre) and whether the train is within its warning distance.
  std::array<std::int32_t, 3> upcomingLimitSpeeds{kNone, kNone, kNone};
  std::array<std::int32_t, 3> upcomingLimitMetres{};
  std::array<std::int32_t, 3> upcomingLimitWarned{};
  std::array<std::int32_t, 3> upcomingCheckSpeeds{kNone, kNone, kNone};
  std::array<std::int32_t, 3> upcomingCheckMetres{};
  std::array<std::int32_t, 3> upcomingCheckWarned{};
  // 1 once auto-run or the resistance switch has been used: the vigilance device stays off for the drive.
  std::uint8_t vigilanceOff = 0;

  // Stations, doors and the timetable clock.
  std::int32_t stationEvent = 0;       // clock at arrival, later at the start of the departure announcement
  std::int32_t departureCount = 0;     // departures made (the doors shut and the departure signal given)
  std::uint8_t doorPilotDark = 0;      // the door pilot lamp's state, kept whether or not the panel has the lamp
  std::int32_t overrunAnnounced = -1;  // departureCount at the last overrun announcement; -1 none
  std::int32_t clockSecond = -1;       // the clock's whole second last written to clockText; -1 none yet
  std::uint8_t runEnded = 0;
  std::string nextStationText;
  std::string stationText;
  std::string fromStationText;
  std::string toStationText;
  std::string clockText;
  // Call-out items the tick finds pending, answered by Enter.
  std::int32_t pendingOther = kNone;  // "[OtherKanko]" entry of the item ahead; 900 the time check
  std::int32_t pendingLimit = kNone;  // "[LimitKanko]" entry of the speed limit item
  std::uint8_t limitWarnPending = 0;  // a speed limit ahead is due its call-out
  std::uint8_t limitEndPending = 0;   // the end of a speed limit is due its call-out
  std::int32_t lastCallOutId = -1;    // identity of the last item called with Enter; -1 after a new item
  std::array<std::int32_t, kCrossingQueueSize> crossingQueue = emptyCrossingQueue();  // "[Cross]" rows, head first
  std::int32_t crossingPending = -1;  // the crossing that last entered the queue; -1 none pending

  // Sound selection.
  double tunnelAttenuation = 1.0;  // sound level factor of the "[Atten]" section the train is in, 1.0 elsewhere
  // Per engine-sound row: gains 0-100 and levels of the "[EngineSound1]" rows (motor or engine) and of the
  // "[EngineSound3]" rows, sized to the vehicle's rows by the tick; the masters are shared by each list's rows.
  std::vector<double> motorGain;
  std::vector<double> engine3Gain;
  double motorMaster = 0;
  double engine3Master = 0;
  std::vector<double> motorLevel;
  std::vector<double> engine3Level;
  std::int32_t doorClosingTicks = 0;  // ticks since the doors began closing (a diesel's idle sounds follow them)

  // Driver information.
  std::int32_t ammeterShown = 0;  // A, the current the ammeter needle shows as it swings towards `ammeter`
  std::string adviceMessage;      // the advice message of the last tick, with its prefix

  // Video and stations.
  std::int32_t videoMode = 0;  // 0 frame follows position; 1 side video by time; 2 side video by position; 9 switching
  std::int32_t reversed = 0;   // 1 once the train has been taken back past the "[MovieStop]" frame
  std::int32_t nextStop = 0;   // index of the next station with kind 0 or 2
  std::int32_t currentStation = 0;

  // Side videos ("[MovieSwitch]"): the open side video's row (-1 while the route video shows), its own frame
  // counter, the route frame it starts at, its length in side frames, and the control steps towards the next
  // side frame while it plays by time.
  std::int32_t sideVideoRow = -1;
  std::int32_t sideFrame = 0;
  std::int32_t sideFirstFrame = 0;
  std::int32_t sideLength = 0;
  std::int32_t sideStepCount = 0;
};

// The texts of the handles, written by masconupdate.
struct HandleTexts {
  std::string reverserText;
  std::string powerText;
  std::string brakeText;
  std::string gearText;

  bool operator==(const HandleTexts&) const = default;
};

}  // namespace vesk::sim
