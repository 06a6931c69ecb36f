// The cab panel's needles, gauges, digital speed, lamps and tunnel shade.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "core/rounding.h"
#include "sim/drive.h"
#include "sim/driver_info.h"

namespace vesk::sim {
namespace {

// The needles' scales are in degrees; a sprite turns 256 steps a full turn, and the panels were drawn for a
// factor of 255/360.
constexpr double kStepsPerDegree = 255.0 / 360.0;

void setAngle(SpriteRef& ref, Drive& drive, int angle) {
  if (media::Sprite* sprite = ref.get(drive.sprites)) sprite->angle = ((angle % 256) + 256) % 256;
}

void pressureNeedle(SpriteRef& ref, Drive& drive, const data::NeedleSpec& needle, double pressure) {
  if (needle.file.empty()) return;
  setAngle(ref, drive, needleAngle(pressure * needle.scale + needle.offset));
}

void linearGauge(SpriteRef& ref, Drive& drive, const data::NeedleSpec& gauge, double pressure) {
  if (media::Sprite* sprite = ref.get(drive.sprites)) {
    sprite->y = static_cast<double>(gauge.y - core::saturate32(core::nearest(gauge.scale * pressure)));
  }
}

bool serviceNotch(const Drive& drive) {
  const int notch = drive.state.brakeNotch;
  return notch < 0 && notch > -drive.vehicle.brakeNotches;
}

}  // namespace

int needleAngle(double degrees) {
  const auto steps = core::saturate32(core::nearest(degrees * kStepsPerDegree));
  return ((steps % 256) + 256) % 256;
}

std::optional<int> speedNeedleAngle(double speed, const data::NeedleSpec& needle) {
  const double a = std::abs(speed);
  if (!(a < 160) || (speed > -1 && speed < 0)) return std::nullopt;
  const double k = needle.scale;
  const double k2 = needle.scale2;
  if (k2 == 0) return needleAngle(a * k + needle.offset);
  // Below 10 km/h the dial has its own scale; above, the scale goes on from the 10 km/h mark.
  if (a >= 10) return needleAngle(a * k + needle.offset - (k - k2) * 10);
  return needleAngle(a * k2 + needle.offset);
}

int ammeterFollow(int shown, int target) {
  // The needle swings past the target by half the gap and back, each swing half the last.
  const double gap = std::abs(static_cast<double>(target) - shown);
  int next = shown;
  if (std::abs(shown) < std::abs(target)) {
    next = core::saturate32(core::nearest(target + gap / 2));
  } else if (std::abs(shown) > std::abs(target)) {
    next = core::saturate32(core::nearest(target - gap / 2));
  }
  // Half a step rounds away from zero: a needle 1 A off a target of 0 would stay there for good. A needle that
  // no longer moves takes its target.
  return next == shown ? target : next;
}

int ammeterAngle(int shown, int reverser, const data::NeedleSpec& needle) {
  const auto angleOf = [&](double current) {
    return core::saturate32(core::nearest((current * needle.scale + needle.offset) * kStepsPerDegree));
  };
  switch (needle.ammeterMode) {
  case 1:
    return angleOf(std::abs(static_cast<double>(shown)));
  case 2:
    return needle.offset;  // a fixed needle, in sprite steps
  default:
    // The needle shows the current's direction of travel: it stands at 0 in neutral.
    return angleOf(shown) * reverser;
  }
}

void speedInstrumentStep(Drive& drive) {
  const double v = drive.state.speed;
  if (drive.vehicle.needleSpeed.file.empty() == false) {
    if (const auto angle = speedNeedleAngle(v, drive.vehicle.needleSpeed)) {
      setAngle(drive.panelSprites.speedNeedle, drive, *angle);
    }
  }
  if (media::Sprite* digits = drive.panelSprites.digitalSpeed.get(drive.sprites)) {
    digits->visible = true;
    const auto shown = core::nearest(v);
    if (shown < 200) digits->pattern = core::saturate32(std::llabs(shown));
  }
}

void update_instruments(Drive& drive) {
  TrainState& s = drive.state;
  const data::VehicleSpec& v = drive.vehicle;
  PanelSprites& p = drive.panelSprites;
  const double cylinder = v.mc == 1 ? s.bcMotor.toDouble() : s.bcTrailer.toDouble();
  pressureNeedle(p.bcNeedle, drive, v.needleBC, cylinder);
  pressureNeedle(p.erNeedle, drive, v.needleER, s.er.toDouble());
  pressureNeedle(p.bpNeedle, drive, v.needleBP, s.bp);
  // A blowing horn draws the main reservoir down for a moment.
  pressureNeedle(p.mrNeedle, drive, v.needleMR, (s.mr + s.hornAir).toDouble());
  pressureNeedle(p.sapNeedle, drive, v.needleSAP, s.sap.toDouble());
  pressureNeedle(p.voltmeter, drive, v.needleV, s.lineVoltage.toDouble());
  s.ammeterShown = ammeterFollow(s.ammeterShown, s.ammeter);
  if (!v.needleI.file.empty())
    setAngle(p.ammeter, drive, ammeterAngle(s.ammeterShown, drive.control.reverser, v.needleI));
  linearGauge(p.bcGauge, drive, v.needleBCL, cylinder);
  linearGauge(p.mrGauge, drive, v.needleMRL, s.mr.toDouble());
}

void panelLampStep(Drive& drive) {
  const TrainState& s = drive.state;
  const ControlState& c = drive.control;
  const data::VehicleSpec& v = drive.vehicle;
  PanelSprites& p = drive.panelSprites;
  const bool service = serviceNotch(drive);
  const bool electricBraking = s.elecBrakeCurrent > 0;
  // With the door interlock the traction lamps only change while the doors are shut.
  if (v.doorLock != 1 || s.doorsNotClosed == 0) {
    p.powerLamp.show(drive.sprites, s.powerNotch >= 1);
    p.electricLamp.show(drive.sprites,
                        s.powerNotch >= 1 || (service && c.brakeHandle > -v.brakeNotches && electricBraking));
  }
  p.airLamp.show(drive.sprites, service);
  // Regeneration: the hold brake or a service notch braking electrically, or a notch whose table row brakes.
  bool regenerating =
      (c.holdPosition != 0 && s.resistForce > Fixed{} && electricBraking) || (service && electricBraking);
  if (c.powerHandle >= 1 && s.tractiveForce < Fixed{} && s.powerNotch >= 1 && s.powerNotch <= v.notchRowCount &&
      s.powerNotch <= data::kNotchRowCapacity) {
    regenerating = regenerating || v.notchRows[static_cast<std::size_t>(s.powerNotch - 1)].startAccel < 0;
  }
  p.generationLamp.show(drive.sprites, regenerating);
  p.constantSpeedLamp.show(drive.sprites, c.constantSpeed == 1);
  p.notchingLamp.show(drive.sprites, s.notchingLamp != 0);
}

void tunnelShadeStep(Drive& drive) {
  media::Sprite* shade = drive.panelSprites.tunnelShade.get(drive.sprites);
  if (shade == nullptr) return;
  const int alpha = std::clamp(drive.state.tunnelDepth, 0, 255);
  shade->alpha = alpha;
  // With visual effects off the shade is worked out but never shown.
  shade->visible = alpha != 0 && drive.settings.Tunnel != 1;
}

}  // namespace vesk::sim
