// The texts for the driver: speed and distance, the ATS-P and speed-limit notices, the text mode's labels and
// the simple cab's notch lamps.
#include <array>
#include <cmath>
#include <cstdio>

#include "core/rounding.h"
#include "sim/drive.h"
#include "sim/driver_info.h"

namespace vesk::sim {
namespace {

std::string formatted(const char* format, double value) {
  std::array<char, 64> text{};
  std::snprintf(text.data(), text.size(), format, value);
  return text.data();
}

const std::string& entry(const Drive& drive, int n) {
  static const std::string none;
  return n < drive.strings.infoLabelCount ? drive.strings.infoLabels[static_cast<std::size_t>(n)] : none;
}

std::string number(std::int64_t n) { return std::to_string(n); }

}  // namespace

std::string stopDistanceText(double distanceToStop) {
  const double metres = distanceToStop / 100;
  const double size = std::abs(distanceToStop);
  const char* format = size > 1000 ? "%5.0f m" : size > 500 ? "%5.1f m" : "%5.2f m";
  return formatted(format, metres);
}

void speedTextStep(Drive& drive) {
  drive.texts.SpeedText = formatted("%5.1f km/h", drive.state.speed);
  drive.texts.StopDistanceText = stopDistanceText(drive.state.distanceToStop);
}

void limitNoticeStep(Drive& drive) {
  const TrainState& s = drive.state;
  OverlayTexts& t = drive.texts;
  t.LimitNoticeText.clear();
  t.LimitText.clear();
  const std::int64_t d = core::nearest(s.atspDistance / 100);
  if (s.atspTarget == 1 && s.speed > s.atspTarget && d > 0) {
    t.LimitNoticeText = entry(drive, 2);
  } else if (s.atspTarget == 10 && s.atspP1 - s.speed < 30 && s.speed > s.atspTarget && d > 0) {
    t.LimitNoticeText = number(s.atspTarget) + "km/h " + entry(drive, 3) + number(d) + "m";
  } else if (s.upcomingLimitWarned[0] != 0 && s.upcomingLimitSpeeds[0] != kNone) {
    t.LimitNoticeText =
        number(s.upcomingLimitSpeeds[0]) + "km/h " + entry(drive, 4) + number(s.upcomingLimitMetres[0]) + "m";
    if (s.upcomingLimitWarned[1] != 0 && s.upcomingLimitSpeeds[1] != kNone) {
      t.LimitText = entry(drive, 5) + number(s.upcomingLimitSpeeds[1]) + "km/h " + entry(drive, 7) + ")";
    }
  } else if (s.upcomingCheckWarned[0] != 0 && s.upcomingCheckSpeeds[0] != kNone) {
    t.LimitNoticeText = number(s.upcomingCheckSpeeds[0]) + "km/h 照査まで" + number(s.upcomingCheckMetres[0]) + "m";
    // The next check ahead, else the next limit, when it too is within its warning distance.
    std::int32_t following = kNone;
    if (s.upcomingCheckWarned[1] != 0) following = s.upcomingCheckSpeeds[1];
    if (following == kNone && s.upcomingLimitWarned[0] != 0) following = s.upcomingLimitSpeeds[0];
    if (following != kNone) t.LimitText = entry(drive, 5) + number(following) + "km/h " + entry(drive, 6) + ")";
  }
}

void windowTextStep(Drive& drive) {
  DriverDisplays& d = drive.displays;
  const ControlState& c = drive.control;
  if (drive.settings.Moji == 1) {
    const HandleTexts& h = drive.handleTexts;
    const OverlayTexts& t = drive.texts;
    d.labels = {h.reverserText,
                h.powerText,
                h.brakeText,
                h.gearText,
                t.NextStopText,
                t.StationNoticeText,
                t.OneManText,
                t.ClockText,
                t.RemainText,
                t.SpeedCheckText,
                t.LimitNoticeText,
                t.SpeedText,
                t.StopDistanceText,
                drive.state.fromStationText,
                drive.state.toStationText};
  }
  d.subDispShown = drive.settings.Moji == 1;
  for (int i = 0; i < 5; ++i) d.simpleCab.KP[static_cast<std::size_t>(i)] = c.powerHandle >= i + 1;
  d.simpleCab.KN = c.powerHandle == 0 && c.brakeHandle == 0;
  for (int i = 0; i < 8; ++i) d.simpleCab.KB[static_cast<std::size_t>(i)] = c.brakeHandle <= -(i + 1);
}

}  // namespace vesk::sim
