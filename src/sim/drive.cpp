#include "sim/drive.h"

#include <algorithm>
#include <utility>

#include "sim/brake.h"
#include "sim/driver_info.h"
#include "sim/dynamics.h"
#include "sim/handle_steps.h"
#include "sim/horn_buzzer.h"
#include "sim/line_ends.h"
#include "sim/motion.h"
#include "sim/protection.h"
#include "sim/side_video.h"
#include "sim/sound_select.h"
#include "sim/stations.h"
#include "sim/track.h"
#include "sim/traction.h"

namespace vesk::sim {

Drive::Drive(const data::VehicleSpec& vehicleSpec, const data::RouteData& routeData, const data::UiStrings& uiStrings,
             media::SoundBank& soundBank, media::DrivePictures& drivePictures)
    : vehicle(vehicleSpec), route(routeData), strings(uiStrings), sounds(soundBank), pictures(drivePictures),
      sprites(drivePictures.sprites) {
  soundLayout.driveSoundCount = vehicle.driveSoundCount;
  soundLayout.soundDataCount = route.soundDataCount;
  soundLayout.engineSound1Count = vehicle.engineSound1Count;
  soundLayout.engineSound3Count = vehicle.engineSound3Count;
  soundLayout.calloutCounter = route.calloutCount2;
}

void Drive::MMTimer1Timer() {
  // 1. The tick adds to forces that the control step rebuilds from nothing.
  state.tractiveForce = {};
  state.resistForce = {};
  // 2. Tractive force from the notch in effect, then the reverser.
  tractiveForceStep(*this);
  applyReverser(*this);
  // 3. Power-handle delay and the ammeter's copy of the force.
  powerDelayStep(*this);
  // 4. Brake pressures and the main reservoir's drain, then the brake handle delays.
  brakePressureStep(*this);
  brakeDelayStep(*this);
  // 5. Diesel engine speed.
  engineSpeedStep(*this);
  // 6. Frame, preceding train, position and clock.
  advancePosition(*this);
  // The panel's pressure, voltage and current needles follow the new pressures.
  update_instruments(*this);
}

void Drive::Timer1Timer() {
  // 1. ATS warning sound housekeeping and ATS pattern preparation (not built yet).
  retirePrecedingTrain(*this);
  // 2. Tick counter; the speedometer needle and the digital speed.
  state.tickCount += 1;
  speedInstrumentStep(*this);
  // A recorded speed of 0 would stop the video for good; it counts as 1 km/h.
  if (state.frameSpeed == 0) state.frameSpeed = 1;
  // 3.-6. Forces and speed.
  brakeForceStep(*this);
  adhesionStep(*this);
  resistanceStep(*this);
  integrateSpeed(*this);
  // 7. Speed and distance texts, brake squeak (not built yet); door lamps and departure signal; panel lamps;
  //    the clock text.
  speedTextStep(*this);
  doorStateStep(*this);
  panelLampStep(*this);
  timecalc(state.clock);
  // 8. Brake, emergency and automatic-brake sounds, ammeter and electric brake current, compressor.
  brakeSoundStep(*this);
  motorCurrentStep(*this);
  electricBrakeStep(*this);
  compressorStep(*this);
  // 9. Tunnel sound attenuation, track-side and positional sounds, the points.
  routeSoundStep(*this);
  switchSoundStep(*this);
  // 10. Gradient sampling.
  sampleGradient(*this);
  // 11. Signals, crossings, ATC, ATS-S, ATS-P, speed limits and checks.
  updateSignalAspects(*this);
  updateShownSignal(*this);
  trafficLightStep(*this);
  atcStep(*this);
  atsSPointStep(*this);
  atsSAlarmStep(*this);
  atsPStep(*this);
  speedLimitStep(*this);
  speedCheckStep(*this);
  limitNoticeStep(*this);
  // 12. Stations and doors, the call-out items along the line; the vigilance device; the stop warning.
  stationStep(*this);
  callOutItemsStep(*this);
  vigilanceStep(*this);
  stationWarningStep(*this);
  // 13. Running, motor and engine sounds; the horn and the buzzer; side videos (their "[MovieSwitch]" sounds not
  //     built yet); the ends of the line; automatic gear change and gear shifting.
  runningSoundStep(*this);
  motorSoundStep(*this);
  engineSoundStep(*this);
  hornBuzzerStep(*this);
  switchVideo(*this);
  lineEndBarriers(*this);
  automaticGearStep(*this);
  gearShiftStep(*this);
  // 14. Handle indicators, door status, the text mode's labels and the simple cab's lamps; engine start, stop and
  //     stall; roll-back protection; visual effects off from the first tick on; the tunnel flag (and the panel's
  //     tunnel shade) for the next tick; stopping-mark markers (not built yet).
  windowTextStep(*this);
  engineSwitchStep(*this);
  rollBackProtection(*this);
  settings.Tunnel = 1;
  updateTunnel(*this);
  tunnelShadeStep(*this);
  // 15. Value display feed; forced door closing; driver messages; announcements near stations.
  valueDisplayStep(*this);
  forcedDoorClosing(*this);
  driverMessageStep(*this);
  stationAnnouncementStep(*this);
  // The call-out queue, once a tick.
  kanko_queue_play();
}

void Drive::clearPerRunTables() {
  line.clearPerRunTables();
  // Call-outs waiting or pending belong to the place the train has left.
  callOutQueue.clear();
  state.pendingOther = kNone;
  state.pendingLimit = kNone;
  state.limitWarnPending = 0;
  state.limitEndPending = 0;
  state.lastCallOutId = -1;
  state.crossingQueue = emptyCrossingQueue();
  state.crossingPending = -1;
  nextStationTextFor = -1;
}

std::vector<std::string> Drive::takeUiEvents() {
  std::lock_guard lock(mutex_);
  return std::exchange(uiEvents, {});
}

DriveSnapshot Drive::snapshot() const {
  std::lock_guard lock(mutex_);
  DriveSnapshot shot;
  shot.timeMs = timeMs;
  const std::vector<const media::Sprite*> order = sprites.drawOrder();
  shot.sprites.reserve(order.size());
  for (const media::Sprite* sprite : order) shot.sprites.push_back(*sprite);
  shot.texts = texts;
  shot.handleTexts = handleTexts;
  shot.displays = displays;
  shot.frame = state.frame;
  shot.videoMode = state.videoMode;
  shot.clock = state.clock;
  shot.clockFace = clockFace.picture();
  shot.speed = state.speed;
  shot.position = state.position;
  shot.settings = settings;
  shot.viewSurfaceTop = viewSurfaceTop;
  shot.valueDisplayTitle = valueDisplayTitle;
  if (state.sideVideoRow >= 0 && state.sideVideoRow < route.movieSwitchCount) {
    shot.sideVideo = route.movieSwitches[static_cast<std::size_t>(state.sideVideoRow)].videoName;
  }
  shot.sideFrame = state.sideFrame;
  shot.lastFramePosition = lastFramePosition;
  shot.reversed = state.reversed;
  shot.auxWindows = auxWindowDataOf(*this);
  return shot;
}

namespace {

// The notch a controller's power position n gives in the selected power mode: the mode's n-th notch, or its last
// when it has fewer.
int controllerPowerNotch(const data::VehicleSpec& v, int mode, int n) {
  if (n <= 0) return 0;
  const int first = modeStart(v, mode) + 1;
  const auto inMode = [&](int notch) { return notch >= 1 && notch <= v.powerNotches && rowMode(v, notch - 1) == mode; };
  if (inMode(first - 1 + n)) return first - 1 + n;
  int last = 0;
  for (int notch = first; inMode(notch); ++notch) last = notch;
  return last;
}

}  // namespace

void Drive::controllerHandles(std::optional<int> powerPosition, std::optional<int> brakePosition) {
  control.idleTicks = 0;
  if (powerPosition) {
    control.powerHandle = controllerPowerNotch(vehicle, control.powerMode, *powerPosition);
    control.powerChangePending = 1;
  }
  if (brakePosition) {
    control.holdPosition = 0;
    control.brakeHandle = -std::clamp(*brakePosition, 0, vehicle.brakeNotches);
    control.brakeChangePending = 1;
    control.sapChangePending = 1;
    control.elecBrakeChangePending = 1;
  }
  masconupdate();
}

void Drive::globalSoundStop() {
  const int last = std::min(soundLayout.driveSoundCount + soundLayout.soundDataCount + soundLayout.calloutCounter,
                            media::SoundBank::kChannelCount - 1);
  for (int channel = 1; channel <= last; ++channel) sounds.stop(channel);
}

}  // namespace vesk::sim
