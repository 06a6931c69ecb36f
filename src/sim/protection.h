// Signals and train protection: the preceding train, the aspects and pictures of the lineside signals, ATS-S,
// the ATS speed checks, ATS-P, ATC, the speed-limit sign, the vigilance device and the road traffic lights. Each
// section lives in its own file; the tick calls them in this order. Protection acts on the train only through
// the emergency and ATS brake latches, the handles' change-pending flags and masconupdate.
#pragma once

#include <cstdint>
#include <optional>

#include "media/sprite_engine.h"

namespace vesk::sim {

class Drive;

// The sprites the protection sections change, looked up once by their pictures' names; a missing one is
// skipped.
struct ProtectionSprites {
  using Id = std::optional<media::SpriteEngine::Id>;
  Id signalMain, signalSub0, signalSub1, signalSub2;  // "img_unten_signal", "_S", "_L", "_R"
  Id cabSignal;                                       // "img_cabsignal"
  Id limitSign;                                       // "img_unten_limit"
  Id lampAts1, lampAts2, lampAtsp1, lampAtsp2, lampEB;
  Id trafficLight, trafficIndication;  // "img_trafficsignal", "img_trafficsignal2"
  bool lookedUp = false;
};

// The road traffic lights' two sprites: the light itself and the indication for the train beside it. They show
// the pictures of "[TrafficSignalImageList]", laid side by side into one picture (pattern k = picture k).
inline constexpr const char* kTrafficLightPicture = "img_trafficsignal";
inline constexpr const char* kTrafficIndicationPicture = "img_trafficsignal2";

// Set-up when a drive is prepared: the preceding train at its start, the road traffic lights in their first
// phase, their sprites, and the ATS lamp lit when the ATS is on.
void prepareProtection(Drive& drive);
// Every road traffic light in its first phase, with that phase's full duration.
void startTrafficLights(Drive& drive);
// Adds the traffic lights' pictures and sprites (hidden) when the route has lights and their pictures.
void addTrafficLightSprites(Drive& drive);
// Looks the sprites up, once.
ProtectionSprites& protectionSprites(Drive& drive);
// The sprite of an id, or nullptr.
media::Sprite* spriteOf(Drive& drive, const ProtectionSprites::Id& id);
void showSprite(Drive& drive, const ProtectionSprites::Id& id, bool visible);

// Forced braking as protection applies it: the latch, the brake delays restarted, masconupdate.
void latchEmergencyBraking(Drive& drive);
// All four change-pending flags, so that every notch follows the latches.
void setAllDelayFlags(Drive& drive);
// The "[Speed_Signal]" speed at `index`, or none when the list is shorter.
std::optional<int> signalSpeed(const Drive& drive, int index);
// The highest aspect the line's signals show: "[Speed_Signal]" count - 1, at least 0.
int highestAspect(const Drive& drive);
// Whether a "[SpeedCheck1]" row linked to this signal applies now: link 0 always, a signal of the line while it
// shows stop; a negative link or a signal the line does not have never.
bool speedCheckApplies(const Drive& drive, int signalLink);
// Whether signal `index` exists and is a real signal (not an entry of head type 0 or -1).
bool isRealSignal(const Drive& drive, int index);

// Control step: the preceding train moves along its timetable.
void advancePrecedingTrain(Drive& drive);
// Start of the tick: a preceding train past its end frame leaves the line.
void retirePrecedingTrain(Drive& drive);

// Tick, in this order.
void updateSignalAspects(Drive& drive);
void updateShownSignal(Drive& drive);
void trafficLightStep(Drive& drive);
void atcStep(Drive& drive);
void atsSPointStep(Drive& drive);
void atsSAlarmStep(Drive& drive);
void atsPStep(Drive& drive);
void speedLimitStep(Drive& drive);
void speedCheckStep(Drive& drive);
void vigilanceStep(Drive& drive);

}  // namespace vesk::sim
