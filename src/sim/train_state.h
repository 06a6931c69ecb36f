// TrainState: the dynamic state of the train, owned by the control step and the tick. Every field starts at
// zero unless the start of the drive says otherwise.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/fixed.h"

namespace vesk::sim {

using core::Fixed;

inline constexpr int kMaxGradientSamples = 30;
// "None" in signal, limit, ATS and call-out state.
inline constexpr int kNone = 999;

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

  // Diesel gear in use (0 neutral); the lever is ControlState::gear.
  std::int32_t engagedGear = 0;

  // Video and stations.
  std::int32_t videoMode = 0;  // 0 frame follows position; 1 side video by time; 2 side video by position; 9 switching
  std::int32_t reversed = 0;   // 1 once the train has been taken back past the "[MovieStop]" frame
  std::int32_t nextStop = 0;   // index of the next station with kind 0 or 2
};

}  // namespace vesk::sim
