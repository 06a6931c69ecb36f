// An electric train's motor sounds: each "[EngineSound1]" row (mode, speeds s0 < s1 < s2, rates r0..r2, levels
// g0..g2) loops on its channel with rate and level following the speed along two straight pieces, sounding while
// its mode applies (0 powering, 1 braking, 2 always) and fading out otherwise; a shared master swells while the
// handles act and ebbs while coasting.
#include <algorithm>
#include <cmath>

#include "sim/drive.h"
#include "sim/sound_levels.h"
#include "sim/sound_select.h"

namespace vesk::sim {
namespace {

struct RowShape {
  double level = 1;
  double rate = 0;
  bool hasRate = false;
};

RowShape shapeAt(const data::EngineSound1Row& row, double v) {
  const auto& q = row.p;  // s0, s1, s2, r0, r1, r2, g0, g1, g2
  RowShape shape;
  if (q[0] <= v && v <= q[1]) {
    shape = {alongLine(v, q[0], q[6], q[1], q[7]), alongLine(v, q[0], q[3], q[1], q[4]), true};
  } else if (q[1] < v && v <= q[2]) {
    shape = {alongLine(v, q[1], q[7], q[2], q[8]), alongLine(v, q[1], q[4], q[2], q[5]), true};
  }
  return shape;
}

bool modeApplies(int mode, const TrainState& s) {
  return mode == 2 || (mode == 0 && s.powerNotch >= 1) || (mode == 1 && s.brakeNotch < 0);
}

}  // namespace

void motorSoundStep(Drive& drive) {
  if (drive.vehicle.engineType == 0) return;
  TrainState& s = drive.state;
  const int rows = std::clamp(drive.vehicle.engineSound1Count, 0, data::kEngineSoundCapacity);
  sizeRows(s.motorGain, rows);
  sizeRows(s.motorLevel, rows);

  const bool handlesAct = s.powerNotch != 0 || s.brakeNotch != 0 || s.atsBrakeLatched != 0 || s.emergencyLatched != 0;
  if (handlesAct) {
    if (s.motorMaster < 85) s.motorMaster += 20;
  } else if (s.motorMaster > 15) {
    s.motorMaster -= 10;
  }
  s.motorMaster = std::min(s.motorMaster, 100.0);

  media::SoundBank& bank = drive.sounds;
  const media::SoundLayout& layout = drive.soundLayout;
  // The motors turn with the wheels, whichever way the train runs.
  const double v = std::fabs(s.speed);
  for (int i = 0; i < rows; ++i) {
    const auto at = static_cast<std::size_t>(i);
    const data::EngineSound1Row& row = drive.vehicle.engineSounds1[at];
    const int channel = environmentChannel(layout.driveSoundCount + layout.soundDataCount, i);
    const RowShape shape = shapeAt(row, v);
    if (shape.hasRate) bank.set_rate(channel, shape.rate);
    s.motorLevel[at] = shape.level;

    double& gain = s.motorGain[at];
    if (modeApplies(row.channelParam, s)) {
      gain = 100;
    } else if (gain > 11) {
      gain -= 10;
    }
    int volume = logVolume(1660, std::max(shape.level, 1.0) * gain * s.motorMaster / 1e6);
    if (volume < -2999 || gain <= 10) volume = media::SoundBank::kSilent;
    bank.set_volume(channel, volume);
    if (gain < 5) {
      stopWhenPlaying(bank, channel);
    } else {
      loopWhenSilent(bank, channel);
    }
  }
}

}  // namespace vesk::sim
