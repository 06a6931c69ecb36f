// One line of the headless runner's trace: the virtual time, the tick number, every TrainState and ControlState
// field by its name, and the lamps that are lit.
#pragma once

#include <cstdint>
#include <string>

#include "sim/drive.h"

namespace vesk::tools {

std::string stateLine(sim::Drive& drive, std::int64_t timeMs, std::int64_t tick);

}  // namespace vesk::tools
