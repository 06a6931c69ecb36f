#include "sim/line_jump.h"

#include "sim/drive.h"
#include "sim/motion.h"

namespace vesk::sim {
namespace {

// Whether a signal's or a speed limit's section holds the frame.
bool inSignalOrLimitSection(const data::RouteData& route, std::int32_t frame) {
  for (int i = 0; i < route.signalCount && i < data::kSignalCapacity; ++i) {
    const data::SignalRow& r = route.signals[static_cast<std::size_t>(i)];
    if (r.visibleFrom <= frame && frame <= r.visibleTo) return true;
  }
  for (int i = 0; i < route.speedLimitCount && i < data::kSpeedLimitCapacity; ++i) {
    const data::SpeedLimitRow& r = route.speedLimits[static_cast<std::size_t>(i)];
    if (r.frame <= frame && frame <= r.endFrame) return true;
  }
  return false;
}

}  // namespace

void leaveCurrentPlace(Drive& drive) {
  drive.clearPerRunTables();
  for (int channel = 1; channel < media::SoundBank::kChannelCount; ++channel) drive.sounds.stop(channel);
  TrainState& s = drive.state;
  s.videoMode = 0;
  s.sideVideoRow = -1;
  s.sideFrame = 0;
}

void placeAtFrame(Drive& drive, std::int32_t frame) {
  TrainState& s = drive.state;
  s.frame = frame;
  s.frameAccumulator = 0;
  s.frameRemainder = 0;
  // The recorded speed of the new place at once, and no "[SpeedUnit]" row change that would move the position
  // to a row's end on the next control step.
  s.speedUnitRow = -1;
  if (const auto found = lookUpFrameSpeed(drive.route, frame)) {
    s.frameSpeed = found->speed;
    s.speedUnitRow = found->row;
  }
}

void resetProtectionOutsideSections(Drive& drive) {
  if (inSignalOrLimitSection(drive.route, drive.state.frame)) return;
  TrainState& s = drive.state;
  s.atsSpeedCode = kNone;
  s.shownSignalImage = kNone;
  s.lastSignalImage = kNone;
  s.shownSignalCallout = kNone;
}

void setHandlesInEffect(Drive& drive, std::int32_t brakeNotch) {
  drive.control.powerHandle = 0;
  drive.state.powerNotch = 0;
  drive.control.holdPosition = 0;
  drive.control.brakeHandle = brakeNotch;
  drive.state.brakeNotch = brakeNotch;
  drive.state.sapNotch = brakeNotch;
}

}  // namespace vesk::sim
