// JoystickPoller: the first game controller, read through SDL2's joystick subsystem alone (no video). Each poll
// first handles devices plugged in or pulled out, then reads X (axis 0), Y (axis 1) and buttons 0..15.
//
// Threading: SDL's joystick functions and its device events belong to one thread. Make, poll and destroy a
// poller on the same thread (ControllerHub does it on the GUI thread); what it reads goes to the simulation
// through the input queue.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include <SDL2/SDL_joystick.h>

#include "sim/joystick_layouts.h"

namespace vesk::devices {

class JoystickPoller {
 public:
  // A device came or went ("attached", with the device's name) or the subsystem could not start.
  struct Change {
    enum class Kind { Attached, Removed, Unavailable };
    Kind kind;
    std::string deviceName;
    std::string detail;  // SDL's error text for Unavailable
  };

  explicit JoystickPoller(std::function<void(const Change&)> onChange = {});
  ~JoystickPoller();
  JoystickPoller(const JoystickPoller&) = delete;
  JoystickPoller& operator=(const JoystickPoller&) = delete;

  // Whether SDL's joystick subsystem started.
  bool available() const { return initialised_; }
  bool connected() const { return joystick_ != nullptr; }
  std::string deviceName() const;

  // Handles devices that came and went, then reads the open joystick; none while no joystick is plugged in.
  std::optional<sim::JoystickState> poll();

 private:
  void openFirst();
  void closeRemoved();
  void report(Change::Kind kind, std::string name, std::string detail = {});

  std::function<void(const Change&)> onChange_;
  bool initialised_ = false;
  SDL_Joystick* joystick_ = nullptr;
  SDL_JoystickID instanceId_ = -1;
};

}  // namespace vesk::devices
