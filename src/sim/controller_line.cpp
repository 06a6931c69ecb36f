// A serial controller's command line applied to the drive (controllerLine).
#include "sim/controller_line.h"

#include <cmath>

#include "core/sjis.h"
#include "sim/drive.h"

namespace vesk::sim {

ControllerCommand controllerCommandOfEntry(int index) {
  using Kind = ControllerCommand::Kind;
  if (index < 6) return {Kind::Power, index + 1};
  if (index == 6) return {Kind::Neutral, 0};
  if (index < 16) return {Kind::Brake, index - 6};
  if (index < 19) return {Kind::Reverser, 1 - (index - 16)};
  // ATS confirm, horn, doors, in-car announcement: the keys that do them.
  static constexpr char kKeys[] = {' ', '3', '7', '1'};
  return {Kind::Character, kKeys[index - 19]};
}

std::vector<ControllerCommand> matchControllerLine(const data::ControllerCodes& codes, std::string_view line) {
  const std::string_view head = line.substr(0, kControllerCodeLength);
  std::vector<ControllerCommand> commands;
  for (int i = 0; i < kControllerCommandCount && i < codes.count; ++i) {
    if (codes.codes[static_cast<std::size_t>(i)] == head) commands.push_back(controllerCommandOfEntry(i));
  }
  return commands;
}

void Drive::controllerLine(std::string_view line) {
  // A command is a sign of life for the vigilance device, as a key is.
  control.idleTicks = 0;
  sounds.stop(vehicle.soundEbRing);
  if (media::Sprite* lamp = sprites.findByPicture("img_Lamp_EB")) lamp->visible = false;
  valueDisplayTitle = core::sjisToUtf8(line);

  for (const ControllerCommand& command : matchControllerLine(controllerCodes, line)) {
    switch (command.kind) {
    case ControllerCommand::Kind::Power:
      controllerHandles(command.value, 0);
      break;
    case ControllerCommand::Kind::Neutral:
      controllerHandles(0, 0);
      break;
    case ControllerCommand::Kind::Brake:
      controllerHandles(0, command.value);
      break;
    case ControllerCommand::Kind::Reverser:
      // The reverser moves only with the train (nearly) at a standstill.
      if (std::fabs(state.speed) <= 1.0) {
        control.reverser = command.value;
        masconupdate();
      }
      break;
    case ControllerCommand::Kind::Character:
      post(InputEvent::typed(static_cast<char>(command.value)));
      break;
    }
  }
}

}  // namespace vesk::sim
