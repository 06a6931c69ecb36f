// AuxWindowData: what the windows beside the driving window show, copied out of the drive with its snapshot: the
// handles for the simple cab's lamps and its door text, and, while the value display is open, its readouts and
// the state of sound channels 0..99 for its grid.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "media/sound_bank.h"

namespace vesk::sim {

class Drive;

struct AuxWindowData {
  static constexpr int kGridChannels = 100;

  std::int32_t reverser = 0;
  std::int32_t powerHandle = 0;
  std::int32_t brakeHandle = 0;
  std::string doorStatusText;  // the simple cab's status bar

  bool valueDisplayShown = false;
  std::string valueDisplayTitle;  // the serial controller's last command line
  bool resistanceOff = false;
  // The value display's readouts (label name, text) and its grid; filled only while it is shown.
  std::vector<std::pair<std::string, std::string>> readouts;
  std::array<media::SoundBank::ChannelStatus, kGridChannels> channels{};
};

// Call holding the drive's lock.
AuxWindowData auxWindowDataOf(const Drive& drive);

}  // namespace vesk::sim
