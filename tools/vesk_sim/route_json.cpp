#include "vesk_sim/route_json.h"

#include "vesk_sim/json_tables.h"

namespace vesk::tools {
namespace {

using namespace vesk::data;

void writeHeader(JsonWriter& w, const RouteData& r) {
  w.field("lineName", r.lineName);
  w.field("lineName2", r.lineName2);
  w.field("startFrame", r.startFrame);
  w.field("frameRate", r.frameRate);
  writeArray(w, "stafImages", r.stafImages);
  w.field("friction", r.friction);
  w.field("dataName", r.dataName);
  w.field("perspective", r.perspective);
  w.field("perspectiveBase", r.perspectiveBase);
  w.field("oneMan", r.oneMan);
  w.field("tunnelResistance", r.tunnelResistance);
}

void writeTrackTables(JsonWriter& w, const RouteData& r) {
  writeRows(w, "speedUnits", r.speedUnits, r.speedUnitCount);
  w.field("speedUnitCount", r.speedUnitCount);
  writeRows(w, "stations", r.stations, r.stationCount);
  w.field("stationCount", r.stationCount);
  writeRows(w, "signals", r.signals, r.signalCount);
  w.field("signalCount", r.signalCount);
  writeArray(w, "signalSpeeds", r.signalSpeeds, static_cast<std::size_t>(r.signalSpeedCount));
  w.field("signalSpeedCount", r.signalSpeedCount);
  writeRows(w, "slopes", r.slopes, r.slopeCount);
  w.field("slopeCount", r.slopeCount);
  writeRows(w, "speedLimits", r.speedLimits, r.speedLimitCount);
  w.field("speedLimitCount", r.speedLimitCount);
  writeRows(w, "speedChecks1", r.speedChecks1, r.speedCheck1Count);
  w.field("speedCheck1Count", r.speedCheck1Count);
  writeRows(w, "speedChecks2", r.speedChecks2, r.speedCheck2Count);
  w.field("speedCheck2Count", r.speedCheck2Count);
  writeRows(w, "tunnels", r.tunnels, r.tunnelCount);
  w.field("tunnelCount", r.tunnelCount);
  writeRows(w, "timetable", r.timetable, r.timetableCount);
  w.field("timetableCount", r.timetableCount);
  writeRows(w, "switches", r.switches, r.switchCount);
  w.field("switchCount", r.switchCount);
  writeArray(w, "movieStops", r.movieStops, static_cast<std::size_t>(r.movieStopCount));
  writeRows(w, "movieSwitches", r.movieSwitches, r.movieSwitchCount);
  w.field("movieSwitchCount", r.movieSwitchCount);
  w.field("stafSwitchStart", r.stafSwitchStart);
  writeArray(w, "stafSwitches", r.stafSwitches, static_cast<std::size_t>(r.stafSwitchCount));
  w.field("stafSwitchCount", r.stafSwitchCount);
  w.field("preTrainStart", r.preTrainStart);
  w.field("preTrainParam", r.preTrainParam);
  writeRows(w, "preTrains", r.preTrains, r.preTrainCount);
  w.field("preTrainCount", r.preTrainCount);
  writeRows(w, "atsBeacons", r.atsBeacons, r.atsBeaconCount);
  w.field("atsBeaconCount", r.atsBeaconCount);
}

void writeTrackSide(JsonWriter& w, const RouteData& r) {
  writeArray(w, "soundDataFiles", r.soundDataFiles, static_cast<std::size_t>(r.soundDataCount));
  w.field("soundDataCount", r.soundDataCount);
  writeArray(w, "soundDataLengths", r.soundDataLengths, static_cast<std::size_t>(r.soundDataCount));
  w.field("stopAnnounceSound", r.stopAnnounceSound);
  writeRows(w, "announcements", r.announcements, r.announceCount, 1);
  w.field("announceCount", r.announceCount);
  writeArray(w, "calloutFiles1", r.calloutFiles1);
  writeArray(w, "calloutFiles2", r.calloutFiles2,
             static_cast<std::size_t>(r.calloutCount2 > kCallout1Count ? r.calloutCount2 - kCallout1Count : 0));
  w.field("calloutCount2", r.calloutCount2);
  writeRows(w, "trackSounds", r.trackSounds, r.trackSoundCount);
  w.field("trackSoundCount", r.trackSoundCount);
  writeRows(w, "trackSounds2", r.trackSounds2, r.trackSound2Count);
  w.field("trackSound2Count", r.trackSound2Count);
  writeRows(w, "dopplerSounds", r.dopplerSounds, r.dopplerCount);
  w.field("dopplerCount", r.dopplerCount);
  writeRows(w, "attenuations", r.attenuations, r.attenuationCount);
  w.field("attenuationCount", r.attenuationCount);
  writeArray(w, "stopSounds", r.stopSounds, static_cast<std::size_t>(r.stopSoundCount));
  w.field("stopSoundCount", r.stopSoundCount);
  writeRows(w, "trafficSignals", r.trafficSignals, r.trafficSignalCount);
  w.field("trafficSignalCount", r.trafficSignalCount);
  writeRows(w, "signs", r.signs, r.signCount);
  w.field("signCount", r.signCount);
  writeRows(w, "anims", r.anims, r.animCount);
  w.field("animCount", r.animCount);
  writeRows(w, "signalCallouts", r.signalCallouts, r.signalCalloutCount);
  w.field("signalCalloutCount", r.signalCalloutCount);
  writeRows(w, "stationCallouts", r.stationCallouts, r.stationCalloutCount);
  w.field("stationCalloutCount", r.stationCalloutCount);
  writeArray(w, "otherCalloutFiles", r.otherCalloutFiles, static_cast<std::size_t>(r.otherCalloutCount));
  w.field("otherCalloutCount", r.otherCalloutCount);
  writeArray(w, "limitCalloutFiles", r.limitCalloutFiles, static_cast<std::size_t>(r.limitCalloutCount));
  w.field("limitCalloutCount", r.limitCalloutCount);
  writeRows(w, "crossings", r.crossings, r.crossingCount);
  w.field("crossingCount", r.crossingCount);
  writeRecord(w, "monitorImage", r.monitorImage);
  w.field("signalOffsetX", r.signalOffsetX);
  w.field("signalOffsetY", r.signalOffsetY);
  w.field("animImageCount", r.animImageCount);
}

}  // namespace

void writeRouteJson(JsonWriter& w, const RouteData& route) {
  w.beginObject();
  writeHeader(w, route);
  writeTrackTables(w, route);
  writeTrackSide(w, route);
  w.endObject();
}

void writeStringsJson(JsonWriter& w, const UiStrings& s) {
  w.beginObject();
  const std::pair<std::string_view, int> numbers[] = {
      {"fastStepsPerSecond", s.fastStepsPerSecond},
      {"videoFrameFactor", s.videoFrameFactor},
      {"stafImageLeft", s.stafImageLeft},
      {"viewWidth", s.viewWidth},
      {"viewHeight", s.viewHeight},
      {"fadeExtraHeight", s.fadeExtraHeight},
  };
  for (const auto& [name, value] : numbers) w.field(name, value);
  const std::pair<std::string_view, const std::string*> texts[] = {
      {"videoDir", &s.videoDir},       {"forwardText", &s.forwardText},   {"neutralText", &s.neutralText},
      {"reverseText", &s.reverseText}, {"stopText", &s.stopText},         {"passText", &s.passText},
      {"stop2Text", &s.stop2Text},     {"neutText", &s.neutText},         {"neut2Text", &s.neut2Text},
      {"applyText", &s.applyText},     {"maintainText", &s.maintainText}, {"removeText", &s.removeText},
      {"holdText", &s.holdText},       {"hold2Text", &s.hold2Text},       {"ebText", &s.ebText},
      {"constText", &s.constText},     {"carsText", &s.carsText},         {"tcText", &s.tcText},
  };
  for (const auto& [name, value] : texts) w.field(name, *value);
  writeArray(w, "stopsTexts", s.stopsTexts);
  writeArray(w, "doorsTexts", s.doorsTexts);
  writeArray(w, "gearsTexts", s.gearsTexts);
  writeArray(w, "infoLabels", s.infoLabels, static_cast<std::size_t>(s.infoLabelCount));
  w.field("infoLabelCount", s.infoLabelCount);
  const std::pair<std::string_view, const std::string*> captions[] = {
      {"startCaption", &s.startCaption},     {"moveCaption", &s.moveCaption}, {"displayCaption", &s.displayCaption},
      {"controlCaption", &s.controlCaption}, {"saveCaption", &s.saveCaption},
  };
  for (const auto& [name, value] : captions) w.field(name, *value);
  w.endObject();
}

}  // namespace vesk::tools
