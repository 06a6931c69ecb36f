#include "present/view_geometry.h"

namespace vesk::present {

ViewGeometry viewGeometryOf(const data::UiStrings& strings, const data::VehicleSpec& vehicle,
                            const std::string& vehicleFileName, const std::string& routeFileName) {
  ViewGeometry g;
  g.width = strings.viewWidth;
  g.height = strings.viewHeight;
  g.fadeExtraHeight = strings.fadeExtraHeight;
  g.clockX = vehicle.clock.x;
  g.clockY = vehicle.clock.y;
  g.monitor = monitorKindOf(vehicleFileName);
  g.kilometresFromUpLine = kilometresFromUpLine(routeFileName);
  return g;
}

MonitorKind monitorKindOf(const std::string& vehicleFileName) {
  if (vehicleFileName == "train_VK500.dat") return MonitorKind::Inverter;
  // Characters 7 to 11: "train_VK700_3Cars.dat" and "train_VK700_2Cars.dat".
  if (vehicleFileName.size() >= 11 && vehicleFileName.compare(6, 5, "VK700") == 0) return MonitorKind::Resistor;
  return MonitorKind::None;
}

bool kilometresFromUpLine(const std::string& routeFileName) {
  return routeFileName.size() >= 9 && routeFileName.compare(5, 4, "up_r") == 0;
}

double kilometrePost(double positionCm, bool fromUpLine) {
  // The down line's posts start 64 km from the line's origin.
  return fromUpLine ? positionCm / 100000.0 : (positionCm + 6400000.0) / 100000.0;
}

}  // namespace vesk::present
