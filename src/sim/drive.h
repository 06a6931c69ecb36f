// Drive: the state of one drive, and its two fixed-step routines. The control step (every 33 ms) moves the
// train along the line; the tick (every 100 ms) turns pressures and handles into forces and speed and does
// everything else that follows from where the train is. The sections each routine runs live in their own files,
// in the order the routines call them.
#pragma once

#include <cstdint>

#include "data/route_data.h"
#include "data/ui_strings.h"
#include "data/vehicle_spec.h"
#include "sim/control_state.h"
#include "sim/keys.h"
#include "media/drive_pictures.h"
#include "media/sound_bank.h"
#include "media/sound_layout.h"
#include "sim/scheduler.h"
#include "sim/settings.h"
#include "sim/train_state.h"

namespace vesk::sim {

class Drive final : public Scheduler::Routines {
 public:
  // The data must outlive the drive.
  Drive(const data::VehicleSpec& vehicle, const data::RouteData& route, const data::UiStrings& strings,
        media::SoundBank& sounds, media::DrivePictures& pictures);

  // The control step.
  void MMTimer1Timer();
  // The simulation tick.
  void Timer1Timer();

  void controlStep() override { MMTimer1Timer(); }
  void tick() override { Timer1Timer(); }

  // The handle logic of the driver's keys and wheel (see input/). Characters are what the keyboard types;
  // keys are the function and movement keys, `shift` meaning Shift alone.
  void AsciiDown(char character);
  void keydowns(sim::Key key, bool shift);
  void keyups(sim::Key key);
  void WheelD();
  void WheelU();
  // The handle texts, the handle lamps and the notch and gear pictures from the handles.
  void masconupdate();
  // Opens closed doors (only at a standstill) or closes open ones.
  void Door_operate();

  // Stops the sound channels the line's ends and barriers silence: 1 up to D + S + the call-out counter
  // (channel 0 keeps playing).
  void globalSoundStop();

  const data::VehicleSpec& vehicle;
  const data::RouteData& route;
  const data::UiStrings& strings;
  media::SoundBank& sounds;
  media::DrivePictures& pictures;
  media::SpriteEngine& sprites;  // pictures.sprites

  TrainState state;
  sim::ControlState control;
  HandleTexts handleTexts;
  std::string doorText;    // the door state text of the simple cab ("[Doors]")
  int viewSurfaceTop = 0;  // Shift+Up/Down move the forward view by 50 pixels
  bool valueDisplayShown = false;
  Settings settings;
  media::SoundLayout soundLayout;
  // Keys the tick polls while they are held: '3' (or numpad 3) sounds the horn, '4' the buzzer.
  bool hornKeyHeld = false;
  bool buzzerKeyHeld = false;
  // A controller's horn and buzzer inputs, held while set.
  bool controllerHornHeld = false;
  bool controllerBuzzerHeld = false;
  // The last frame position of the route video: its picture count x videoFrameFactor; 0 while no video is open
  // (then the end of the video stops nothing).
  std::int32_t lastFramePosition = 0;
};

}  // namespace vesk::sim
