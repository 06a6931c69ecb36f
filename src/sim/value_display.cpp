// The value display window's readouts: the numbers behind the drive, for authors of vehicles and lines.
#include <array>
#include <cmath>
#include <cstdio>

#include "core/rounding.h"
#include "sim/drive.h"
#include "sim/driver_info.h"

namespace vesk::sim {
namespace {

std::string oneDecimal(double value) {
  std::array<char, 64> text{};
  std::snprintf(text.data(), text.size(), "%.1f", value);
  return text.data();
}

std::string whole(double value) { return std::to_string(core::nearest(value)); }
std::string whole(Fixed value) { return whole(value.toDouble()); }
std::string number(std::int64_t value) { return std::to_string(value); }

// The two stations whose frames enclose the preceding train.
std::string precedingTrainSection(const Drive& drive) {
  const data::RouteData& r = drive.route;
  const int frame = drive.state.precedingFrame;
  for (int i = 0; i + 1 < r.stationCount && i + 1 < data::kStationCapacity; ++i) {
    const data::StationRow& a = r.stations[static_cast<std::size_t>(i)];
    const data::StationRow& b = r.stations[static_cast<std::size_t>(i) + 1];
    if (a.frame <= frame && frame < b.frame) return "(" + a.name + "～" + b.name + ")";
  }
  return {};
}

}  // namespace

void valueDisplayStep(Drive& drive) {
  if (!drive.valueDisplayShown) return;
  const TrainState& s = drive.state;
  const ControlState& c = drive.control;
  const data::VehicleSpec& v = drive.vehicle;
  const double mass = v.trainMass.toDouble() * 1000;
  const double acceleration = mass != 0 ? (s.tractiveForce + s.resistForce).toDouble() / mass * 3.6 : 0.0;
  const std::string station =
      s.currentStation >= 0 && s.currentStation < drive.route.stationCount && s.currentStation < data::kStationCapacity
          ? drive.route.stations[static_cast<std::size_t>(s.currentStation)].name
          : std::string();
  drive.displays.valueDisplay = {
      {"Label1", oneDecimal(s.speed) + " km/h"},
      {"Label2", whole(s.bcMotor) + "k"},
      {"Label11", whole(s.bcTrailer) + "k"},
      {"Label3", whole(s.sap) + " kPa"},
      {"Label4", whole(s.er) + " kPa"},
      {"Label71", whole(s.bp) + " kPa"},
      {"Label5", whole(s.mr) + " kPa"},
      {"Label69", whole(s.elecBrakeCurrent) + "A"},
      {"Label30", number(s.frame)},
      {"Label31", number(s.frameSpeed) + " km/h"},
      {"Label6", oneDecimal(acceleration) + " km/h/s"},
      {"Label7", whole(s.tractiveForce) + " N"},
      {"Label25", whole(s.resistForce) + " N"},
      {"Label23", number(s.precedingFrame)},
      {"Label27", oneDecimal(s.gradient.toDouble()) + " Permil"},
      {"Label33", whole(s.distanceToStop) + " cm"},
      {"Label35", whole(s.position / 100) + " m"},
      {"Label37", whole(s.targetPosition / 100) + " m " + station},
      {"Label40", whole(s.engineRpm)},
      {"Label8", whole(s.atspDistance / 100)},
      {"Label9", number(s.atspTarget)},
      {"Label20", number(s.atspP1) + "/" + number(s.atspP2)},
      {"Label60", number(s.upcomingLimitMetres[0])},
      {"Label61", number(s.upcomingLimitSpeeds[0])},
      {"Label19", number(s.upcomingCheckMetres[0])},
      {"Label41", number(s.upcomingCheckSpeeds[0])},
      {"Label21", "Signal now:" + number(s.shownSignalImage) + " now2:" + number(s.lastSignalImage) +
                      " lim_now:" + number(s.atsSpeedCode)},
      {"Label44", "P " + number(s.resistorStep) + " " + number(c.powerHandle) + " " + number(s.powerNotch) + " B " +
                      number(s.elecBrakeStep) + " " + number(c.brakeHandle) + " " + number(s.brakeNotch) + " " +
                      number(s.sapNotch) + " " + number(s.elecBrakeNotch)},
      {"Label52", "Gn " + number(s.engagedGear) + " Gp " + number(c.gear)},
      {"Label50", number(s.motorCurrent) + " A"},
      {"Label54", number(s.videoMode)},
      {"Label42", precedingTrainSection(drive)},
      {"Bar_Press0", whole(s.bcMotor)},
      {"Bar_Press1", whole(s.bcTrailer)},
      {"Bar_Press6", whole(s.elecBrakeCurrent)},
  };
}

}  // namespace vesk::sim
