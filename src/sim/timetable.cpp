// The timetable clock: the clock text and the analog clock's time, once a simulated second.
#include <cstdio>

#include "sim/drive.h"

namespace vesk::sim {
namespace {

constexpr std::int64_t kUnitsPerSecond = 30;
constexpr std::int64_t kUnitsPerHour = 108000;
constexpr std::int64_t kUnitsPerDay = 24 * kUnitsPerHour;

}  // namespace

void Drive::timecalc(std::int32_t clock) {
  // A clock set back before midnight reads as the evening before.
  std::int64_t a = clock;
  if (a < 0) a = a % kUnitsPerDay + kUnitsPerDay;
  const std::int64_t second = a / kUnitsPerSecond;
  if (second == state.clockSecond) return;
  state.clockSecond = static_cast<std::int32_t>(second);
  const auto h = static_cast<int>(a / kUnitsPerHour);
  const auto d = static_cast<int>(second - std::int64_t{3600} * h);
  const int m = d / 60;
  const int s = d - 60 * m;
  char text[32];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", h, m, s);
  state.clockText = text;
  texts.ClockText = state.clockText;
  if (vehicle.clock.x > 0 && vehicle.clock.y > 0) clockFace.setTime(h, m, s, vehicle.clock.radius);
}

}  // namespace vesk::sim
