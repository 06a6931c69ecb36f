#include "devices/virtual_joystick.h"

#include <algorithm>

namespace vesk::test {

VirtualJoystick::VirtualJoystick() {
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  initialised_ = SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0;
  if (!initialised_) return;
  SDL_VirtualJoystickDesc desc{};
  desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
  desc.type = SDL_JOYSTICK_TYPE_UNKNOWN;
  desc.naxes = 2;
  desc.nbuttons = 16;
  desc.name = kVirtualJoystickName;
  const int index = SDL_JoystickAttachVirtualEx(&desc);
  if (index < 0) return;
  joystick_ = SDL_JoystickOpen(index);
  if (joystick_ != nullptr) instance_ = SDL_JoystickInstanceID(joystick_);
}

VirtualJoystick::~VirtualJoystick() {
  detach();
  if (initialised_) SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

void VirtualJoystick::set(int x, int y, const std::vector<int>& buttons) {
  if (joystick_ == nullptr) return;
  SDL_JoystickSetVirtualAxis(joystick_, 0, static_cast<Sint16>(x));
  SDL_JoystickSetVirtualAxis(joystick_, 1, static_cast<Sint16>(y));
  for (int b = 0; b < 16; ++b) {
    const bool down = std::find(buttons.begin(), buttons.end(), b) != buttons.end();
    SDL_JoystickSetVirtualButton(joystick_, b, down ? 1 : 0);
  }
}

void VirtualJoystick::detach() {
  if (joystick_ == nullptr) return;
  // The device index of a virtual joystick is where it stands now among the devices.
  for (int index = 0; index < SDL_NumJoysticks(); ++index) {
    if (SDL_JoystickIsVirtual(index) == SDL_TRUE && SDL_JoystickGetDeviceInstanceID(index) == instance_) {
      SDL_JoystickDetachVirtual(index);
      break;
    }
  }
  SDL_JoystickClose(joystick_);
  joystick_ = nullptr;
}

}  // namespace vesk::test
