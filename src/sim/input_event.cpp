#include "sim/input_event.h"

#include "sim/drive.h"

namespace vesk::sim {

void applyInput(Drive& drive, const InputEvent& event) {
  switch (event.kind) {
  case InputEvent::Kind::Char:
    drive.AsciiDown(event.character);
    break;
  case InputEvent::Kind::KeyDown:
    drive.keydowns(event.key, event.shift);
    break;
  case InputEvent::Kind::KeyUp:
    drive.keyups(event.key);
    break;
  case InputEvent::Kind::WheelDown:
    drive.WheelD();
    break;
  case InputEvent::Kind::WheelUp:
    drive.WheelU();
    break;
  case InputEvent::Kind::HoldKey:
    (event.character == '3' ? drive.hornKeyHeld : drive.buzzerKeyHeld) = event.held;
    break;
  case InputEvent::Kind::Handles:
    drive.controllerHandles(event.powerPosition, event.brakePosition);
    break;
  case InputEvent::Kind::Command:
    drive.controllerLine(event.text);
    break;
  case InputEvent::Kind::HornInput:
    drive.controllerHornHeld = event.held;
    break;
  case InputEvent::Kind::Action:
    if (event.action) event.action(drive);
    break;
  }
}

}  // namespace vesk::sim
