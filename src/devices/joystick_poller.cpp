#include "devices/joystick_poller.h"

#include <SDL2/SDL.h>

#include <algorithm>

namespace vesk::devices {
namespace {

constexpr Uint32 kSubsystems = SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER;

}  // namespace

JoystickPoller::JoystickPoller(std::function<void(const Change&)> onChange) : onChange_(std::move(onChange)) {
  // The host program keeps its own signal handling; a train controller is read whether or not a window of ours
  // has the focus.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  initialised_ = SDL_InitSubSystem(kSubsystems) == 0;
  if (!initialised_) report(Change::Kind::Unavailable, {}, SDL_GetError());
}

JoystickPoller::~JoystickPoller() {
  if (!initialised_) return;
  if (joystick_ != nullptr) SDL_JoystickClose(joystick_);
  SDL_QuitSubSystem(kSubsystems);
}

std::string JoystickPoller::deviceName() const {
  const char* name = joystick_ != nullptr ? SDL_JoystickName(joystick_) : nullptr;
  return name != nullptr ? name : "";
}

std::optional<sim::JoystickState> JoystickPoller::poll() {
  if (!initialised_) return std::nullopt;
  SDL_JoystickUpdate();
  SDL_Event event;
  while (SDL_PollEvent(&event) != 0) {
    if (event.type == SDL_JOYDEVICEREMOVED && joystick_ != nullptr && event.jdevice.which == instanceId_) {
      closeRemoved();
    }
  }
  // A device that went without its event (or before we saw it) counts as removed as well.
  if (joystick_ != nullptr && SDL_JoystickGetAttached(joystick_) == SDL_FALSE) closeRemoved();
  if (joystick_ == nullptr) openFirst();
  if (joystick_ == nullptr) return std::nullopt;

  sim::JoystickState state;
  state.x = SDL_JoystickNumAxes(joystick_) > 0 ? SDL_JoystickGetAxis(joystick_, 0) : 0;
  state.y = SDL_JoystickNumAxes(joystick_) > 1 ? SDL_JoystickGetAxis(joystick_, 1) : 0;
  const int buttons = std::min(SDL_JoystickNumButtons(joystick_), static_cast<int>(state.buttons.size()));
  for (int b = 0; b < buttons; ++b)
    state.buttons[static_cast<std::size_t>(b)] = SDL_JoystickGetButton(joystick_, b) != 0;
  return state;
}

void JoystickPoller::openFirst() {
  const int count = SDL_NumJoysticks();
  for (int index = 0; index < count && joystick_ == nullptr; ++index) {
    joystick_ = SDL_JoystickOpen(index);
  }
  if (joystick_ == nullptr) return;
  instanceId_ = SDL_JoystickInstanceID(joystick_);
  report(Change::Kind::Attached, deviceName());
}

void JoystickPoller::closeRemoved() {
  const std::string name = deviceName();
  SDL_JoystickClose(joystick_);
  joystick_ = nullptr;
  instanceId_ = -1;
  report(Change::Kind::Removed, name);
}

void JoystickPoller::report(Change::Kind kind, std::string name, std::string detail) {
  if (onChange_) onChange_(Change{kind, std::move(name), std::move(detail)});
}

}  // namespace vesk::devices
