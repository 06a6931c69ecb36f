#include "vesk_sim/vehicle_json.h"

#include "vesk_sim/json_tables.h"

namespace vesk::tools {
namespace {

using namespace vesk::data;

void writeScalars(JsonWriter& w, const VehicleSpec& s) {
  w.field("handleLayout", s.handleLayout);
  w.field("brakeType", s.brakeType);
  w.field("brakeForceMode", s.brakeForceMode);
  w.field("brakeNotches", s.brakeNotches);
  w.field("powerNotches", s.powerNotches);
  w.field("notchBack", s.notchBack);
  w.field("holdMode", s.holdMode);
  w.field("pullMode", s.pullMode);
  w.field("constSpeedMode", s.constSpeedMode);
  w.field("backMode", s.backMode);
  writeArray(w, "brakeRate", s.brakeRate);
  w.field("brakeRate2", s.brakeRate2);
  w.field("powerDelay", s.powerDelay);
  w.field("brakeDelay", s.brakeDelay);
  w.field("elecBrakeDelay", s.elecBrakeDelay);
  w.field("powerJerk", s.powerJerk);
  w.field("sapDelay", s.sapDelay);
  w.field("brakeUpRate", s.brakeUpRate);
  w.field("brakeDownRate", s.brakeDownRate);
  w.field("sapUpRate", s.sapUpRate);
  w.field("sapDownRate", s.sapDownRate);
  w.field("elecBrakeUpRate", s.elecBrakeUpRate);
  w.field("elecBrakeDownRate", s.elecBrakeDownRate);
  w.field("elecBrakeMaxCurrent", s.elecBrakeMaxCurrent);
  w.field("bpReturnRate", s.bpReturnRate);
  w.field("maxPressure", s.maxPressure);
  w.field("ebPressure", s.ebPressure);
  w.field("sapPressure", s.sapPressure);
  w.field("mrHighPressure", s.mrHighPressure);
  w.field("mrLowPressure", s.mrLowPressure);
  w.field("engineType", s.engineType);
  w.field("doorLock", s.doorLock);
  w.field("powerType", s.powerType);
  w.field("elecBrakeType", s.elecBrakeType);
  w.field("doorType", s.doorType);
  w.field("motorCarMass", s.motorCarMass);
  w.field("trailerMass", s.trailerMass);
  w.field("controlTrailerMass", s.controlTrailerMass);
  w.field("cars", s.cars);
  w.field("trainMass", s.trainMass);
  w.field("vigilanceDevice", s.vigilanceDevice);
  w.field("maxSpeed", s.maxSpeed);
  w.field("elecBrakeFadeSpeed", s.elecBrakeFadeSpeed);
  w.field("elbr", s.elbr);
  w.field("mc", s.mc);
  w.field("atsType", s.atsType);
  w.field("atsAlertMode", s.atsAlertMode);
  w.field("atsTime", s.atsTime);
  w.field("atsChimeMode", s.atsChimeMode);
  w.field("gearType", s.gearType);
  w.field("hornAirFlow", s.hornAirFlow);
}

void writeSounds(JsonWriter& w, const VehicleSpec& s) {
  writeArray(w, "soundBrakeStep", s.soundBrakeStep);
  writeArray(w, "soundBrakeRelease", s.soundBrakeRelease);
  writeArray(w, "soundBrakeApply", s.soundBrakeApply);
  writeArray(w, "soundPowerApply", s.soundPowerApply);
  writeArray(w, "soundPowerRelease", s.soundPowerRelease);
  w.field("soundEmergency", s.soundEmergency);
  w.field("soundApply", s.soundApply);
  w.field("soundApplyRelease", s.soundApplyRelease);
  w.field("soundAts1", s.soundAts1);
  w.field("soundAts2", s.soundAts2);
  w.field("soundAts3", s.soundAts3);
  w.field("soundAtc", s.soundAtc);
  w.field("soundHorn", s.soundHorn);
  w.field("soundHorn2", s.soundHorn2);
  w.field("soundHorn3", s.soundHorn3);
  writeArray(w, "soundHorn4", s.soundHorn4);
  w.field("soundDoorOpen", s.soundDoorOpen);
  w.field("soundDoorClose", s.soundDoorClose);
  w.field("soundEbRing", s.soundEbRing);
  w.field("soundSqueak", s.soundSqueak);
  w.field("soundCompressorStart", s.soundCompressorStart);
  w.field("soundCompressorRun", s.soundCompressorRun);
  w.field("soundCompressorEnd", s.soundCompressorEnd);
  w.field("soundStop", s.soundStop);
  w.field("soundBuzzer", s.soundBuzzer);
  w.field("soundDepartureSignal", s.soundDepartureSignal);
  w.field("soundAtsWarn", s.soundAtsWarn);
}

void writeTables(JsonWriter& w, const VehicleSpec& s) {
  writeRows(w, "switchSounds", s.switchSounds, s.switchSoundCount);
  w.field("switchSoundCount", s.switchSoundCount);
  writeRows(w, "engineRates", s.engineRates, s.engineRateCount);
  writeRows(w, "notchRows", s.notchRows, s.notchRowCount);
  writeArray(w, "notchModeStart", s.notchModeStart);
  w.field("currentPLimit", s.currentPLimit);
  w.field("currentPAccel", s.currentPAccel);
  w.field("currentPSpeed", s.currentPSpeed);
  writeRows(w, "currentPRows", s.currentPRows, s.currentPCount);
  w.field("currentPCount", s.currentPCount);
  writeArray(w, "brakeCurrent", s.brakeCurrent, static_cast<std::size_t>(s.brakeCurrentCount));
  writeRows(w, "currentBRows", s.currentBRows, s.currentBCount);
  w.field("currentBCount", s.currentBCount);
  writeRows(w, "gears", s.gears, s.gearCount);
  w.field("gearCount", s.gearCount);
  writeRows(w, "powerModes", s.powerModes, s.powerModeCount);
  w.field("powerModeCount", s.powerModeCount);
  writeRows(w, "engineSounds1", s.engineSounds1, s.engineSound1Count);
  w.field("engineSound1Count", s.engineSound1Count);
  writeArray(w, "engineSound2", s.engineSound2);
  writeRows(w, "engineSounds3", s.engineSounds3, s.engineSound3Count);
  w.field("engineSound3Count", s.engineSound3Count);
  writeArray(w, "driveSoundFiles", s.driveSoundFiles, static_cast<std::size_t>(s.driveSoundCount));
  w.field("driveSoundCount", s.driveSoundCount);
  writeArray(w, "cabSignalSpeeds", s.cabSignalSpeeds, static_cast<std::size_t>(s.cabSignalSpeedCount));
  w.field("cabSignalSpeedCount", s.cabSignalSpeedCount);
  writeRows(w, "otherImages", s.otherImages, s.otherImageCount);
  w.field("otherImageCount", s.otherImageCount);
}

void writePanel(JsonWriter& w, const VehicleSpec& s) {
  writeRecord(w, "clock", s.clock);
  const std::pair<std::string_view, const PanelImage*> images[] = {
      {"panel", &s.panel},         {"panel2", &s.panel2},     {"lampDoor", &s.lampDoor}, {"lampPower", &s.lampPower},
      {"lampEB", &s.lampEB},       {"lampGen", &s.lampGen},   {"lampAir", &s.lampAir},   {"lampFin", &s.lampFin},
      {"lampEle", &s.lampEle},     {"lampAts1", &s.lampAts1}, {"lampAts2", &s.lampAts2}, {"lampATSP1", &s.lampATSP1},
      {"lampATSP2", &s.lampATSP2}, {"lampG", &s.lampG},       {"lampYG", &s.lampYG},     {"lampY", &s.lampY},
      {"lampYY", &s.lampYY},       {"lampR", &s.lampR},       {"lampFwd", &s.lampFwd},   {"lampBack", &s.lampBack},
      {"lampConst", &s.lampConst}, {"lampStop", &s.lampStop},
  };
  for (const auto& [name, image] : images) writeRecord(w, name, *image);
  const std::pair<std::string_view, const NeedleSpec*> needles[] = {
      {"needleSpeed", &s.needleSpeed}, {"needleBC", &s.needleBC},   {"needleBCL", &s.needleBCL},
      {"needleSAP", &s.needleSAP},     {"needleER", &s.needleER},   {"needleBP", &s.needleBP},
      {"needleMR", &s.needleMR},       {"needleMRL", &s.needleMRL}, {"needleV", &s.needleV},
      {"needleI", &s.needleI},
  };
  for (const auto& [name, needle] : needles) writeRecord(w, name, *needle);
  const std::pair<std::string_view, const PatternImage*> patterns[] = {
      {"lampSignal", &s.lampSignal},         {"notchImageP", &s.notchImageP},   {"notchImageB", &s.notchImageB},
      {"notchImageP2", &s.notchImageP2},     {"notchImageB2", &s.notchImageB2}, {"gearImageList", &s.gearImageList},
      {"gearImageList2", &s.gearImageList2}, {"digiSpeed", &s.digiSpeed},
  };
  for (const auto& [name, pattern] : patterns) writeRecord(w, name, *pattern);
}

}  // namespace

void writeVehicleJson(JsonWriter& w, const VehicleSpec& spec) {
  w.beginObject();
  writeScalars(w, spec);
  writeSounds(w, spec);
  writeTables(w, spec);
  writePanel(w, spec);
  w.endObject();
}

}  // namespace vesk::tools
