// What the protection sections share: the set-up of a drive, their sprites, and the ways they force braking.
#include "sim/protection.h"

#include <algorithm>

#include "sim/brake.h"
#include "sim/drive.h"

namespace vesk::sim {

void prepareProtection(Drive& drive) {
  const data::RouteData& route = drive.route;
  // A "[Pre_Train]" section without timetable rows describes no train.
  drive.state.precedingFrame = route.preTrainCount > 0 ? route.preTrainStart : 0;
  drive.state.precedingFrameSpeed = 0;
  drive.state.precedingAccumulator = 0;
  drive.state.precedingSpeedUnitRow = -1;
  startTrafficLights(drive);
  addTrafficLightSprites(drive);
  drive.protectionSpriteIds.lookedUp = false;
  const ProtectionSprites& ids = protectionSprites(drive);
  showSprite(drive, ids.lampAts1, drive.control.atsOn != 0);
}

ProtectionSprites& protectionSprites(Drive& drive) {
  ProtectionSprites& ids = drive.protectionSpriteIds;
  if (ids.lookedUp) return ids;
  const media::SpriteEngine& sprites = drive.sprites;
  ids.signalMain = sprites.idOf("img_unten_signal");
  ids.signalSub0 = sprites.idOf("img_unten_signal_S");
  ids.signalSub1 = sprites.idOf("img_unten_signal_L");
  ids.signalSub2 = sprites.idOf("img_unten_signal_R");
  ids.cabSignal = sprites.idOf("img_cabsignal");
  ids.limitSign = sprites.idOf("img_unten_limit");
  ids.lampAts1 = sprites.idOf("img_Lamp_Ats1");
  ids.lampAts2 = sprites.idOf("img_Lamp_Ats2");
  ids.lampAtsp1 = sprites.idOf("img_Lamp_Atsp1");
  ids.lampAtsp2 = sprites.idOf("img_Lamp_Atsp2");
  ids.lampEB = sprites.idOf("img_Lamp_EB");
  ids.trafficLight = sprites.idOf(kTrafficLightPicture);
  ids.trafficIndication = sprites.idOf(kTrafficIndicationPicture);
  ids.lookedUp = true;
  return ids;
}

media::Sprite* spriteOf(Drive& drive, const ProtectionSprites::Id& id) {
  if (!id || *id >= drive.sprites.size()) return nullptr;
  return &drive.sprites.at(*id);
}

void showSprite(Drive& drive, const ProtectionSprites::Id& id, bool visible) {
  if (media::Sprite* sprite = spriteOf(drive, id)) sprite->visible = visible;
}

void latchEmergencyBraking(Drive& drive) {
  drive.state.emergencyLatched = 1;
  restartBrakeDelays(drive);
  drive.masconupdate();
}

void setAllDelayFlags(Drive& drive) {
  ControlState& c = drive.control;
  c.powerChangePending = 1;
  c.brakeChangePending = 1;
  c.sapChangePending = 1;
  c.elecBrakeChangePending = 1;
}

std::optional<int> signalSpeed(const Drive& drive, int index) {
  if (index < 0 || index >= std::min(drive.route.signalSpeedCount, data::kSignalSpeedCapacity)) return std::nullopt;
  return drive.route.signalSpeeds[static_cast<std::size_t>(index)];
}

int highestAspect(const Drive& drive) {
  return std::clamp(drive.route.signalSpeedCount - 1, 0, data::kSignalSpeedCapacity - 1);
}

bool isRealSignal(const Drive& drive, int index) {
  if (index < 0 || index >= std::min(drive.route.signalCount, data::kSignalCapacity)) return false;
  const int type = drive.route.signals[static_cast<std::size_t>(index)].headType;
  return type != 0 && type != -1;
}

}  // namespace vesk::sim
