// The fields of the data files' records by their names: `file` visits those the file gives, in the order it gives
// them; `derived` those worked out after reading (positions from the "[SpeedUnit]" rows). One list serves the
// readers of comma-separated and one-value-a-line rows and the headless runner's JSON. visit(name, field) is
// called with a reference to each field; a field may be an array of values or of records.
#pragma once

#include "data/route_data.h"
#include "data/vehicle_spec.h"

namespace vesk::data {

// Specialised for every record; a record without a list does not compile.
template <class Record> struct Fields;

// Records whose fields all come from the file.
struct NothingDerived {
  template <class R, class V> static void derived(R&, V&&) {}
};

// Vehicle file records.

template <> struct Fields<PatternImage> : NothingDerived {
  template <class R, class V> static void file(R& r, V&& v) {
    v("x", r.x);
    v("y", r.y);
    v("patternWidth", r.patternWidth);
    v("patternHeight", r.patternHeight);
    v("file", r.file);
  }
};

template <> struct Fields<PanelImage> : NothingDerived {
  template <class R, class V> static void file(R& r, V&& v) {
    v("file", r.file);
    v("x", r.x);
    v("y", r.y);
  }
};

// Which of these a key gives depends on the key (see the vehicle reader).
template <> struct Fields<NeedleSpec> : NothingDerived {
  template <class R, class V> static void file(R& r, V&& v) {
    v("file", r.file);
    v("x", r.x);
    v("y", r.y);
    v("value3", r.value3);
    v("value4", r.value4);
    v("offset", r.offset);
    v("scale", r.scale);
    v("scale2", r.scale2);
    v("ammeterMode", r.ammeterMode);
  }
};

template <> struct Fields<ClockSpec> : NothingDerived {
  template <class R, class V> static void file(R& r, V&& v) {
    v("x", r.x);
    v("y", r.y);
    v("radius", r.radius);
  }
};

template <> struct Fields<SwitchSoundRow> : NothingDerived {
  template <class R, class V> static void file(R& r, V&& v) {
    v("sound", r.sound);
    v("speedBelow", r.speedBelow);
    v("switchKind", r.switchKind);
  }
};

template <> struct Fields<EngineRateRow> : NothingDerived {
  template <class R, class V> static void file(R& r, V&& v) {
    v("baseRpm", r.baseRpm);
    v("ratio", r.ratio);
  }
};

template <> struct Fields<NotchRow> : NothingDerived {
  template <class R, class V> static void file(R& r, V&& v) {
    v("startAccel", r.startAccel);
    v("accelAtV1", r.accelAtV1);
    v("rampEndSpeed", r.rampEndSpeed);
    v("decayStartSpeed", r.decayStartSpeed);
    v("decayExponent", r.decayExponent);
    v("mode", r.mode);
  }
};

template <> struct Fields<CurrentPRow> : NothingDerived {
  template <class R, class V> static void file(R& r, V&& v) {
    v("minNotch", r.minNotch);
    v("currentFactor", r.currentFactor);
    v("speedOffset", r.speedOffset);
    v("spare", r.spare);
  }
};

template <> struct Fields<CurrentBRow> : NothingDerived {
  template <class R, class V> static void file(R& r, V&& v) {
    v("slope", r.slope);
    v("speedOffset", r.speedOffset);
    v("spare", r.spare);
  }
};

template <> struct Fields<GearRow> : NothingDerived {
  template <class R, class V> static void file(R& r, V&& v) {
    v("vFrom", r.vFrom);
    v("vMid", r.vMid);
    v("vTo", r.vTo);
    v("forceFrom", r.forceFrom);
    v("forceMid", r.forceMid);
    v("forceTo", r.forceTo);
  }
};

template <> struct Fields<PowerModeRow> : NothingDerived {
  template <class R, class V> static void file(R& r, V&& v) {
    v("notchLabel", r.notchLabel);
    v("modeName", r.modeName);
  }
};

template <> struct Fields<EngineSound1Row> : NothingDerived {
  template <class R, class V> static void file(R& r, V&& v) {
    v("file", r.file);
    v("channelParam", r.channelParam);
    v("p", r.p);
  }
};

template <> struct Fields<EngineSound3Row> : NothingDerived {
  template <class R, class V> static void file(R& r, V&& v) {
    v("file", r.file);
    v("q1", r.q1);
    v("q2", r.q2);
    v("r", r.r);
  }
};

// Route file records.

template <> struct Fields<SpeedUnitRow> {
  template <class R, class V> static void file(R& r, V&& v) {
    v("frameFrom", r.frameFrom);
    v("frameTo", r.frameTo);
    v("speedFrom", r.speedFrom);
    v("speedTo", r.speedTo);
  }
  template <class R, class V> static void derived(R& r, V&& v) { v("endDistance", r.endDistance); }
};

template <> struct Fields<StationRow> {
  template <class R, class V> static void file(R& r, V&& v) {
    v("name", r.name);
    v("kind", r.kind);
    v("frame", r.frame);
    v("platformHalfLength", r.platformHalfLength);
    v("arrivalSound", r.arrivalSound);
    v("departureSound", r.departureSound);
    v("ambientSound", r.ambientSound);
    v("departureTime", r.departureTime);
    v("sectionSpeed", r.sectionSpeed);
    v("atsBeacon", r.atsBeacon);
    v("doorSide", r.doorSide);
    v("values12to14", r.values12to14);
    v("doorSoundChance", r.doorSoundChance);
  }
  template <class R, class V> static void derived(R& r, V&& v) {
    v("position", r.position);
    v("platformStart", r.platformStart);
    v("platformEnd", r.platformEnd);
  }
};

// The signal's run-time state (aspect, picture) is no part of the file.
template <> struct Fields<SignalRow> : NothingDerived {
  template <class R, class V> static void file(R& r, V&& v) {
    v("controlKind", r.controlKind);
    v("sub0Pattern", r.sub0Pattern);
    v("calloutNumber", r.calloutNumber);
    v("headType", r.headType);
    v("visibleFrom", r.visibleFrom);
    v("visibleTo", r.visibleTo);
    v("atsPoint1", r.atsPoint1);
    v("atsPoint2", r.atsPoint2);
    v("fixedAspect", r.fixedAspect);
    v("timeLimit", r.timeLimit);
    v("stationIndex", r.stationIndex);
    v("mainX", r.mainX);
    v("mainY", r.mainY);
    v("sub1Pattern", r.sub1Pattern);
    v("sub1X", r.sub1X);
    v("sub1Y", r.sub1Y);
    v("sub2Pattern", r.sub2Pattern);
    v("sub2X", r.sub2X);
    v("sub2Y", r.sub2Y);
    v("sub0X", r.sub0X);
    v("sub0Y", r.sub0Y);
    v("value22", r.value22);
  }
};

template <> struct Fields<SlopeRow> : NothingDerived {
  template <class R, class V> static void file(R& r, V&& v) {
    v("gradient", r.gradient);
    v("frameFrom", r.frameFrom);
    v("frameTo", r.frameTo);
  }
};

template <> struct Fields<SpeedLimitRow> {
  template <class R, class V> static void file(R& r, V&& v) {
    v("limit", r.limit);
    v("signImage", r.signImage);
    v("beaconKind", r.beaconKind);
    v("frame", r.frame);
    v("endFrame", r.endFrame);
    v("releaseImage", r.releaseImage);
  }
  template <class R, class V> static void derived(R& r, V&& v) { v("position", r.position); }
};

template <> struct Fields<SpeedCheck1Row> {
  template <class R, class V> static void file(R& r, V&& v) {
    v("limit", r.limit);
    v("value2", r.value2);
    v("frame", r.frame);
    v("signalLink", r.signalLink);
  }
  template <class R, class V> static void derived(R& r, V&& v) { v("position", r.position); }
};

template <> struct Fields<SpeedCheck2Row> : NothingDerived {
  template <class R, class V> static void file(R& r, V&& v) {
    v("limit", r.limit);
    v("value2", r.value2);
    v("frameFrom", r.frameFrom);
    v("frameTo", r.frameTo);
  }
};

template <> struct Fields<TunnelRow> {
  template <class R, class V> static void file(R& r, V&& v) {
    v("frameFrom", r.frameFrom);
    v("frameTo", r.frameTo);
    v("overlayLevel", r.overlayLevel);
  }
  template <class R, class V> static void derived(R& r, V&& v) {
    v("positionFrom", r.positionFrom);
    v("positionTo", r.positionTo);
  }
};

template <> struct Fields<TimetableRow> : NothingDerived {
  template <class R, class V> static void file(R& r, V&& v) {
    v("frameFrom", r.frameFrom);
    v("frameTo", r.frameTo);
    v("checkTime", r.checkTime);
  }
};

template <> struct Fields<SwitchRow> : NothingDerived {
  template <class R, class V> static void file(R& r, V&& v) {
    v("frame", r.frame);
    v("kind", r.kind);
  }
};

template <> struct Fields<MovieSwitchRow> : NothingDerived {
  template <class R, class V> static void file(R& r, V&& v) {
    v("kind", r.kind);
    v("frameFrom", r.frameFrom);
    v("frameTo", r.frameTo);
    v("videoName", r.videoName);
    v("length", r.length);
    v("done", r.done);
    v("target", r.target);
    v("startTime", r.startTime);
    v("value9", r.value9);
  }
};

template <> struct Fields<PreTrainRow> : NothingDerived {
  template <class R, class V> static void file(R& r, V&& v) {
    v("station", r.station);
    v("speed", r.speed);
    v("departureClock", r.departureClock);
  }
};

// Built from the signals, limits and stations; nothing of it is read.
template <> struct Fields<AtsBeacon> {
  template <class R, class V> static void file(R&, V&&) {}
  template <class R, class V> static void derived(R& r, V&& v) {
    v("position", r.position);
    v("speed", r.speed);
    v("signalIndex", r.signalIndex);
    v("stationIndex", r.stationIndex);
    v("kind", r.kind);
  }
};

template <> struct Fields<AnnounceRow> : NothingDerived {
  template <class R, class V> static void file(R& r, V&& v) {
    v("sound", r.sound);
    v("side", r.side);
    v("station", r.station);
    v("distance", r.distance);
  }
};

template <> struct Fields<TrackSoundRow> : NothingDerived {
  template <class R, class V> static void file(R& r, V&& v) {
    v("sound", r.sound);
    v("frameFrom", r.frameFrom);
    v("frameTo", r.frameTo);
    v("refSpeed", r.refSpeed);
    v("mode", r.mode);
    v("pitchFollowsSpeed", r.pitchFollowsSpeed);
    v("levelFollowsSpeed", r.levelFollowsSpeed);
    v("triggerKind", r.triggerKind);
  }
};

template <> struct Fields<TrackSound2Row> : NothingDerived {
  template <class R, class V> static void file(R& r, V&& v) {
    v("sound", r.sound);
    v("fromStation", r.fromStation);
    v("toStation", r.toStation);
  }
};

template <> struct Fields<DopplerRow> {
  template <class R, class V> static void file(R& r, V&& v) {
    v("sound", r.sound);
    v("frame", r.frame);
    v("range", r.range);
    v("plainPitch", r.plainPitch);
    v("stationFlag", r.stationFlag);
  }
  template <class R, class V> static void derived(R& r, V&& v) { v("position", r.position); }
};

template <> struct Fields<AttenuationRow> : NothingDerived {
  template <class R, class V> static void file(R& r, V&& v) {
    v("frameFrom", r.frameFrom);
    v("frameTo", r.frameTo);
    v("value3", r.value3);
    v("level", r.level);
  }
};

template <> struct Fields<TrafficSignalPhase> : NothingDerived {
  template <class R, class V> static void file(R& r, V&& v) {
    v("picture", r.picture);
    v("duration", r.duration);
    v("stopFlag", r.stopFlag);
  }
};

template <> struct Fields<TrafficSignalRow> {
  template <class R, class V> static void file(R& r, V&& v) {
    v("frameA", r.frameA);
    v("showFrom", r.showFrom);
    v("showTo", r.showTo);
    v("phases", r.phases);
    v("frameB", r.frameB);
    v("lastFrame", r.lastFrame);
    v("goPicture", r.goPicture);
    v("waitPicture", r.waitPicture);
    v("value26", r.value26);
  }
  template <class R, class V> static void derived(R& r, V&& v) {
    v("positionA", r.positionA);
    v("positionB", r.positionB);
  }
};

template <> struct Fields<SignRow> : NothingDerived {
  template <class R, class V> static void file(R& r, V&& v) {
    v("pattern", r.pattern);
    v("frameFrom", r.frameFrom);
    v("frameTo", r.frameTo);
    v("switchTime", r.switchTime);
  }
};

template <> struct Fields<AnimRow> : NothingDerived {
  template <class R, class V> static void file(R& r, V&& v) {
    v("frameFrom", r.frameFrom);
    v("frameTo", r.frameTo);
    v("stepTicks", r.stepTicks);
    v("firstPicture", r.firstPicture);
  }
};

template <> struct Fields<SignalCalloutRow> : NothingDerived {
  template <class R, class V> static void file(R& r, V&& v) {
    v("signal", r.signal);
    v("event", r.event);
    v("callout", r.callout);
  }
};

template <> struct Fields<StationCalloutRow> : NothingDerived {
  template <class R, class V> static void file(R& r, V&& v) {
    v("station", r.station);
    v("event", r.event);
    v("callout", r.callout);
  }
};

template <> struct Fields<CrossingRow> : NothingDerived {
  template <class R, class V> static void file(R& r, V&& v) {
    v("picture", r.picture);
    v("value2", r.value2);
    v("frameOn", r.frameOn);
    v("frameOff", r.frameOff);
    v("stationFlag", r.stationFlag);
  }
};

// Every field of a record, const or not: those of the file, then the derived ones.
template <class Record, class Visit> void visitFields(Record& record, Visit&& visit) {
  using F = Fields<std::remove_const_t<Record>>;
  F::file(record, visit);
  F::derived(record, visit);
}

// Whether a type has a field list (a record rather than a single value).
template <class T>
concept HasFields = requires {
  sizeof(Fields<std::remove_const_t<T>>);
};

}  // namespace vesk::data
