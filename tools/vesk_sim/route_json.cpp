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
  writeRows(w, "speedUnits", r.speedUnits, r.speedUnitCount, [&](const SpeedUnitRow& u) {
    w.field("frameFrom", u.frameFrom);
    w.field("frameTo", u.frameTo);
    w.field("speedFrom", u.speedFrom);
    w.field("speedTo", u.speedTo);
    w.field("endDistance", u.endDistance);
  });
  w.field("speedUnitCount", r.speedUnitCount);
  writeRows(w, "stations", r.stations, r.stationCount, [&](const StationRow& s) {
    w.field("name", s.name);
    w.field("kind", s.kind);
    w.field("frame", s.frame);
    w.field("platformHalfLength", s.platformHalfLength);
    w.field("arrivalSound", s.arrivalSound);
    w.field("departureSound", s.departureSound);
    w.field("ambientSound", s.ambientSound);
    w.field("departureTime", s.departureTime);
    w.field("sectionSpeed", s.sectionSpeed);
    w.field("atsBeacon", s.atsBeacon);
    w.field("doorSide", s.doorSide);
    writeArray(w, "values12to14", s.values12to14);
    w.field("doorSoundChance", s.doorSoundChance);
    w.field("position", s.position);
    w.field("platformStart", s.platformStart);
    w.field("platformEnd", s.platformEnd);
  });
  w.field("stationCount", r.stationCount);
  writeRows(w, "signals", r.signals, r.signalCount, [&](const SignalRow& s) {
    const std::pair<std::string_view, int> fields[] = {
        {"controlKind", s.controlKind},
        {"sub0Pattern", s.sub0Pattern},
        {"calloutNumber", s.calloutNumber},
        {"headType", s.headType},
        {"visibleFrom", s.visibleFrom},
        {"visibleTo", s.visibleTo},
        {"atsPoint1", s.atsPoint1},
        {"atsPoint2", s.atsPoint2},
        {"fixedAspect", s.fixedAspect},
        {"timeLimit", s.timeLimit},
        {"stationIndex", s.stationIndex},
        {"mainX", s.mainX},
        {"mainY", s.mainY},
        {"sub1Pattern", s.sub1Pattern},
        {"sub1X", s.sub1X},
        {"sub1Y", s.sub1Y},
        {"sub2Pattern", s.sub2Pattern},
        {"sub2X", s.sub2X},
        {"sub2Y", s.sub2Y},
        {"sub0X", s.sub0X},
        {"sub0Y", s.sub0Y},
        {"value22", s.value22},
    };
    for (const auto& [name, value] : fields) w.field(name, value);
  });
  w.field("signalCount", r.signalCount);
  writeArray(w, "signalSpeeds", r.signalSpeeds, static_cast<std::size_t>(r.signalSpeedCount));
  w.field("signalSpeedCount", r.signalSpeedCount);
  writeRows(w, "slopes", r.slopes, r.slopeCount, [&](const SlopeRow& s) {
    w.field("gradient", s.gradient);
    w.field("frameFrom", s.frameFrom);
    w.field("frameTo", s.frameTo);
  });
  w.field("slopeCount", r.slopeCount);
  writeRows(w, "speedLimits", r.speedLimits, r.speedLimitCount, [&](const SpeedLimitRow& l) {
    w.field("limit", l.limit);
    w.field("signImage", l.signImage);
    w.field("beaconKind", l.beaconKind);
    w.field("frame", l.frame);
    w.field("endFrame", l.endFrame);
    w.field("releaseImage", l.releaseImage);
    w.field("position", l.position);
  });
  w.field("speedLimitCount", r.speedLimitCount);
  writeRows(w, "speedChecks1", r.speedChecks1, r.speedCheck1Count, [&](const SpeedCheck1Row& c) {
    w.field("limit", c.limit);
    w.field("value2", c.value2);
    w.field("frame", c.frame);
    w.field("signalLink", c.signalLink);
    w.field("position", c.position);
  });
  w.field("speedCheck1Count", r.speedCheck1Count);
  writeRows(w, "speedChecks2", r.speedChecks2, r.speedCheck2Count, [&](const SpeedCheck2Row& c) {
    w.field("limit", c.limit);
    w.field("value2", c.value2);
    w.field("frameFrom", c.frameFrom);
    w.field("frameTo", c.frameTo);
  });
  w.field("speedCheck2Count", r.speedCheck2Count);
  writeRows(w, "tunnels", r.tunnels, r.tunnelCount, [&](const TunnelRow& t) {
    w.field("frameFrom", t.frameFrom);
    w.field("frameTo", t.frameTo);
    w.field("overlayLevel", t.overlayLevel);
    w.field("positionFrom", t.positionFrom);
    w.field("positionTo", t.positionTo);
  });
  w.field("tunnelCount", r.tunnelCount);
  writeRows(w, "timetable", r.timetable, r.timetableCount, [&](const TimetableRow& t) {
    w.field("frameFrom", t.frameFrom);
    w.field("frameTo", t.frameTo);
    w.field("checkTime", t.checkTime);
  });
  w.field("timetableCount", r.timetableCount);
  writeRows(w, "switches", r.switches, r.switchCount, [&](const SwitchRow& s) {
    w.field("frame", s.frame);
    w.field("kind", s.kind);
  });
  w.field("switchCount", r.switchCount);
  writeArray(w, "movieStops", r.movieStops, static_cast<std::size_t>(r.movieStopCount));
  writeRows(w, "movieSwitches", r.movieSwitches, r.movieSwitchCount, [&](const MovieSwitchRow& m) {
    w.field("kind", m.kind);
    w.field("frameFrom", m.frameFrom);
    w.field("frameTo", m.frameTo);
    w.field("videoName", m.videoName);
    w.field("length", m.length);
    w.field("done", m.done);
    w.field("target", m.target);
    w.field("startTime", m.startTime);
    w.field("value9", m.value9);
  });
  w.field("movieSwitchCount", r.movieSwitchCount);
  w.field("stafSwitchStart", r.stafSwitchStart);
  writeArray(w, "stafSwitches", r.stafSwitches, static_cast<std::size_t>(r.stafSwitchCount));
  w.field("stafSwitchCount", r.stafSwitchCount);
  w.field("preTrainStart", r.preTrainStart);
  w.field("preTrainParam", r.preTrainParam);
  writeRows(w, "preTrains", r.preTrains, r.preTrainCount, [&](const PreTrainRow& p) {
    w.field("station", p.station);
    w.field("speed", p.speed);
    w.field("departureClock", p.departureClock);
  });
  w.field("preTrainCount", r.preTrainCount);
  writeRows(w, "atsBeacons", r.atsBeacons, r.atsBeaconCount, [&](const AtsBeacon& b) {
    w.field("position", b.position);
    w.field("speed", b.speed);
    w.field("signalIndex", b.signalIndex);
    w.field("stationIndex", b.stationIndex);
    w.field("kind", b.kind);
  });
  w.field("atsBeaconCount", r.atsBeaconCount);
}

void writeInts(JsonWriter& w, std::initializer_list<std::pair<std::string_view, int>> fields) {
  for (const auto& [name, value] : fields) w.field(name, value);
}

void writeTrackSide(JsonWriter& w, const RouteData& r) {
  writeArray(w, "soundDataFiles", r.soundDataFiles, static_cast<std::size_t>(r.soundDataCount));
  w.field("soundDataCount", r.soundDataCount);
  writeArray(w, "soundDataLengths", r.soundDataLengths, static_cast<std::size_t>(r.soundDataCount));
  w.field("stopAnnounceSound", r.stopAnnounceSound);
  writeRows(
      w, "announcements", r.announcements, r.announceCount,
      [&](const AnnounceRow& a) {
        writeInts(w, {{"sound", a.sound}, {"side", a.side}, {"station", a.station}, {"distance", a.distance}});
      },
      1);
  w.field("announceCount", r.announceCount);
  writeArray(w, "calloutFiles1", r.calloutFiles1);
  writeArray(w, "calloutFiles2", r.calloutFiles2,
             static_cast<std::size_t>(r.calloutCount2 > kCallout1Count ? r.calloutCount2 - kCallout1Count : 0));
  w.field("calloutCount2", r.calloutCount2);
  writeRows(w, "trackSounds", r.trackSounds, r.trackSoundCount, [&](const TrackSoundRow& s) {
    writeInts(w, {{"sound", s.sound},
                  {"frameFrom", s.frameFrom},
                  {"frameTo", s.frameTo},
                  {"refSpeed", s.refSpeed},
                  {"mode", s.mode},
                  {"pitchFollowsSpeed", s.pitchFollowsSpeed},
                  {"levelFollowsSpeed", s.levelFollowsSpeed},
                  {"triggerKind", s.triggerKind}});
  });
  w.field("trackSoundCount", r.trackSoundCount);
  writeRows(w, "trackSounds2", r.trackSounds2, r.trackSound2Count, [&](const TrackSound2Row& s) {
    writeInts(w, {{"sound", s.sound}, {"fromStation", s.fromStation}, {"toStation", s.toStation}});
  });
  w.field("trackSound2Count", r.trackSound2Count);
  writeRows(w, "dopplerSounds", r.dopplerSounds, r.dopplerCount, [&](const DopplerRow& d) {
    writeInts(w, {{"sound", d.sound},
                  {"frame", d.frame},
                  {"range", d.range},
                  {"plainPitch", d.plainPitch},
                  {"stationFlag", d.stationFlag}});
    w.field("position", d.position);
  });
  w.field("dopplerCount", r.dopplerCount);
  writeRows(w, "attenuations", r.attenuations, r.attenuationCount, [&](const AttenuationRow& a) {
    writeInts(w, {{"frameFrom", a.frameFrom}, {"frameTo", a.frameTo}, {"value3", a.value3}, {"level", a.level}});
  });
  w.field("attenuationCount", r.attenuationCount);
  writeArray(w, "stopSounds", r.stopSounds, static_cast<std::size_t>(r.stopSoundCount));
  w.field("stopSoundCount", r.stopSoundCount);
  writeRows(w, "trafficSignals", r.trafficSignals, r.trafficSignalCount, [&](const TrafficSignalRow& t) {
    writeInts(w, {{"frameA", t.frameA}, {"showFrom", t.showFrom}, {"showTo", t.showTo}});
    w.key("phases");
    w.beginArray();
    for (const TrafficSignalPhase& p : t.phases) {
      w.beginObject();
      writeInts(w, {{"picture", p.picture}, {"duration", p.duration}, {"stopFlag", p.stopFlag}});
      w.endObject();
    }
    w.endArray();
    writeInts(w, {{"frameB", t.frameB},
                  {"lastFrame", t.lastFrame},
                  {"goPicture", t.goPicture},
                  {"waitPicture", t.waitPicture},
                  {"value26", t.value26}});
    w.field("positionA", t.positionA);
    w.field("positionB", t.positionB);
  });
  w.field("trafficSignalCount", r.trafficSignalCount);
  writeRows(w, "signs", r.signs, r.signCount, [&](const SignRow& s) {
    writeInts(
        w, {{"pattern", s.pattern}, {"frameFrom", s.frameFrom}, {"frameTo", s.frameTo}, {"switchTime", s.switchTime}});
  });
  w.field("signCount", r.signCount);
  writeRows(w, "anims", r.anims, r.animCount, [&](const AnimRow& a) {
    writeInts(w, {{"frameFrom", a.frameFrom},
                  {"frameTo", a.frameTo},
                  {"stepTicks", a.stepTicks},
                  {"firstPicture", a.firstPicture}});
  });
  w.field("animCount", r.animCount);
  writeRows(w, "signalCallouts", r.signalCallouts, r.signalCalloutCount, [&](const SignalCalloutRow& c) {
    writeInts(w, {{"signal", c.signal}, {"event", c.event}, {"callout", c.callout}});
  });
  w.field("signalCalloutCount", r.signalCalloutCount);
  writeRows(w, "stationCallouts", r.stationCallouts, r.stationCalloutCount, [&](const StationCalloutRow& c) {
    writeInts(w, {{"station", c.station}, {"event", c.event}, {"callout", c.callout}});
  });
  w.field("stationCalloutCount", r.stationCalloutCount);
  writeArray(w, "otherCalloutFiles", r.otherCalloutFiles, static_cast<std::size_t>(r.otherCalloutCount));
  w.field("otherCalloutCount", r.otherCalloutCount);
  writeArray(w, "limitCalloutFiles", r.limitCalloutFiles, static_cast<std::size_t>(r.limitCalloutCount));
  w.field("limitCalloutCount", r.limitCalloutCount);
  writeRows(w, "crossings", r.crossings, r.crossingCount, [&](const CrossingRow& c) {
    writeInts(w, {{"picture", c.picture},
                  {"value2", c.value2},
                  {"frameOn", c.frameOn},
                  {"frameOff", c.frameOff},
                  {"stationFlag", c.stationFlag}});
  });
  w.field("crossingCount", r.crossingCount);
  w.key("monitorImage");
  w.beginObject();
  w.field("x", r.monitorImage.x);
  w.field("y", r.monitorImage.y);
  w.field("patternWidth", r.monitorImage.patternWidth);
  w.field("patternHeight", r.monitorImage.patternHeight);
  w.field("file", r.monitorImage.file);
  w.endObject();
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
