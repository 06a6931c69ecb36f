// ATS-S: the two track points before each signal set the ATS code of the section (998 warns of a stop signal
// ahead, 0 means a stop signal is being passed, a speed is a speed check), and the alarm: the bell rings until the
// driver, braking, confirms it; unconfirmed for "[ATS_Time]" seconds, or at a stop signal's second point, the
// emergency brake is latched.
#include <cstdlib>

#include "sim/brake.h"
#include "sim/drive.h"
#include "sim/protection.h"
#include "sim/signal_pictures.h"

namespace vesk::sim {
namespace {

constexpr int kPointFrames = 15;
constexpr int kStopWarning = 998;

bool near(std::int32_t frame, int point) { return std::abs(static_cast<std::int64_t>(frame) - point) <= kPointFrames; }

bool oneOf(int picture, std::initializer_list<int> pictures) {
  for (int p : pictures) {
    if (p == picture) return true;
  }
  return false;
}

// The clear pictures: no speed check follows.
bool isClearPicture(int picture) { return oneOf(picture, {9, 12, 16, 20, 25, 28, 29, 33, 34, 40}); }

// The check speed at the second point for a picture (ATS speed-check mode): the "[Speed_Signal]" speed of the
// picture's restriction, 999 where the list has none.
std::optional<int> checkSpeedOf(const Drive& drive, int picture) {
  int index = -1;
  if (oneOf(picture, {18, 22})) index = 1;
  if (oneOf(picture, {8, 11, 14, 19, 23, 27, 31})) index = 2;
  if (oneOf(picture, {15, 24, 32})) index = 3;
  if (oneOf(picture, {9, 12, 16, 20, 25, 28, 29, 33, 34})) index = 4;
  if (index < 0) return std::nullopt;
  return signalSpeed(drive, index).value_or(kNone);
}

}  // namespace

void atsSPointStep(Drive& drive) {
  const data::VehicleSpec& v = drive.vehicle;
  if ((v.atsType != 0 && v.atsType != 1) || drive.control.atsOn == 0) return;
  TrainState& s = drive.state;
  const data::RouteData& r = drive.route;
  const int n = std::min(r.signalCount, data::kSignalCapacity);
  for (int i = 0; i < n; ++i) {
    const data::SignalRow& row = r.signals[static_cast<std::size_t>(i)];
    if (near(s.frame, row.atsPoint1)) {
      const int picture = drive.line.signals[static_cast<std::size_t>(i)].image;
      if (v.atsType == 0 && v.atsAlertMode == 0 && row.headType >= 1 && isStopPicture(picture)) {
        s.atsSpeedCode = kStopWarning;
      }
      if (v.atsAlertMode == 1 && isClearPicture(s.shownSignalImage)) s.atsSpeedCode = kNone;
    }
    if (near(s.frame, row.atsPoint2)) {
      const int shown = s.shownSignalImage;
      if (isStopPicture(shown) && shown != 1 && shown != 4) s.atsSpeedCode = 0;
      if (v.atsAlertMode == 1) {
        if (const auto speed = checkSpeedOf(drive, shown)) s.atsSpeedCode = *speed;
        if (shown == 26 || shown == 32) s.atsSpeedCode = kNone;
      }
      s.shownSignalImage = kNone;
      s.lastSignalImage = kNone;
    }
  }
}

void atsSAlarmStep(Drive& drive) {
  const data::VehicleSpec& v = drive.vehicle;
  if (v.atsType != 0 || drive.control.atsOn == 0) return;
  TrainState& s = drive.state;
  media::SoundBank& sounds = drive.sounds;
  const ProtectionSprites& ids = protectionSprites(drive);

  if (drive.control.brakeHandle != -v.brakeNotches) {
    const bool overSpeed = v.atsAlertMode == 1 && s.speed > s.atsSpeedCode;
    const bool stopWarning = v.atsAlertMode == 0 && s.atsSpeedCode == kStopWarning && s.atsAcknowledged == 0;
    const bool stopPassed = v.atsAlertMode == 0 && s.atsSpeedCode == 0;
    if (overSpeed || stopWarning || stopPassed) {
      s.atsAlarm = 1;
      s.atsConfirmed = 0;
    }
  }
  // The bell rings from the alarm until the confirmation. ("[Lamp_YG]", "[Lamp_Y]" and "[Lamp_YY]" have no
  // panel element.)
  if (s.atsAlarm == 1 && !sounds.is_playing(v.soundAts1)) {
    s.atsAlarmCode = s.atsSpeedCode;
    sounds.stop(v.soundAts1);
    sounds.stop(v.soundAts2);
    sounds.play_loop(v.soundAts1);
    showSprite(drive, ids.lampAts1, false);
    showSprite(drive, ids.lampAts2, true);
    if (s.atsSpeedCode == 0) latchEmergencyBraking(drive);
  }
  // Confirmed: the chime replaces the bell.
  if (s.atsConfirmed == 1 && !sounds.is_playing(v.soundAts2)) {
    sounds.stop(v.soundAts1);
    if (v.atsChimeMode == 0) {
      sounds.play_loop(v.soundAts2);
    } else {
      sounds.play_once(v.soundAts2);
    }
    s.atsConfirmed = 0;
    showSprite(drive, ids.lampAts1, true);
    showSprite(drive, ids.lampAts2, false);
  }
  if (s.atsAlarm == 1) {
    s.atsAlarmTicks += 1;
    if (s.atsAlarmTicks > 10 * static_cast<std::int64_t>(v.atsTime)) {
      s.emergencyLatched = 1;
      s.powerNotch = 0;
      restartBrakeDelays(drive);
      drive.masconupdate();
      s.atsAlarmTicks = 0;
    }
  }
}

}  // namespace vesk::sim
