// The driver's keys: typed characters (AsciiDown), function and movement keys (keydowns, keyups) and the mouse
// wheel. They change the handles and switches, start a few sounds, and leave the rest to the tick.
#include <cmath>

#include "core/rounding.h"
#include "sim/brake.h"
#include "sim/drive.h"
#include "sim/handle_steps.h"
#include "sim/handle_texts.h"

namespace vesk::sim {
namespace {

bool channelPlaying(Drive& drive, int channel) { return drive.sounds.is_playing(channel); }

// "Play" for the handle sounds: only when the channel is silent, from the start.
void playWhenSilent(Drive& drive, int channel) {
  if (channelPlaying(drive, channel)) return;
  drive.sounds.stop(channel);
  drive.sounds.play_once(channel);
}

void restart(Drive& drive, int channel) {
  drive.sounds.stop(channel);
  drive.sounds.play_once(channel);
}

template <std::size_t N> int entry(const std::array<int, N>& table, int index) {
  return index >= 0 && index < static_cast<int>(N) ? table[static_cast<std::size_t>(index)] : -1;
}

void setAllPending(sim::ControlState& c) {
  c.powerChangePending = 1;
  c.brakeChangePending = 1;
  c.sapChangePending = 1;
  c.elecBrakeChangePending = 1;
}

void setBrakePending(sim::ControlState& c) {
  c.brakeChangePending = 1;
  c.sapChangePending = 1;
  c.elecBrakeChangePending = 1;
}

void showSprite(Drive& drive, std::string_view picture, bool visible) {
  if (media::Sprite* sprite = drive.sprites.findByPicture(picture)) sprite->visible = visible;
}

// The brake and power handle sounds: the new handle against the notch in effect.
void handleSounds(Drive& drive) {
  const data::VehicleSpec& v = drive.vehicle;
  const sim::ControlState& c = drive.control;
  const TrainState& s = drive.state;
  if (s.brakeNotch > c.brakeHandle) {
    for (int i = 1; i <= v.brakeNotches && i <= data::kMaxBrakeNotches; ++i) {
      drive.sounds.stop(entry(v.soundBrakeStep, i));
      drive.sounds.stop(entry(v.soundBrakeRelease, i));
      drive.sounds.stop(entry(v.soundBrakeApply, i - 1));
    }
  }
  const int from = -s.brakeNotch;  // the notch in effect, as a positive number
  // The automatic brake's emergency position has a sound of its own.
  const bool deeper = c.brakeHandle < s.brakeNotch && (v.brakeType != 0 || c.brakeHandle != -v.brakeNotches);
  if (v.brakeType == 0) {
    if (c.brakeHandle == 0 && s.brakeNotch < 0) {
      playWhenSilent(drive, entry(v.soundBrakeStep, from));
    } else if (c.brakeHandle > s.brakeNotch && c.brakeHandle < 0) {
      playWhenSilent(drive, entry(v.soundBrakeRelease, from));
    }
  }
  // Applied deeper from notch n: entry n + 1 of "[Sound_BA]", counted from 1, which is the value for position n.
  if (deeper) playWhenSilent(drive, entry(v.soundBrakeApply, from));
  if (c.powerHandle > s.powerNotch) {
    playWhenSilent(drive, entry(v.soundPowerApply, c.powerHandle));
  } else if (c.powerHandle < s.powerNotch) {
    if (c.powerHandle == 0) {
      const int release = entry(v.soundPowerRelease, s.powerNotch);
      playWhenSilent(drive, channelPlaying(drive, release) ? entry(v.soundPowerApply, 1) : release);
    } else {
      playWhenSilent(drive, entry(v.soundPowerApply, c.powerHandle + 1));
    }
  }
}

// The space bar on ATS-S: the chime is silenced, and an alarm that braking answers is confirmed. Returns false
// when the press is ignored altogether (the automatic brake in its running position).
bool atsConfirm(Drive& drive) {
  TrainState& s = drive.state;
  const data::VehicleSpec& v = drive.vehicle;
  if ((s.atsSpeedCode == 998 && core::nearest(s.speed) == 0) || s.atsSpeedCode != 998) {
    if (drive.sounds.is_playing(v.soundAts2)) {
      drive.sounds.stop(v.soundAts2);
      drive.sounds.play_once(v.soundAts3);
    }
  }
  if (s.atsConfirmed == 1) {
    s.atsConfirmed = 0;
    s.atsAlarm = 0;
  }
  if (s.atsAlarm == 1 && drive.control.brakeHandle < 0 && s.emergencyLatched == 0) {
    if (v.brakeType == 0 && drive.control.brakeHandle == -1) return false;
    s.atsAlarm = 0;
    s.atsConfirmed = 1;
    s.atsAlarmTicks = 0;
    s.atsAcknowledged = 1;
  }
  return true;
}

int announcementChannel(const Drive& drive, int index) {
  if (index < 0 || index >= data::kAnnounceCapacity) return -1;
  return drive.route.announcements[static_cast<std::size_t>(index)].sound + drive.soundLayout.driveSoundCount;
}

}  // namespace

void Drive::AsciiDown(char character) {
  sim::ControlState& c = control;
  TrainState& s = state;
  const data::VehicleSpec& v = vehicle;
  // Any character is a sign of life for the vigilance device.
  c.idleTicks = 0;
  sounds.stop(v.soundEbRing);
  showSprite(*this, "img_Lamp_EB", false);
  char ch = character;
  if (c.swapBrakeKeys == 1) {
    if (ch == '2')
      ch = '8';
    else if (ch == '8')
      ch = '2';
  }
  if (c.inputLocked == 1) return;

  const bool combined = v.handleLayout == 0;
  const double speed = std::fabs(s.speed);
  if ((ch == 'f' || ch == 'b' || ch == 'n') && speed <= 1.0) {
    c.reverser = ch == 'f' ? 1 : ch == 'b' ? -1 : 0;
    masconupdate();
  }
  if (combined && ch == 'z') {
    sim::powerUp(c, v);
    sim::brakeRelease(c, v);
    setAllPending(c);
  }
  if (combined && ch == 'a') {
    sim::brakeStep(c, v);
    sim::powerDown(c, v);
    setAllPending(c);
  }
  if (combined && ch == 'q') {
    sim::emergency(c, v, true);
    setAllPending(c);
  }
  if (!combined && (ch == 'z' || ch == 'a')) {
    if (ch == 'z')
      sim::powerUp(c, v, false);
    else
      sim::powerDown(c, v);
    c.powerChangePending = 1;
  }
  if (!combined && (ch == ',' || ch == '.')) {
    if (ch == ',')
      sim::brakeRelease(c, v, false);
    else
      sim::brakeStep(c, v, false);
    setBrakePending(c);
  }
  if (!combined && ch == '/') {
    sim::emergency(c, v, false);
    setBrakePending(c);
  }
  if (ch == '8') {
    // The power test comes first: a press that releases the brake never also applies power.
    sim::powerUp(c, v);
    sim::brakeRelease(c, v);
    setAllPending(c);
  }
  if (ch == '2') {
    sim::brakeStep(c, v);
    if (c.brakeHandle == 0)
      sim::powerDown(c, v);
    else
      sim::powerDownFromFirstNotch(c, v);
    setAllPending(c);
  }
  if (ch == '5') {
    c.holdPosition = 0;
    c.brakeHandle = 0;
    c.powerHandle = 0;
    setAllPending(c);
  }
  if (ch == '0') {
    sim::emergency(c, v, true);
    setAllPending(c);
  }
  masconupdate();
  if (ch == '3') {
    if (v.soundHorn4[0] == 0)
      restart(*this, v.soundHorn);
    else
      c.hornHeld = 1;
  }
  if (ch == '6') restart(*this, v.soundHorn2);
  if (ch == '4') c.buzzerHeld = 1;
  if ((ch == 'd' || ch == '7') && route.oneMan >= 1) Door_operate();
  if (ch == 'r' && c.brakeHandle == -v.brakeNotches && speed < 0.1) {
    // ATS reset, standing with the handle in emergency.
    s.emergencyLatched = 0;
    s.atsBrakeLatched = 0;
    sounds.stop(v.soundAts1);
    s.atsConfirmed = 1;
    s.atsAlarm = 0;
    s.atsAlarmTicks = 0;
    s.atsAcknowledged = 0;
    showSprite(*this, "img_Lamp_Ats1", true);
    showSprite(*this, "img_Lamp_Ats2", false);
  }
  if (ch == ' ' && v.atsType == 0 && !atsConfirm(*this)) return;
  if ((ch == 'c' || ch == '1') && route.oneMan == 1 && c.announceIndex <= route.announceCount &&
      !sounds.is_playing(announcementChannel(*this, c.announceIndex))) {
    // The next in-car announcement (the station events it may raise come with the station logic).
    if (c.announceIndex > 0) sounds.stop(announcementChannel(*this, c.announceIndex - 1));
    restart(*this, announcementChannel(*this, c.announceIndex));
    c.announceIndex += 1;
  }
  if (ch == '-' && route.oneMan == 1 && c.announceIndex > 0) {
    sounds.stop(announcementChannel(*this, c.announceIndex - 1));
    c.announceIndex -= 1;
  }
  if ((ch == '9' || ch == 'w') && c.powerHandle == 0) {
    c.powerMode = v.powerModeCount > 0 ? (c.powerMode + 1) % v.powerModeCount : 0;
    c.powerHandle = 0;
    masconupdate();
  }
  if (ch == 't' && c.powerHandle == v.powerNotches && s.speed > 15 && c.constantSpeed == 0 && v.constSpeedMode == 1) {
    c.constantSpeed = 1;
    handleTexts.powerText = strings.constText;
  }
  if ((ch == 'w' || ch == 's' || ch == 'x') && v.engineType == 0 && v.gearType == 1) {
    c.gear = ch == 'w' ? 2 : ch == 's' ? 0 : 1;
    masconupdate();
  }
  // The gear text follows the lever.
  handleTexts.gearText = sim::gearText(*this);
  handleSounds(*this);
}

void Drive::keydowns(sim::Key key, bool shift) {
  using sim::Key;
  TrainState& s = state;
  sim::ControlState& c = control;
  if (key == Key::Backspace && route.movieStopCount > 0) {
    // Standing just before the barrier, the driver may take the train past it the other way.
    const int barrier = route.movieStops[0];
    if (std::fabs(s.speed) < 0.1 && barrier - 200 < s.frame && s.frame <= barrier) {
      s.frame = barrier + 2;
      s.reversed = 1;
    }
  }
  if (key == Key::ScrollLock) c.swapBrakeKeys = c.swapBrakeKeys == 0 ? 1 : 0;
  if (shift && key == Key::Up && viewSurfaceTop > -150) viewSurfaceTop -= 50;
  if (shift && key == Key::Down && viewSurfaceTop < 0) viewSurfaceTop += 50;
  if (key == Key::Enter) callOutResponse();
  if (key == Key::F1) c.autoRun = shift ? 1 : 0;
  // Debugging aids: speed, clock and frame by hand.
  if (shift && key == Key::F11 && s.speed > 10) s.speed -= 10;
  if (shift && key == Key::F12 && s.speed < 1000) s.speed += 10;
  if (shift && key == Key::F10) s.clock += 900;
  if (shift && key == Key::F9) s.clock -= 900;
  if (shift && key == Key::F8) s.frame += 1000;
  if (shift && key == Key::F7) s.frame -= 1000;
  if (shift && key == Key::F6) s.frame += 100;
  if (shift && key == Key::F5) s.frame -= 100;
  if (key == Key::F2) c.engineSwitch = shift ? 2 : 1;
  if (shift && key == Key::F3) {
    // Jump to just before the next signal.
    for (int i = 0; i + 1 < route.signalCount; ++i) {
      const data::SignalRow& row = route.signals[static_cast<std::size_t>(i)];
      if (row.visibleFrom <= s.frame && s.frame < row.visibleTo) {
        s.shownSignalImage = kNone;
        s.lastSignalImage = kNone;
        s.shownSignalCallout = kNone;
        s.frame = route.signals[static_cast<std::size_t>(i) + 1].visibleTo - 10;
        break;
      }
    }
  }
  if (key == Key::F3) {
    valueDisplayShown = !valueDisplayShown;
    if (valueDisplayShown) return;
  }
  if ((key == Key::PageUp || key == Key::PageDown) && s.doorOpenCommanded == 0 && s.doorsNotClosed == 0) {
    doorText = strings.doorsTexts[key == Key::PageUp ? 0 : 1];
  }
}

void Drive::keyups(sim::Key key) {
  if (key == sim::Key::F2) control.engineSwitch = 0;
}

void Drive::WheelD() { AsciiDown('8'); }

void Drive::WheelU() { AsciiDown(control.brakeHandle == -(vehicle.brakeNotches - 1) ? '0' : '2'); }

}  // namespace vesk::sim
