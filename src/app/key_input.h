// The driving window's keys and mouse wheel as the drive's input: the function and movement keys go to
// keydowns (Shift meaning Shift alone), typed characters to AsciiDown (the keypad types digits, Num Lock or
// not), the horn and buzzer keys also as held keys, and the wheel in whole notches. A held key's repeats are
// presses like any other, as on a desktop.
#pragma once

#include <QString>
#include <Qt>

#include <vector>

#include "sim/input_event.h"

namespace vesk::app {

class KeyInput {
 public:
  std::vector<sim::InputEvent> pressed(int key, Qt::KeyboardModifiers modifiers, const QString& text,
                                       bool autoRepeat) const;
  std::vector<sim::InputEvent> released(int key, Qt::KeyboardModifiers modifiers, bool autoRepeat) const;
  // `angleDelta`: the wheel's turn in eighths of a degree, positive away from the driver. One event per notch
  // (120); fine-stepping wheels add up to a notch.
  std::vector<sim::InputEvent> wheel(int angleDelta);

 private:
  int wheelRest_ = 0;
};

}  // namespace vesk::app
