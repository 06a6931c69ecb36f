// The vigilance device ("[EB]" 1): every key resets its counter; after 60 s at speed without one the ring sounds
// and the EB lamp lights, 5 s later the emergency brake is latched. Debugging drives (auto-run, resistance off)
// switch it off for the rest of the drive.
#include "sim/drive.h"
#include "sim/protection.h"

namespace vesk::sim {
namespace {

constexpr int kWarnTicks = 601;
constexpr int kBrakeTicks = 651;

}  // namespace

void vigilanceStep(Drive& drive) {
  TrainState& s = drive.state;
  ControlState& c = drive.control;
  if (c.autoRun != 0 || c.resistanceOff != 0) s.vigilanceOff = 1;
  if (drive.vehicle.vigilanceDevice != 1 || s.vigilanceOff != 0) return;
  if (s.speed > 1) c.idleTicks += 1;
  const int ring = drive.vehicle.soundEbRing;
  if (c.idleTicks >= kWarnTicks) {
    if (!drive.sounds.is_playing(ring)) drive.sounds.play_once(ring);
    showSprite(drive, protectionSprites(drive).lampEB, true);
  }
  if (c.idleTicks >= kBrakeTicks) {
    drive.sounds.stop(ring);
    c.idleTicks = 0;
    s.emergencyLatched = 1;
    drive.masconupdate();
    setAllDelayFlags(drive);
  }
}

}  // namespace vesk::sim
