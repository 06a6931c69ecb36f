#include "sim/input_event.h"

#include "sim/drive.h"

namespace vesk::sim {

namespace {

void applyOne(Drive& drive, const InputEvent& event) {
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

}  // namespace

void applyInput(Drive& drive, const InputEvent& event) {
  applyOne(drive, event);
  // What the event posted (a controller command standing for a key) follows it, in the order posted. Posted keys
  // post nothing themselves; the bound only keeps a future handler that did from looping for ever.
  constexpr int kMaxRounds = 16;
  for (int round = 0; round < kMaxRounds && !drive.postedInput.empty(); ++round) {
    for (const InputEvent& posted : drive.takePostedInput()) applyOne(drive, posted);
  }
  drive.postedInput.clear();
}

}  // namespace vesk::sim
