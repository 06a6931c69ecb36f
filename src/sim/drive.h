// Drive: the state of one drive, and its two fixed-step routines. The control step (every 33 ms) moves the
// train along the line; the tick (every 100 ms) turns pressures and handles into forces and speed and does
// everything else that follows from where the train is. The sections each routine runs live in their own files,
// in the order the routines call them.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "data/route_data.h"
#include "data/string_file.h"
#include "data/ui_strings.h"
#include "data/vehicle_spec.h"
#include "media/drive_pictures.h"
#include "media/sound_bank.h"
#include "media/sound_layout.h"
#include "sim/callout_queue.h"
#include "sim/clock_face.h"
#include "sim/control_state.h"
#include "sim/drive_snapshot.h"
#include "sim/driver_displays.h"
#include "sim/input_event.h"
#include "sim/keys.h"
#include "sim/line_state.h"
#include "sim/overlay_texts.h"
#include "sim/panel_sprites.h"
#include "sim/protection.h"
#include "sim/scheduler.h"
#include "sim/settings.h"
#include "sim/station_sprites.h"
#include "sim/train_state.h"

namespace vesk::sim {

class Drive final : public Scheduler::Routines {
 public:
  // The data must outlive the drive.
  Drive(const data::VehicleSpec& vehicle, const data::RouteData& route, const data::UiStrings& strings,
        media::SoundBank& sounds, media::DrivePictures& pictures);
  // A drive refers into the data it was set up with, and others refer to it: it stays where it was made.
  Drive(const Drive&) = delete;
  Drive& operator=(const Drive&) = delete;
  Drive(Drive&&) = delete;
  Drive& operator=(Drive&&) = delete;

  // The lock the routines and input run under when another thread looks at the drive (DriveRunner).
  std::mutex& mutex() const { return mutex_; }
  // Everything a frame of the window draws, copied under the lock.
  DriveSnapshot snapshot() const;

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
  // Absolute handle positions from an external controller: a power position 0 .. 6 becomes that notch of the
  // selected power mode (its last notch when the mode has fewer), a brake position k becomes -k but never deeper
  // than emergency. The handles given are set with their change-pending flags, then masconupdate. A controller
  // that reports its handles is a sign of life for the vigilance device.
  void controllerHandles(std::optional<int> powerPosition, std::optional<int> brakePosition);
  // One command line of a serial controller, matched on its first five characters against the controller map:
  // handles, the reverser (only at a standstill), or keys it posts.
  void controllerLine(std::string_view line);
  // Input a handler posts to the window, to be handled after the input being handled now (a controller command
  // that stands for a key). applyInput handles it right after the event that posted it; whoever calls a handler
  // directly takes it.
  void post(InputEvent event) { postedInput.push_back(std::move(event)); }
  std::vector<InputEvent> takePostedInput() { return std::exchange(postedInput, {}); }
  // The handle texts, the handle lamps and the notch and gear pictures from the handles.
  void masconupdate();
  // Opens closed doors (only at a standstill) or closes open ones.
  void Door_operate();

  // Forgets what this run has passed, played and served (a jump to a station, a restored state).
  void clearPerRunTables();
  // A window command the tick raises (e.g. "BackClick"); the window (or the headless runner) takes them.
  void raiseUiEvent(std::string_view command) { uiEvents.emplace_back(command); }
  std::vector<std::string> takeUiEvents();

  // Stops the sound channels the line's ends and barriers silence: 1 up to D + S + the call-out counter
  // (channel 0 keeps playing).
  void globalSoundStop();

  // Commands of the driving window's menus, applied through the input queue like the keys.
  // "Move": puts the train at station k, standing, with the handles at the last service notch and the clock at
  // the station's time in the timetable; what this run passed and played is forgotten.
  void StationClick(int k);
  // "Beginner mode": the ATS off while on; switching it off switches the ATS on and lights its lamp.
  void setBeginnerMode(bool on);
  // Shows or hides the three stop-position lines of the forward view.
  void setStopLinesShown(bool shown);

  const data::VehicleSpec& vehicle;
  const data::RouteData& route;
  const data::UiStrings& strings;
  media::SoundBank& sounds;
  media::DrivePictures& pictures;
  media::SpriteEngine& sprites;  // pictures.sprites

  TrainState state;
  ControlState control;
  HandleTexts handleTexts;
  OverlayTexts texts;
  LineState line;
  std::vector<std::string> uiEvents;  // raised and not yet taken

  // Signals and train protection.
  ProtectionSprites protectionSpriteIds;  // looked up once (protectionSprites())

  // Stations, doors, the timetable clock and the call-outs.
  // The clock text (and the analog clock face, when the panel has one) from the clock, every tick.
  void timecalc(std::int32_t clock);
  // Call-outs: queue one; play the queue on the call-out channel (once a tick); the "[SignalKanko]" rows of the
  // signal ahead (kind 1: rows of kind 0; kind 2: rows of kinds 2 and 1); the "[StationKanko]" rows of the
  // current station for a station event (0 stopped, 1 doors opened, 2 departure announced, 3 doors shut,
  // 4 first power, 5 doors closing); the time phrases for the difference between the clock and a time (kind 0
  // at stations, 1 at time checks); the time check of the "[Time]" rows under the train.
  void kanko_queue_add(CallOut callOut) { callOutQueue.add(std::move(callOut)); }
  void kanko_queue_play();
  void kanko_add(int kind);
  void stationCallOut(int event);
  void Timekanko(std::int32_t time, int kind);
  void Timecheck();
  // Enter: the driver's call-out of the item pending, else of the level crossing, else of the signal ahead.
  void callOutResponse();
  // The door-chance roll's random source; a headless drive repeats with the same seed.
  void seedRandom(std::uint32_t seed) { random.seed(seed); }

  CallOutQueue callOutQueue;
  CallOutWaves callOutWaves;  // loaded with the sounds, bound to the call-out channel one at a time
  int startStation = 0;       // the station the run started at
  std::mt19937 random{0};
  ClockFace clockFace;         // set by timecalc each second when the panel has an analog clock
  std::string doorStatusText;  // the simple cab's status bar
  StationSprites stationSprites;
  int nextStationTextFor = -1;        // the station whose next-station text was built last
  bool platformSoundStarted = false;  // a platform sound may be playing
  bool stopWarningSounded = false;    // the approach warning has sounded since the train last stood

  // Sound selection.

  // Driver information and the cab panel.
  PanelSprites panelSprites;
  DriverDisplays displays;
  // The wave a sound message names (a file of the program folder), set when the drive is loaded.
  std::function<std::shared_ptr<const media::Wave>(const std::string&)> messageWaves;

  std::string doorText;    // the door state text of the simple cab ("[Doors]")
  int viewSurfaceTop = 0;  // Shift+Up/Down move the forward view by 50 pixels
  bool valueDisplayShown = false;
  Settings settings;
  // The codes of the serial controller's commands ("mascon.dat").
  data::ControllerCodes controllerCodes;
  // Input posted and not yet taken.
  std::vector<InputEvent> postedInput;
  // The value display window's title: the last command line of the serial controller (UTF-8).
  std::string valueDisplayTitle;
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
  // Virtual time of the drive in milliseconds, kept by whoever runs it (snapshots carry it).
  std::int64_t timeMs = 0;

 private:
  mutable std::mutex mutex_;
};

}  // namespace vesk::sim
