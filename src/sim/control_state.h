// ControlState: the handles and switches the driver sets. Brake positions are negative: 0 released,
// -1 .. -(brakeNotches - 1) service notches, -brakeNotches emergency.
#pragma once

#include <cstdint>

namespace vesk::sim {

struct ControlState {
  std::int32_t reverser = 0;  // 1 forward, 0 neutral, -1 backward
  std::int32_t powerHandle = 0;
  std::int32_t brakeHandle = 0;
  std::uint8_t holdPosition = 0;
  std::uint8_t holdJustLeft = 0;
  std::int32_t powerMode = 0;
  std::int32_t gear = 0;  // gear lever of a diesel train
  std::uint8_t swapBrakeKeys = 0;
  std::uint8_t inputLocked = 0;
  std::int32_t idleTicks = 0;  // dead-man counter
  std::uint8_t powerChangePending = 0;
  std::uint8_t brakeChangePending = 0;
  std::uint8_t sapChangePending = 0;
  std::uint8_t elecBrakeChangePending = 0;
  std::int32_t engineSwitch = 0;  // 1 start held, 2 stop held
  std::uint8_t hornHeld = 0;
  std::uint8_t buzzerHeld = 0;
  std::uint8_t constantSpeed = 0;
  std::uint8_t autoRun = 0;        // debug: the train runs at the video's recorded speed
  std::uint8_t resistanceOff = 0;  // debug: gradient and running resistance left out of the speed change
  std::uint8_t atsOn = 0;
  std::int32_t announceIndex = 0;
};

}  // namespace vesk::sim
