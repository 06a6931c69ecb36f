// The speed limits ahead: the next three "[SpeedLimit]" rows and the next three "[SpeedCheck1]" checks that
// apply, how far they are and whether the train is within the distance at which the driver must start braking
// for them (kept for the driver's notices); and the limit sign of the forward view, which shows the limit in
// force, blinks with the next one while it is announced, and shows the release sign after a limit ends.
#include <algorithm>
#include <cmath>

#include "core/rounding.h"
#include "sim/drive.h"
#include "sim/protection.h"

namespace vesk::sim {
namespace {

constexpr int kReleaseFrames = 200;

// Where the driver must start braking for a limit: braking at 3 km/h/s plus one second, or twice the speed in
// metres when the train is not above the limit (cm).
double warningDistance(int limit, double speed) {
  if (speed > limit) return ((limit + speed) * (speed - limit) / 21.6 + speed) * 100;
  return std::round(speed) * 200;  // nearest(): halves away from zero
}

struct Ahead {
  std::int32_t& speed;
  std::int32_t& metres;
  std::int32_t& warned;
};

// Records one limit or check ahead; returns whether the train is within its warning distance.
bool note(Ahead out, int limit, double distance, double trainSpeed) {
  out.speed = limit;
  out.metres = core::saturate32(core::nearest(distance / 100));
  out.warned = distance <= warningDistance(limit, trainSpeed) ? 1 : 0;
  return out.warned != 0;
}

void clearAhead(Ahead out) {
  out.speed = kNone;
  out.metres = 0;
  out.warned = 0;
}

// The next three limits ahead; returns the first row within its warning distance, or -1.
int limitsAhead(Drive& drive) {
  TrainState& s = drive.state;
  const data::RouteData& r = drive.route;
  const int n = std::min(r.speedLimitCount, data::kSpeedLimitCapacity);
  int first = n;
  for (int i = 0; i < n; ++i) {
    if (static_cast<double>(r.speedLimits[static_cast<std::size_t>(i)].position) > s.position) {
      first = i;
      break;
    }
  }
  int warned = -1;
  for (std::size_t k = 0; k < 3; ++k) {
    const Ahead out{s.upcomingLimitSpeeds[k], s.upcomingLimitMetres[k], s.upcomingLimitWarned[k]};
    const int i = first + static_cast<int>(k);
    if (i >= n) {
      clearAhead(out);
      continue;
    }
    const data::SpeedLimitRow& row = r.speedLimits[static_cast<std::size_t>(i)];
    if (note(out, row.limit, static_cast<double>(row.position) - s.position, s.speed) && warned < 0) warned = i;
  }
  return warned;
}

void checksAhead(Drive& drive) {
  TrainState& s = drive.state;
  const data::RouteData& r = drive.route;
  const int n = std::min(r.speedCheck1Count, data::kSpeedCheckCapacity);
  std::size_t k = 0;
  for (int i = 0; i < n && k < 3; ++i) {
    const data::SpeedCheck1Row& row = r.speedChecks1[static_cast<std::size_t>(i)];
    const double distance = static_cast<double>(row.position) - s.position;
    if (distance <= 0 || !speedCheckApplies(drive, row.signalLink)) continue;
    note({s.upcomingCheckSpeeds[k], s.upcomingCheckMetres[k], s.upcomingCheckWarned[k]}, row.limit, distance, s.speed);
    ++k;
  }
  for (; k < 3; ++k) clearAhead({s.upcomingCheckSpeeds[k], s.upcomingCheckMetres[k], s.upcomingCheckWarned[k]});
}

void showLimit(media::Sprite* sign, int image) {
  if (sign == nullptr) return;
  sign->pattern = image;
  sign->visible = true;
}

}  // namespace

void speedLimitStep(Drive& drive) {
  TrainState& s = drive.state;
  const data::RouteData& r = drive.route;
  const int warned = limitsAhead(drive);
  checksAhead(drive);

  media::Sprite* sign = spriteOf(drive, protectionSprites(drive).limitSign);
  const int n = std::min(r.speedLimitCount, data::kSpeedLimitCapacity);
  if (warned >= 0) {
    // The limit ahead is announced: its sign blinks.
    const data::SpeedLimitRow& row = r.speedLimits[static_cast<std::size_t>(warned)];
    if (sign != nullptr) {
      sign->pattern = row.signImage;
      if (s.limitBlink == 0) sign->visible = true;
    }
    s.shownLimitSpeed = row.limit;
    s.shownLimitImage = row.signImage;
    s.limitBlink = 1;
    s.limitUpcoming = 0;
  } else {
    s.limitBlink = 0;
    int inside = -1;
    int release = -1;
    for (int i = 0; i < n; ++i) {
      const data::SpeedLimitRow& row = r.speedLimits[static_cast<std::size_t>(i)];
      if (inside < 0 && row.frame <= s.frame && s.frame < row.endFrame) inside = i;
      const std::int64_t after = static_cast<std::int64_t>(s.frame) - row.endFrame;
      if (row.releaseImage != 0 && after >= 0 && after < kReleaseFrames) release = i;
    }
    if (inside >= 0) {
      const data::SpeedLimitRow& row = r.speedLimits[static_cast<std::size_t>(inside)];
      if (row.limit != s.shownLimitSpeed) {
        s.shownLimitSpeed = row.limit;
        s.shownLimitImage = row.signImage;
        if (sign != nullptr) sign->pattern = row.signImage;
      }
      if (sign != nullptr) sign->visible = true;
      s.limitUpcoming = 0;
    } else if (release >= 0) {
      const int image = r.speedLimits[static_cast<std::size_t>(release)].releaseImage;
      showLimit(sign, image);
      s.shownLimitSpeed = kNone;
      s.shownLimitImage = image;
      s.limitUpcoming = 1;
    } else {
      // No limit in force and none announced: the sign goes.
      if (sign != nullptr) sign->visible = false;
      s.shownLimitSpeed = kNone;
      s.shownLimitImage = kNone;
      s.limitUpcoming = 0;
    }
  }
  // Blinking at 1 Hz: dark at tick counts ending in 5, lit at those ending in 0.
  if (s.limitBlink != 0 && sign != nullptr) {
    if (s.tickCount % 10 == 5) sign->visible = false;
    if (s.tickCount % 10 == 0) sign->visible = true;
  }
}

}  // namespace vesk::sim
