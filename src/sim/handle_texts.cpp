#include "sim/handle_texts.h"

#include "sim/drive.h"

namespace vesk::sim {

const data::PowerModeRow& selectedPowerMode(const sim::Drive& drive) {
  static const data::PowerModeRow none;
  const int m = drive.control.powerMode;
  return m >= 0 && m < data::kPowerModeCapacity ? drive.vehicle.powerModes[static_cast<std::size_t>(m)] : none;
}

std::string gearText(const sim::Drive& drive) {
  const data::VehicleSpec& v = drive.vehicle;
  if (v.engineType != 0) return selectedPowerMode(drive).modeName;
  const int gear = drive.control.gear;
  const auto& gears = drive.strings.gearsTexts;
  if (gear == 0) return gears[0];
  if (gear == 1) return gears[1];
  if (gear == 2 && v.gearCount == 3) return gears[2];
  if (gear >= 2 && gear <= 5) return gears[2] + std::to_string(gear - 1);
  return {};
}

}  // namespace vesk::sim
