// ViewGeometry: the size of the forward view and what is drawn around it, fixed when a drive is loaded.
#pragma once

#include <string>

#include "data/ui_strings.h"
#include "data/vehicle_spec.h"

namespace vesk::present {

// The cab monitor's text: the inverter train's monitor, the resistor trains' monitor, or none.
enum class MonitorKind { None, Inverter, Resistor };

struct ViewGeometry {
  static constexpr int kDrawingWidth = 800;  // the drawing area of the driving window
  static constexpr int kDrawingHeight = 850;

  int width = 800;          // W, the forward view
  int height = 450;         // H
  int fadeExtraHeight = 0;  // below the view, darkened by the closing fade too
  int clockX = 0;           // the analog clock's place; none unless both are above 0
  int clockY = 0;
  MonitorKind monitor = MonitorKind::None;
  bool kilometresFromUpLine = false;  // the kilometre post counts from this line's start
};

// The geometry of a loaded drive: the view's size from the interface strings, the clock from the vehicle, the
// monitor and kilometre posts from the file names.
ViewGeometry viewGeometryOf(const data::UiStrings& strings, const data::VehicleSpec& vehicle,
                            const std::string& vehicleFileName, const std::string& routeFileName);
// The monitor a vehicle file has: chosen by its name, as the cab pictures of those trains expect.
MonitorKind monitorKindOf(const std::string& vehicleFileName);
// Whether a route's kilometre post counts from the line's start ("up_r" at characters 6 to 9 of its name).
bool kilometresFromUpLine(const std::string& routeFileName);
// The kilometre post shown on the monitor, in km.
double kilometrePost(double positionCm, bool fromUpLine);

}  // namespace vesk::present
