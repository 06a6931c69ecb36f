#include "sim/aux_window_data.h"

#include <cstdio>

#include "sim/drive.h"

namespace vesk::sim {
namespace {

std::string format(const char* pattern, double value, const char* unit) {
  std::array<char, 64> text{};
  std::snprintf(text.data(), text.size(), pattern, value);
  return std::string(text.data()) + unit;
}

std::string whole(double value, const char* unit) { return format("%.0f", value, unit); }

}  // namespace

AuxWindowData auxWindowDataOf(const Drive& drive) {
  AuxWindowData data;
  data.reverser = drive.control.reverser;
  data.powerHandle = drive.control.powerHandle;
  data.brakeHandle = drive.control.brakeHandle;
  data.doorStatusText = drive.doorStatusText;
  data.valueDisplayShown = drive.valueDisplayShown;
  data.valueDisplayTitle = drive.valueDisplayTitle;
  data.resistanceOff = drive.control.resistanceOff != 0;
  if (!data.valueDisplayShown) return data;

  const TrainState& s = drive.state;
  data.readouts = {
      {"Label1", format("%.1f", s.speed, " km/h")},
      {"Label2", whole(s.bcMotor.toDouble(), "k")},
      {"Label11", whole(s.bcTrailer.toDouble(), "k")},
      {"Label3", whole(s.sap.toDouble(), " kPa")},
      {"Label4", whole(s.er.toDouble(), " kPa")},
      {"Label71", whole(s.bp, " kPa")},
      {"Label5", whole(s.mr.toDouble(), " kPa")},
      {"Label69", whole(s.elecBrakeCurrent, "A")},
      {"Label30", std::to_string(s.frame)},
      {"Label31", std::to_string(s.frameSpeed) + " km/h"},
      {"Label7", whole(s.tractiveForce.toDouble(), " N")},
      {"Label25", whole(s.resistForce.toDouble(), " N")},
      {"Label27", format("%.1f", s.gradient.toDouble(), " Permil")},
      {"Label33", whole(s.distanceToStop, " cm")},
      {"Label35", whole(s.position / 100, " m")},
      {"Label40", whole(s.engineRpm, "")},
      {"Label50", std::to_string(s.motorCurrent) + " A"},
      {"Label52", "Gn " + std::to_string(s.engagedGear) + " Gp " + std::to_string(drive.control.gear)},
      {"Label54", std::to_string(drive.state.videoMode)},
  };
  for (int channel = 0; channel < AuxWindowData::kGridChannels; ++channel) {
    data.channels[static_cast<std::size_t>(channel)] = drive.sounds.channel_status(channel);
  }
  return data;
}

}  // namespace vesk::sim
