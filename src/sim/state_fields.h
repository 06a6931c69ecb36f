// The fields of TrainState and ControlState by their names, for the headless runner's output and its debugging
// "set" command: one list serves both. visit(name, field) is called with a reference to each field.
#pragma once

#include "input/control_state.h"
#include "sim/train_state.h"

namespace vesk::sim {

template <class State, class Visit> void visitTrainStateFields(State& s, Visit&& visit) {
  visit("speed", s.speed);
  visit("position", s.position);
  visit("frame", s.frame);
  visit("frameAccumulator", s.frameAccumulator);
  visit("frameRemainder", s.frameRemainder);
  visit("frameSpeed", s.frameSpeed);
  visit("stepDistance", s.stepDistance);
  visit("distanceToStop", s.distanceToStop);
  visit("targetPosition", s.targetPosition);
  visit("clock", s.clock);
  visit("tickCount", s.tickCount);
  visit("tractiveForce", s.tractiveForce);
  visit("brakeForce", s.brakeForce);
  visit("resistForce", s.resistForce);
  visit("predictedSpeed", s.predictedSpeed);
  visit("brakeFrictionFactor", s.brakeFrictionFactor);
  visit("adhesion", s.adhesion);
  visit("adhesionLimit", s.adhesionLimit);
  visit("adhesionText", s.adhesionText);
  visit("gradient", s.gradient);
  visit("headGradient", s.headGradient);
  visit("gradientSamples", s.gradientSamples);
  visit("gradientSamplePosition", s.gradientSamplePosition);
  visit("inTunnel", s.inTunnel);
  visit("tunnelDepth", s.tunnelDepth);
  visit("powerNotch", s.powerNotch);
  visit("brakeNotch", s.brakeNotch);
  visit("sapNotch", s.sapNotch);
  visit("elecBrakeNotch", s.elecBrakeNotch);
  visit("brakeDelayCount", s.brakeDelayCount);
  visit("sapDelayCount", s.sapDelayCount);
  visit("elecBrakeDelayCount", s.elecBrakeDelayCount);
  visit("bcMotor", s.bcMotor);
  visit("bcTrailer", s.bcTrailer);
  visit("elecBrakeCurrent", s.elecBrakeCurrent);
  visit("emergencyLatched", s.emergencyLatched);
  visit("atsBrakeLatched", s.atsBrakeLatched);
  visit("engagedGear", s.engagedGear);
  visit("videoMode", s.videoMode);
  visit("reversed", s.reversed);
  visit("nextStop", s.nextStop);
}

template <class State, class Visit> void visitControlStateFields(State& c, Visit&& visit) {
  visit("reverser", c.reverser);
  visit("powerHandle", c.powerHandle);
  visit("brakeHandle", c.brakeHandle);
  visit("holdPosition", c.holdPosition);
  visit("holdJustLeft", c.holdJustLeft);
  visit("powerMode", c.powerMode);
  visit("gear", c.gear);
  visit("swapBrakeKeys", c.swapBrakeKeys);
  visit("inputLocked", c.inputLocked);
  visit("idleTicks", c.idleTicks);
  visit("powerChangePending", c.powerChangePending);
  visit("brakeChangePending", c.brakeChangePending);
  visit("sapChangePending", c.sapChangePending);
  visit("elecBrakeChangePending", c.elecBrakeChangePending);
  visit("engineSwitch", c.engineSwitch);
  visit("hornHeld", c.hornHeld);
  visit("buzzerHeld", c.buzzerHeld);
  visit("constantSpeed", c.constantSpeed);
  visit("autoRun", c.autoRun);
  visit("resistanceOff", c.resistanceOff);
  visit("atsOn", c.atsOn);
  visit("announceIndex", c.announceIndex);
}

}  // namespace vesk::sim
