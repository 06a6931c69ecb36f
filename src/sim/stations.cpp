// The stations along the line, every tick and in running order: the next-station text between platforms, the
// platform the train is in, arrival, the doors of a conductor-operated train, the departure announcement timed
// to end at the departure time, and the end of the run at the last station.
#include <algorithm>
#include <cmath>

#include "core/rounding.h"
#include "sim/drive.h"
#include "sim/stations.h"

namespace vesk::sim {
namespace {

// Sound numbers in station rows count from 0; the first environment sound greets at the start of a run.
constexpr int kFirstEnvironmentSound = 0;
// The "[Sound2]" table has an effect only with exactly one row.
constexpr int kSound2Rows = 1;

bool stopped(const TrainState& s) { return core::nearest(s.speed) == 0; }
bool standing(const TrainState& s) { return std::fabs(s.speed) < 0.1; }
bool doorsShut(const TrainState& s) { return s.doorOpenCommanded == 0 && s.doorsNotClosed == 0; }

const std::string& infoLabel(const Drive& drive, int n) {
  static const std::string none;
  return n < drive.strings.infoLabelCount ? drive.strings.infoLabels[static_cast<std::size_t>(n)] : none;
}

std::string nextStationText(const Drive& drive, const data::StationRow& next) {
  const data::UiStrings& t = drive.strings;
  switch (next.kind) {
  case 0:
    return "次は " + next.name + t.stopText;
  case 1:
    return "次は " + next.name + t.passText;
  case 2:
    return "次は " + next.name + t.stop2Text;
  case 3:
    return infoLabel(drive, 0);
  default:
    return "次は " + next.name;
  }
}

void playOnce(Drive& drive, int sound) { drive.sounds.play_once(environmentChannel(drive, sound)); }

bool playing(const Drive& drive, int sound) { return drive.sounds.is_playing(environmentChannel(drive, sound)); }

// The single "[Sound2]" row: its sound belongs to the stops from its first station up to its end station.
const data::TrackSound2Row* sound2Row(const Drive& drive) {
  return drive.route.trackSound2Count == kSound2Rows ? &drive.route.trackSounds2[0] : nullptr;
}

// Step 1: between this station's platform and the next one's.
void betweenPlatforms(Drive& drive, int i, int count) {
  TrainState& s = drive.state;
  const data::RouteData& route = drive.route;
  const data::StationRow& st = route.stations[static_cast<std::size_t>(i)];
  const bool last = i + 1 == count;
  if (!(s.position > static_cast<double>(st.platformEnd) &&
        (last || s.position < static_cast<double>(route.stations[static_cast<std::size_t>(i) + 1].platformStart)))) {
    return;
  }
  if (!last) {
    // The station's texts never change: build the text once per station passed.
    if (drive.nextStationTextFor != i) {
      drive.nextStationTextFor = i;
      s.nextStationText = nextStationText(drive, route.stations[static_cast<std::size_t>(i) + 1]);
    }
    if (drive.texts.NextStopText != s.nextStationText) drive.texts.NextStopText = s.nextStationText;
    drive.line.stations[static_cast<std::size_t>(i) + 1].inPlatform = 0;
  }
  drive.stationSprites.nameBoard.show(drive.sprites, false);
  drive.line.stations[static_cast<std::size_t>(i)].inPlatform = 0;
  if (media::Sprite* monitor = drive.stationSprites.monitor.get(drive.sprites)) monitor->pattern = i + 1;
}

// Step 2: inside the platform of a station where trains may stop.
void inPlatform(Drive& drive, int i) {
  TrainState& s = drive.state;
  StationState& f = drive.line.stations[static_cast<std::size_t>(i)];
  const data::StationRow& st = drive.route.stations[static_cast<std::size_t>(i)];
  if (f.inPlatform == 0) {
    if (media::Sprite* board = drive.stationSprites.nameBoard.get(drive.sprites)) {
      board->visible = true;
      board->pattern = i + 1;
    }
    s.doorChanceRoll = static_cast<std::int32_t>(drive.random() % 100);
  }
  if (f.inPlatform == 0 || s.currentStation != i || s.stationText.empty()) s.stationText = "ただいま " + st.name;
  if (drive.texts.NextStopText != s.stationText) drive.texts.NextStopText = s.stationText;
  s.currentStation = i;
  f.inPlatform = 1;
  if (media::Sprite* monitor = drive.stationSprites.monitor.get(drive.sprites)) monitor->pattern = i;
}

void arrive(Drive& drive, StationState& f, int sound) {
  playOnce(drive, sound);
  drive.state.stationEvent = drive.state.clock;
  f.arrived = 1;
  drive.state.departurePending = 1;
}

// Step 4: arrival, the doors of a conductor-operated train and the departure announcement, until the stop is
// served. Returns false when no stop remains after this one (the rest of the stations wait for the next tick).
bool atStation(Drive& drive, int i) {
  TrainState& s = drive.state;
  StationState& f = drive.line.stations[static_cast<std::size_t>(i)];
  const data::StationRow& st = drive.route.stations[static_cast<std::size_t>(i)];
  const bool oneMan = drive.route.oneMan >= 1;
  bool more = true;
  if (f.inPlatform == 0 || f.served == 1) return more;

  // Standing at the first station of the line or of the run, the train is greeted.
  if (st.kind == 0 && (i == 0 || i == drive.startStation) && stopped(s) && f.arrived == 0) {
    arrive(drive, f, kFirstEnvironmentSound);
  }
  if (st.kind == 0 && oneMan && doorsShut(s) && stopped(s) && f.stopNoticed == 0) {
    f.stopNoticed = 1;
    drive.stationCallOut(0);
  }
  if (st.kind == 0 && !oneMan && doorsShut(s) && standing(s)) {
    // The conductor opens the doors.
    drive.stationCallOut(0);
    drive.Door_operate();
    arrive(drive, f, st.arrivalSound);
    drive.stationCallOut(1);
    if (const data::TrackSound2Row* row = sound2Row(drive); row != nullptr && i == row->toStation) {
      drive.sounds.stop(environmentChannel(drive, row->sound));
    }
  }
  if (st.kind == 0 && oneMan && s.doorOpenCommanded == 1 && f.arrived == 0 && stopped(s)) {
    // The driver has opened the doors.
    arrive(drive, f, st.arrivalSound);
    drive.stationCallOut(1);
    more = chooseNextStop(drive, i);
  }
  if (st.kind == 2 && stopped(s) && f.arrived == 0) arrive(drive, f, st.arrivalSound);

  // The departure announcement starts so that it ends at the departure time, once the arrival sound is over.
  const std::int64_t departureSound = std::int64_t{30} * environmentSeconds(drive, st.departureSound);
  const std::int64_t arrivalSound = std::int64_t{30} * environmentSeconds(drive, st.arrivalSound);
  if (st.departureTime - departureSound < s.clock && f.departureAnnounced == 0 &&
      std::int64_t{s.clock} - s.stationEvent > arrivalSound &&
      ((st.kind >= 2 && standing(s)) || (st.kind == 0 && s.doorOpenCommanded == 1))) {
    more = chooseNextStop(drive, i) && more;
    playOnce(drive, st.departureSound);
    f.departureAnnounced = 1;
    s.stationEvent = s.clock;
    drive.stationCallOut(2);
    if (st.kind == 2) drive.sounds.play_once(drive.vehicle.soundDepartureSignal);
  }

  // The conductor closes the doors after the departure time, once the announcement is over.
  if (!oneMan && s.clock > st.departureTime && s.doorOpenCommanded == 1 && f.arrived == 1 &&
      f.departureAnnounced == 1 && std::int64_t{s.clock} - s.stationEvent > departureSound) {
    drive.Door_operate();
    f.served = 1;
    drive.sounds.stop(environmentChannel(drive, st.arrivalSound));
    drive.stationCallOut(5);
    const data::TrackSound2Row* row = sound2Row(drive);
    if (row != nullptr && row->fromStation <= i && i < row->toStation) {
      const int channel = environmentChannel(drive, row->sound);
      if (!drive.sounds.is_playing(channel)) drive.sounds.play_loop(channel);
    }
  }
  return more;
}

// Step 6: standing at the last station with the doors open (or at a stop without door handling), once the
// arrival sound is over, the run ends.
void endOfRun(Drive& drive, int last) {
  TrainState& s = drive.state;
  const data::StationRow& st = drive.route.stations[static_cast<std::size_t>(last)];
  if (drive.line.stations[static_cast<std::size_t>(last)].inPlatform == 0 || !stopped(s) || s.runEnded == 1 ||
      playing(drive, st.arrivalSound)) {
    return;
  }
  if ((st.kind == 0 && s.doorOpenCommanded == 1) || st.kind >= 2) {
    drive.raiseUiEvent("BackClick");
    s.runEnded = 1;
  }
}

}  // namespace

int environmentChannel(const Drive& drive, int sound) {
  if (sound < 0 || sound >= drive.route.soundDataCount) return -1;
  return drive.soundLayout.driveSoundCount + sound;
}

int environmentSeconds(const Drive& drive, int sound) {
  if (sound < 0 || sound >= drive.route.soundDataCount || sound >= data::kSoundDataCapacity) return 0;
  return drive.route.soundDataLengths[static_cast<std::size_t>(sound)];
}

bool chooseNextStop(Drive& drive, int from) {
  TrainState& s = drive.state;
  const data::RouteData& route = drive.route;
  const int count = std::min(route.stationCount, data::kStationCapacity);
  for (int j = std::max(from + 1, 0); j < count; ++j) {
    const data::StationRow& next = route.stations[static_cast<std::size_t>(j)];
    if (next.kind != 0 && next.kind != 2) continue;
    s.nextStop = j;
    s.targetPosition = static_cast<double>(next.position);
    if (from >= 0 && from < count) s.fromStationText = route.stations[static_cast<std::size_t>(from)].name;
    s.toStationText = next.name;
    return true;
  }
  return false;
}

void stationStep(Drive& drive) {
  TrainState& s = drive.state;
  const data::RouteData& route = drive.route;
  const int count = std::min(route.stationCount, data::kStationCapacity);
  bool inAnyPlatform = false;
  for (int i = 0; i < count; ++i) {
    const data::StationRow& st = route.stations[static_cast<std::size_t>(i)];
    betweenPlatforms(drive, i, count);
    const bool inside =
        static_cast<double>(st.platformStart) <= s.position && s.position <= static_cast<double>(st.platformEnd);
    if (inside) {
      inAnyPlatform = true;
      if (st.kind != 1) inPlatform(drive, i);
      if (st.ambientSound != 0) {
        const int channel = environmentChannel(drive, st.ambientSound);
        if (!drive.sounds.is_playing(channel)) drive.sounds.play_loop(channel);
        drive.platformSoundStarted = true;
      }
    }
    // The one-man door message, once the arrival announcement is over.
    const StationState& f = drive.line.stations[static_cast<std::size_t>(i)];
    if (route.oneMan >= 1 && f.inPlatform == 1 && s.doorOpenCommanded == 1 && f.arrived == 1 &&
        !playing(drive, st.arrivalSound) && drive.texts.StationNoticeText != infoLabel(drive, 1)) {
      drive.texts.StationNoticeText = infoLabel(drive, 1);
    }
    if (!atStation(drive, i)) return;
    if (i + 1 == count) endOfRun(drive, i);
  }
  if (!inAnyPlatform && drive.platformSoundStarted) {
    drive.platformSoundStarted = false;
    for (int i = 0; i < count; ++i) {
      const int sound = route.stations[static_cast<std::size_t>(i)].ambientSound;
      if (sound == 0) continue;
      const int channel = environmentChannel(drive, sound);
      if (drive.sounds.is_playing(channel)) drive.sounds.stop(channel);
    }
  }
}

void prepareStationsAtStart(Drive& drive, int startStation) {
  const data::RouteData& route = drive.route;
  const int count = std::min(route.stationCount, data::kStationCapacity);
  if (count <= 0) return;
  TrainState& s = drive.state;
  const int k = std::clamp(startStation, 0, count - 1);
  const data::StationRow& st = route.stations[static_cast<std::size_t>(k)];
  drive.startStation = k;
  s.currentStation = k;
  // Standing in the platform of a stop, the doors are open (a start position outside the platform would leave
  // them open with nobody to close them).
  if (st.kind == 0 && static_cast<double>(st.platformStart) <= s.position &&
      s.position <= static_cast<double>(st.platformEnd)) {
    s.doorOpenCommanded = 1;
    s.doorsNotClosed = 1;
  }
  chooseNextStop(drive, k);
  s.distanceToStop = s.targetPosition - s.position;
  // The departure announcement waits for the arrival sound's length and then ends at the departure time.
  const std::int64_t lead =
      std::int64_t{30} * (environmentSeconds(drive, st.departureSound) + environmentSeconds(drive, st.arrivalSound));
  s.clock = core::saturate32(st.departureTime - lead);
}

}  // namespace vesk::sim
