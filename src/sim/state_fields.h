// The fields of TrainState and ControlState by their names, for the headless runner's output and its debugging
// "set" command: one list serves both. visit(name, field) is called with a reference to each field.
#pragma once

#include "sim/control_state.h"
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
  visit("powerDelayCount", s.powerDelayCount);
  visit("motorCurrent", s.motorCurrent);
  visit("resistorStep", s.resistorStep);
  visit("ammeter", s.ammeter);
  visit("tractiveForceCopy", s.tractiveForceCopy);
  visit("lineVoltage", s.lineVoltage);
  visit("lineVoltageTarget", s.lineVoltageTarget);
  visit("engineRunning", s.engineRunning);
  visit("engineSwitchTicks", s.engineSwitchTicks);
  visit("engineRpm", s.engineRpm);
  visit("engagedGear", s.engagedGear);
  visit("shiftState", s.shiftState);
  visit("shiftTicks", s.shiftTicks);
  visit("notchingLamp", s.notchingLamp);
  visit("er", s.er);
  visit("mr", s.mr);
  visit("sap", s.sap);
  visit("bp", s.bp);
  visit("feedPressure", s.feedPressure);
  visit("elecBrakeStep", s.elecBrakeStep);
  visit("compressorOn", s.compressorOn);
  visit("brakeStepSoundArmed", s.brakeStepSoundArmed);
  visit("brakeReleaseSoundArmed", s.brakeReleaseSoundArmed);
  visit("emergencySoundArmed", s.emergencySoundArmed);
  visit("squeakVolume", s.squeakVolume);
  visit("hornStart", s.hornStart);
  visit("hornAir", s.hornAir);
  visit("hornAirRecovery", s.hornAirRecovery);
  visit("doorOpenCommanded", s.doorOpenCommanded);
  visit("doorsNotClosed", s.doorsNotClosed);
  visit("doorChanceRoll", s.doorChanceRoll);
  visit("departurePending", s.departurePending);
  visit("atsSpeedCode", s.atsSpeedCode);
  visit("atsAlarm", s.atsAlarm);
  visit("atsConfirmed", s.atsConfirmed);
  visit("atsAcknowledged", s.atsAcknowledged);
  visit("atsAlarmTicks", s.atsAlarmTicks);
  visit("shownSignalImage", s.shownSignalImage);
  visit("lastSignalImage", s.lastSignalImage);
  visit("shownSignalCallout", s.shownSignalCallout);
  // Signals and train protection.
  visit("precedingFrame", s.precedingFrame);
  visit("precedingSpeed", s.precedingSpeed);
  visit("precedingFrameSpeed", s.precedingFrameSpeed);
  visit("precedingAccumulator", s.precedingAccumulator);
  visit("precedingSpeedUnitRow", s.precedingSpeedUnitRow);
  visit("atsAlarmCode", s.atsAlarmCode);
  visit("atspState", s.atspState);
  visit("atspPrevState", s.atspPrevState);
  visit("atspTarget", s.atspTarget);
  visit("atspDistance", s.atspDistance);
  visit("atspP1", s.atspP1);
  visit("atspP2", s.atspP2);
  visit("atspBeacon", s.atspBeacon);
  visit("atcLatched", s.atcLatched);
  visit("limitBlink", s.limitBlink);
  visit("limitUpcoming", s.limitUpcoming);
  visit("shownLimitSpeed", s.shownLimitSpeed);
  visit("shownLimitImage", s.shownLimitImage);
  visit("upcomingLimitSpeeds", s.upcomingLimitSpeeds);
  visit("upcomingLimitMetres", s.upcomingLimitMetres);
  visit("upcomingLimitWarned", s.upcomingLimitWarned);
  visit("upcomingCheckSpeeds", s.upcomingCheckSpeeds);
  visit("upcomingCheckMetres", s.upcomingCheckMetres);
  visit("upcomingCheckWarned", s.upcomingCheckWarned);
  visit("vigilanceOff", s.vigilanceOff);

  // Stations, doors and the timetable clock.
  visit("stationEvent", s.stationEvent);
  visit("departureCount", s.departureCount);
  visit("doorPilotDark", s.doorPilotDark);
  visit("overrunAnnounced", s.overrunAnnounced);
  visit("clockSecond", s.clockSecond);
  visit("runEnded", s.runEnded);
  visit("nextStationText", s.nextStationText);
  visit("stationText", s.stationText);
  visit("fromStationText", s.fromStationText);
  visit("toStationText", s.toStationText);
  visit("clockText", s.clockText);
  visit("pendingOther", s.pendingOther);
  visit("pendingLimit", s.pendingLimit);
  visit("limitWarnPending", s.limitWarnPending);
  visit("limitEndPending", s.limitEndPending);
  visit("lastCallOutId", s.lastCallOutId);
  visit("crossingQueue", s.crossingQueue);
  visit("crossingPending", s.crossingPending);

  // Sound selection.
  visit("tunnelAttenuation", s.tunnelAttenuation);
  visit("motorGain", s.motorGain);
  visit("engine3Gain", s.engine3Gain);
  visit("motorMaster", s.motorMaster);
  visit("engine3Master", s.engine3Master);
  visit("motorLevel", s.motorLevel);
  visit("engine3Level", s.engine3Level);
  visit("doorClosingTicks", s.doorClosingTicks);

  // Driver information.

  visit("videoMode", s.videoMode);
  visit("reversed", s.reversed);
  visit("nextStop", s.nextStop);
  visit("currentStation", s.currentStation);
  visit("sideVideoRow", s.sideVideoRow);
  visit("sideFrame", s.sideFrame);
  visit("sideFirstFrame", s.sideFirstFrame);
  visit("sideLength", s.sideLength);
  visit("sideStepCount", s.sideStepCount);
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
