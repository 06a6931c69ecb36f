// The keys of the driving window other than typed characters.
#pragma once

namespace vesk::sim {

enum class Key {
  F1,
  F2,
  F3,
  F4,
  F5,
  F6,
  F7,
  F8,
  F9,
  F10,
  F11,
  F12,
  Enter,
  Backspace,
  PageUp,
  PageDown,
  ScrollLock,
  Up,
  Down,
};

}  // namespace vesk::sim
