// Texts and names derived from the handles, shared by masconupdate and the keys.
#pragma once

#include <string>

#include "data/vehicle_spec.h"

namespace vesk::sim {
class Drive;
}

namespace vesk::sim {

// The "[PowerMode]" row of the selected power mode (an empty row outside the table).
const data::PowerModeRow& selectedPowerMode(const sim::Drive& drive);
// The gear text: a diesel's gear lever by the "[Gears]" strings; other trains show the power mode's name.
std::string gearText(const sim::Drive& drive);

}  // namespace vesk::sim
