// VirtualJoystick: a game controller made by SDL2 (two axes, 16 buttons) that the joystick poller finds like a
// real one. Use it on the thread that polls.
#pragma once

#include <SDL2/SDL.h>

#include <vector>

namespace vesk::test {

inline constexpr const char* kVirtualJoystickName = "vesk test controller";

class VirtualJoystick {
 public:
  VirtualJoystick();
  ~VirtualJoystick();
  VirtualJoystick(const VirtualJoystick&) = delete;
  VirtualJoystick& operator=(const VirtualJoystick&) = delete;

  bool attached() const { return joystick_ != nullptr; }
  // Sets X, Y and which buttons are down (all others up); the next poll reads them.
  void set(int x, int y, const std::vector<int>& buttons = {});
  // Pulls the device out.
  void detach();

 private:
  bool initialised_ = false;
  SDL_Joystick* joystick_ = nullptr;
  SDL_JoystickID instance_ = -1;
};

}  // namespace vesk::test
