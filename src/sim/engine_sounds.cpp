// A diesel's sounds: the engine ("[EngineSound1]" rows, following the engine speed), the transmission
// ("[EngineSound3]" rows, following the speed) and the two idle sounds ("[EngineSound2]") that change with the
// doors. Each engine or transmission row sounds between two points, with rate and level along the line between
// them, and fades in over the 10 units below the first point and out over the 10 above the second.
#include <algorithm>
#include <cmath>

#include "sim/drive.h"
#include "sim/sound_levels.h"
#include "sim/sound_select.h"

namespace vesk::sim {
namespace {

constexpr double kRamp = 10;
// The first idle sound takes over again after this many ticks of closing doors; the second sounds for the first
// ones.
constexpr int kIdleBackTicks = 55;
constexpr int kClosingIdleTicks = 30;

struct TwoPoints {
  double from = 0;
  double to = 0;
  double rateFrom = 0;
  double rateTo = 0;
  double levelFrom = 0;
  double levelTo = 0;
};

struct RowShape {
  double level = 1;
  double rate = 0;
  bool hasRate = false;
};

// Outside the points and their ramps the level is 1 and the rate is left as it was; on a ramp the rate stays at
// the nearer point's.
RowShape shapeAt(const TwoPoints& t, double x) {
  if (t.from <= x && x <= t.to) {
    return {alongLine(x, t.from, t.levelFrom, t.to, t.levelTo), alongLine(x, t.from, t.rateFrom, t.to, t.rateTo), true};
  }
  if (t.from - kRamp <= x && x < t.from) return {t.levelFrom * (x - (t.from - kRamp)) / kRamp, t.rateFrom, true};
  if (t.to < x && x <= t.to + kRamp) return {t.levelTo * (t.to + kRamp - x) / kRamp, t.rateTo, true};
  return {};
}

// "[EngineSound1]": file, mode, then s0, s1, s2, r0, r1, r2, g0, g1, g2; a diesel uses the first and last point.
TwoPoints enginePoints(const data::EngineSound1Row& row) {
  const auto& q = row.p;
  return {q[0], q[2], q[3], q[5], q[6], q[8]};
}

// "[EngineSound3]": file, kind, gear, then from, to, the rates there and the levels there.
TwoPoints transmissionPoints(const data::EngineSound3Row& row) {
  const auto& q = row.r;
  return {q[0], q[1], q[2], q[3], q[4], q[5]};
}

double engineRowGain(int mode, const TrainState& s) {
  if (mode >= 0) return mode == s.engagedGear ? 100 : 1;
  if (mode == -1) return 100;
  if (mode == -2) return s.brakeNotch < 0 ? 100 : 1;
  return 1;
}

void engineRows(Drive& drive) {
  TrainState& s = drive.state;
  const int rows = std::clamp(drive.vehicle.engineSound1Count, 0, data::kEngineSoundCapacity);
  sizeRows(s.motorGain, rows);
  sizeRows(s.motorLevel, rows);
  const bool shifting = s.shiftState != 0;
  if (s.powerNotch >= 1 && !shifting && s.engineRunning == 1) {
    if (s.motorMaster < 95) s.motorMaster += 5;
  } else if ((s.powerNotch < 1 || shifting) && s.motorMaster > 5) {
    s.motorMaster -= 5;
  }
  media::SoundBank& bank = drive.sounds;
  const int first = drive.soundLayout.driveSoundCount + drive.soundLayout.soundDataCount;
  for (int i = 0; i < rows; ++i) {
    const auto at = static_cast<std::size_t>(i);
    const data::EngineSound1Row& row = drive.vehicle.engineSounds1[at];
    const int channel = environmentChannel(first, i);
    const RowShape shape = shapeAt(enginePoints(row), s.engineRpm);
    if (shape.hasRate) bank.set_rate(channel, shape.rate);
    s.motorLevel[at] = shape.level;
    s.motorGain[at] = engineRowGain(row.channelParam, s);
    bank.set_volume(channel, logVolumeNearest(1660, shape.level * s.motorGain[at] * s.motorMaster / 1e6));
    loopWhenSilent(bank, channel);
  }
}

void transmissionRows(Drive& drive) {
  TrainState& s = drive.state;
  const data::VehicleSpec& v = drive.vehicle;
  const int rows = std::clamp(v.engineSound3Count, 0, data::kEngineSoundCapacity);
  sizeRows(s.engine3Gain, rows);
  sizeRows(s.engine3Level, rows);
  const bool shifting = s.shiftState != 0;
  if ((s.powerNotch >= 1 || s.brakeNotch < 0) && !shifting && s.engineRunning == 1) {
    if (s.engine3Master < 95) s.engine3Master += 10;
  } else if (s.engine3Master > 10) {
    s.engine3Master -= 10;
  }
  media::SoundBank& bank = drive.sounds;
  const media::SoundLayout& layout = drive.soundLayout;
  const int first = layout.driveSoundCount + layout.soundDataCount + layout.engineSound1Count;
  const double speed = std::fabs(s.speed);
  for (int i = 0; i < rows; ++i) {
    const auto at = static_cast<std::size_t>(i);
    const data::EngineSound3Row& row = v.engineSounds3[at];
    const int channel = environmentChannel(first, i);
    const RowShape shape = shapeAt(transmissionPoints(row), speed);
    if (shape.hasRate) bank.set_rate(channel, shape.rate);
    s.engine3Level[at] = shape.level;
    // Kind 1 whines in its gear under power, kind 2 under the brake while the retarder works.
    const bool rising = (row.q1 == 1 && s.powerNotch >= 1 && row.q2 == s.engagedGear) ||
                        (row.q1 == 2 && s.brakeNotch < 0 && s.speed > v.elecBrakeFadeSpeed);
    double& gain = s.engine3Gain[at];
    if (rising) {
      if (gain < 95) gain += 10;
    } else if (gain > 10) {
      gain -= 10;
    }
    bank.set_volume(channel, logVolumeNearest(1660, shape.level * gain * s.engine3Master / 1e6));
    loopWhenSilent(bank, channel);
  }
}

// The first idle sound runs with the doors closed; while they close, the second one for the first 30 ticks, and
// the first again from 55 ticks on. A stopped engine is silent.
void idleSounds(Drive& drive) {
  TrainState& s = drive.state;
  media::SoundBank& bank = drive.sounds;
  const int idle = drive.vehicle.engineSound2[0];
  const int closingIdle = drive.vehicle.engineSound2[1];
  const bool closed = s.doorOpenCommanded == 0 && s.doorsNotClosed == 0;
  const bool closing = s.doorOpenCommanded == 0 && s.doorsNotClosed != 0;
  s.doorClosingTicks = closing ? s.doorClosingTicks + 1 : 0;
  if (s.engineRunning == 0) {
    stopWhenPlaying(bank, idle);
    stopWhenPlaying(bank, closingIdle);
    return;
  }
  // One channel named for both idle sounds simply keeps looping.
  if (closed || s.doorClosingTicks >= kIdleBackTicks) {
    loopWhenSilent(bank, idle);
    if (closingIdle != idle) stopWhenPlaying(bank, closingIdle);
  } else if (closing && s.doorClosingTicks < kClosingIdleTicks) {
    loopWhenSilent(bank, closingIdle);
    if (closingIdle != idle) stopWhenPlaying(bank, idle);
  }
}

}  // namespace

void engineSoundStep(Drive& drive) {
  if (drive.vehicle.engineType != 0) return;
  engineRows(drive);
  transmissionRows(drive);
  idleSounds(drive);
}

}  // namespace vesk::sim
