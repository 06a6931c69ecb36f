#include "sim/aux_window_data.h"

#include "sim/drive.h"

namespace vesk::sim {

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

  // The tick writes the readouts while the window is shown.
  data.readouts = drive.displays.valueDisplay;
  for (int channel = 0; channel < AuxWindowData::kGridChannels; ++channel) {
    data.channels[static_cast<std::size_t>(channel)] = drive.sounds.channel_status(channel);
  }
  return data;
}

}  // namespace vesk::sim
