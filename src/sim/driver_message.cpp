// The advice message: what the driver should do next, built from the state every tick. A message is a text to
// show ("0" + text) or a sound to play on the announcement channel ("1" + file: once, "2" + file: looped); it
// acts only when it differs from the last tick's, so a sound message plays once until another replaces it.
#include <cmath>

#include "core/rounding.h"
#include "sim/drive.h"
#include "sim/driver_info.h"

namespace vesk::sim {
namespace {

std::string entry(const Drive& drive, int n) {
  const std::string text =
      n < drive.strings.infoLabelCount ? drive.strings.infoLabels[static_cast<std::size_t>(n)] : std::string();
  return "0" + text;
}

bool isCautionImage(int image) {
  return image == 8 || image == 11 || image == 14 || image == 19 || image == 23 || image == 27 || image == 31;
}

// The signal and stopping advice, when neither brake latch has spoken.
std::string signalAdvice(const Drive& drive, std::string message) {
  const TrainState& s = drive.state;
  const int image = s.shownSignalImage;
  if (s.atsAlarm != 0 && drive.control.atsOn != 0) {
    message = entry(drive, 13);
  } else if (drive.control.idleTicks >= 601) {
    message = entry(drive, 14);
  } else if (isCautionImage(image) && s.speed > 55) {
    message = entry(drive, 15);
  } else if ((image == 15 || image == 24) && s.speed > 75) {
    message = entry(drive, 16);
  } else if ((image == 18 || image == 22) && s.speed > 25) {
    message = entry(drive, 17);
  }
  // Too fast for the stop ahead: braking at about 5 km/h/s would not stop short of it.
  if (s.distanceToStop > 25000 && (s.speed / 5) * (s.speed / 3.6) > s.distanceToStop / 100 - 125) {
    const std::string stopAdvice = entry(drive, 18);
    message = message.empty() ? stopAdvice : message + stopAdvice.substr(1);
  }
  return message;
}

}  // namespace

std::string buildAdviceMessage(const Drive& drive) {
  const TrainState& s = drive.state;
  const ControlState& c = drive.control;
  const double speed = std::abs(s.speed);
  const bool stopped = core::nearest(s.speed) == 0;
  std::string message;
  if (s.videoMode == 1 && c.powerHandle > 0) message = entry(drive, 10);
  if (c.atsOn == 0 && drive.settings.ATS == 0 && c.powerHandle > 1) message = entry(drive, 20);
  if (stopped && drive.route.movieStopCount > 0) {
    const int barrier = drive.route.movieStops[0];
    if (s.frame >= barrier - 200 && s.frame <= barrier) message = entry(drive, 21);
  }
  bool latchSpoke = false;
  if (s.atsBrakeLatched != 0 && s.atspState > 1 && speed > 0.1) {
    message = entry(drive, 11);
    latchSpoke = true;
  } else if (s.atsBrakeLatched != 0 && s.atspState > 1 && speed < 0.1) {
    message = entry(drive, 12);
  }
  if (!latchSpoke && s.emergencyLatched != 0) {
    if (s.atsAlarm != 0 && speed > 0.5) {
      message = entry(drive, 11);
      latchSpoke = true;
    } else if (s.atspState < 2 && stopped) {
      message = entry(drive, 12);
    } else if (s.atspState >= 2) {
      message = entry(drive, 11);
    }
  }
  if (!latchSpoke) message = signalAdvice(drive, message);
  if (c.powerHandle > 0 && drive.vehicle.engineType == 0 && s.engineRunning == 0 && speed < 0.5) {
    message = "0エンストしました。変速レバーを変速段に入れてエンジンを再始動してください。";
  }
  return message;
}

void driverMessageStep(Drive& drive) {
  const ControlState& c = drive.control;
  // The ATS-off warning sounds while the driver takes power with the ATS switched off outside beginner mode.
  const int warnChannel = drive.vehicle.soundAtsWarn;
  if (c.atsOn == 0 && drive.settings.ATS == 0 && c.powerHandle > 1) {
    if (!drive.sounds.is_playing(warnChannel)) drive.sounds.play_loop(warnChannel);
  } else if (drive.sounds.is_playing(warnChannel)) {
    drive.sounds.stop(warnChannel);
  }

  showAdviceMessage(drive, buildAdviceMessage(drive));
}

void showAdviceMessage(Drive& drive, const std::string& message) {
  if (message == drive.state.adviceMessage) return;
  drive.state.adviceMessage = message;
  if (message.empty()) {
    drive.texts.MessageText.clear();
    return;
  }
  const char kind = message[0];
  if (kind == '0') {
    drive.texts.MessageText = message.substr(1);
  } else if (kind == '1' || kind == '2') {
    const int channel = drive.soundLayout.announcementChannel();
    drive.sounds.stop(channel);
    if (drive.messageWaves) drive.sounds.bind_wave(channel, drive.messageWaves(message.substr(1)));
    if (kind == '1') {
      drive.sounds.play_once(channel);
    } else {
      drive.sounds.play_loop(channel);
    }
  }
}

}  // namespace vesk::sim
