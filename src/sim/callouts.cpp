// The driver's call-outs: the queue's playback on the call-out channel, the station and time phrases, and the
// response to Enter (the item pending, a level crossing, or the signal ahead).
#include <algorithm>
#include <cstdlib>

#include "core/rounding.h"
#include "sim/drive.h"

namespace vesk::sim {
namespace {

// Fixed slots of the first call-out set.
constexpr int kSlotTimeBucketFirst = 6;  // 6 .. 12: 15 s .. 120 s off the time, in steps of 15 s
constexpr int kSlotBehindAtStation = 13;
constexpr int kSlotBehindAtCheck = 14;
constexpr int kSlotAheadAtStation = 15;
constexpr int kSlotAheadAtCheck = 16;
constexpr int kSlotOnTimeAtStation = 17;
constexpr int kSlotOnTimeAtCheck = 18;
constexpr int kSlotDoorsClosed = 19;
constexpr int kSlotDeparture = 20;
constexpr int kSlotSignalsFirst = data::kCallout1Count;  // the "[KankoSound2]" slots, each with its signal number

// Clock units (1/30 s): within 15 s is on time; 15 s buckets up to 2 minutes.
constexpr std::int64_t kOnTimeUnits = 450;
constexpr std::int64_t kBucketUnits = 450;
constexpr std::int64_t kLongestUnits = 3600;

// The pending other item that is the time check.
constexpr int kTimeCheckItem = 900;
// A station row's value that answers as the driver's Enter would, and the first that names a time of day.
constexpr int kRowEnter = 999;
constexpr int kRowTimeFirst = 1000;

// The slot called for a signal's indication code (the picture the signal ahead shows); -1 none.
int indicationSlot(int code) {
  switch (code) {
  case 1:
  case 7:
  case 10:
  case 13:
  case 17:
  case 21:
  case 26:
  case 30:
    return 0;
  case 18:
  case 22:
    return 1;
  case 4:
  case 8:
  case 11:
  case 14:
  case 19:
  case 23:
  case 27:
  case 31:
    return 2;
  case 5:
  case 15:
  case 24:
    return 3;
  case 3:
  case 6:
  case 9:
  case 12:
  case 16:
  case 20:
  case 25:
  case 28:
  case 33:
    return 4;
  case 2:
    return 5;
  case 29:
  case 34:
    return 21;
  default:
    return -1;
  }
}

template <class Files> const std::string& fileAt(const Files& files, int index) {
  static const std::string none;
  return index >= 0 && index < static_cast<int>(files.size()) ? files[static_cast<std::size_t>(index)] : none;
}

template <class Waves> std::shared_ptr<const media::Wave> waveAt(const Waves& waves, int index) {
  return index >= 0 && index < static_cast<int>(waves.size()) ? waves[static_cast<std::size_t>(index)] : nullptr;
}

bool loaded(const std::shared_ptr<const media::Wave>& wave) { return wave && !wave->empty(); }

void queueSlot(Drive& drive, int slot) {
  const data::RouteData& route = drive.route;
  const std::string& file = slot < kSlotSignalsFirst ? fileAt(route.calloutFiles1, slot)
                                                     : fileAt(route.calloutFiles2, slot - kSlotSignalsFirst);
  drive.kanko_queue_add({waveAt(drive.callOutWaves.CallOutSounds, slot), file});
}

// An item's identity for the Enter response: its index past the channels and the call-out slots.
int itemIdentity(const Drive& drive, int index) {
  const media::SoundLayout& l = drive.soundLayout;
  return index + l.driveSoundCount + l.soundDataCount + drive.route.calloutCount2;
}

// The signal on screen: the last "[Signal]" row whose range holds the frame; -1 none.
int signalOnScreen(const Drive& drive) {
  int shown = -1;
  const int count = std::min(drive.route.signalCount, data::kSignalCapacity);
  for (int i = 0; i < count; ++i) {
    const data::SignalRow& row = drive.route.signals[static_cast<std::size_t>(i)];
    if (row.visibleFrom <= drive.state.frame && drive.state.frame < row.visibleTo) shown = i;
  }
  return shown;
}

void signalCallOut(Drive& drive) {
  const TrainState& s = drive.state;
  if (s.shownSignalImage != kNone) {
    const int count = std::min(drive.route.calloutCount2, data::kCalloutSlots);
    for (int k = kSlotSignalsFirst; k < count; ++k) {
      if (k - kSlotSignalsFirst != s.shownSignalCallout) continue;
      drive.kanko_add(1);
      queueSlot(drive, k);
    }
  }
  if (const int slot = indicationSlot(s.shownSignalImage); slot >= 0) queueSlot(drive, slot);
  drive.kanko_add(2);
}

}  // namespace

void Drive::kanko_queue_play() { callOutQueue.play(sounds, soundLayout.calloutChannel(), settings.Kanko == 0); }

void Drive::kanko_add(int kind) {
  if (state.shownSignalImage == kNone) return;
  const int signal = signalOnScreen(*this);
  if (signal < 0) return;
  const int count = std::min(route.signalCalloutCount, data::kCalloutRowCapacity);
  for (int i = 0; i < count; ++i) {
    const data::SignalCalloutRow& row = route.signalCallouts[static_cast<std::size_t>(i)];
    if (row.signal != signal) continue;
    if ((kind == 1 && row.event == 0) || (kind == 2 && (row.event == 2 || row.event == 1))) {
      queueSlot(*this, row.callout);
    }
  }
}

void Drive::stationCallOut(int event) {
  // The doors-closed and departure phrases come whether or not the station has rows of its own.
  if (event == 3) queueSlot(*this, kSlotDoorsClosed);
  if (event == 4) queueSlot(*this, kSlotDeparture);
  // Which rows of "[StationKanko]" belong to each event.
  static constexpr int kRowKind[] = {4, 0, 1, 2, 3, 5};
  if (event < 0 || event >= static_cast<int>(std::size(kRowKind))) return;
  const int count = std::min(route.stationCalloutCount, data::kCalloutRowCapacity);
  for (int i = 0; i < count; ++i) {
    const data::StationCalloutRow& row = route.stationCallouts[static_cast<std::size_t>(i)];
    if (row.station != state.currentStation || row.event != kRowKind[static_cast<std::size_t>(event)]) continue;
    if (row.callout >= kRowTimeFirst) {
      Timekanko(row.callout, 0);
    } else if (row.callout == kRowEnter) {
      callOutResponse();
    } else {
      queueSlot(*this, row.callout);
    }
  }
}

void Drive::Timekanko(std::int32_t time, int kind) {
  const std::int64_t behind = std::int64_t{state.clock} - time;
  const std::int64_t off = std::llabs(behind);
  if (off <= kOnTimeUnits) {
    queueSlot(*this, kind == 0 ? kSlotOnTimeAtStation : kSlotOnTimeAtCheck);
    return;
  }
  if (off > kLongestUnits) return;
  queueSlot(*this, kSlotTimeBucketFirst + static_cast<int>((off - kOnTimeUnits - 1) / kBucketUnits));
  if (behind > 0) {
    queueSlot(*this, kind == 0 ? kSlotBehindAtStation : kSlotBehindAtCheck);
  } else {
    queueSlot(*this, kind == 0 ? kSlotAheadAtStation : kSlotAheadAtCheck);
  }
}

void Drive::Timecheck() {
  const int count = std::min(route.timetableCount, data::kTimetableCapacity);
  for (int i = 0; i < count; ++i) {
    const data::TimetableRow& row = route.timetable[static_cast<std::size_t>(i)];
    if (row.frameFrom < state.frame && state.frame < row.frameTo) Timekanko(row.checkTime, 1);
  }
}

void Drive::callOutResponse() {
  TrainState& s = state;
  // The other item ahead (or the time check), once per item.
  if (s.pendingOther != kNone) {
    const int identity = itemIdentity(*this, s.pendingOther);
    const bool timeCheck = s.pendingOther == kTimeCheckItem;
    if ((timeCheck || loaded(waveAt(callOutWaves.OtherCallOutSounds, s.pendingOther))) && identity != s.lastCallOutId) {
      if (timeCheck) {
        Timecheck();
      } else {
        kanko_queue_add(
            {waveAt(callOutWaves.OtherCallOutSounds, s.pendingOther), fileAt(route.otherCalloutFiles, s.pendingOther)});
      }
      s.lastCallOutId = identity;
      return;
    }
  }
  // The speed limit ahead or just passed, once per item, while moving.
  const std::int64_t speed = core::nearest(s.speed);
  if ((s.limitWarnPending == 1 || s.limitEndPending == 1) && s.pendingOther == kNone && speed != 0 &&
      s.pendingLimit != kNone && itemIdentity(*this, s.pendingLimit) != s.lastCallOutId) {
    kanko_queue_add(
        {waveAt(callOutWaves.LimitCallOutSounds, s.pendingLimit), fileAt(route.limitCalloutFiles, s.pendingLimit)});
    s.lastCallOutId = itemIdentity(*this, s.pendingLimit);
    return;
  }
  // The level crossing at the head of the crossing queue, while moving forwards. (The panel has no crossing
  // warning lamp that could make the call-out wait.)
  if (s.crossingPending != -1 && speed > 0) {
    const int head = s.crossingQueue[0];
    if (head < 0 || head >= std::min(route.crossingCount, data::kCrossingCapacity)) return;
    queueSlot(*this, route.crossings[static_cast<std::size_t>(head)].value2);
    std::rotate(s.crossingQueue.begin(), s.crossingQueue.begin() + 1, s.crossingQueue.end());
    s.crossingQueue.back() = -1;
    if (s.crossingQueue[0] == -1) s.crossingPending = -1;
    return;
  }
  signalCallOut(*this);
}

}  // namespace vesk::sim
