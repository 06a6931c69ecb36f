// The twelve route files of the demo pack: the six services (down and up; local, rapid, through) and their "_A"
// variants. All of one direction share the direction's video and its "[SpeedUnit]" rows; they differ in the
// stations they stop at, the first station of the run, the time of day and one-man operation.
#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "demo_line/line_model.h"
#include "demo_line/pack_files.h"
#include "demo_line/pack_text.h"
#include "demo_line/sound_catalog.h"

namespace vesk::demo {
namespace {

struct Service {
  std::string file;
  bool down = true;
  std::string kind;         // 各駅停車, 快速, 直通
  std::vector<bool> stops;  // by station in running order; the first of the run and the last always stop
  int first = 0;            // running-order index of the first station of the run
  int hour = 0;
  int minute = 0;
  int oneMan = 0;
};

std::vector<Service> services() {
  const std::vector<bool> all(5, true);
  const std::vector<bool> rapid = {true, false, true, false, true};
  const std::vector<bool> through = {true, true, true, false, true};
  return {{"line_down_local.dat", true, "各駅停車", all, 0, 7, 30, 0},
          {"line_down_local_A.dat", true, "各駅停車", all, 0, 18, 12, 0},
          {"line_down_rapid.dat", true, "快速", rapid, 0, 8, 5, 0},
          {"line_down_rapid_A.dat", true, "快速", {true, true, true, false, true}, 1, 8, 44, 0},
          {"line_down_tr.dat", true, "直通", through, 0, 9, 20, 1},
          {"line_down_tr_A.dat", true, "直通", through, 0, 14, 5, 1},
          {"line_up_local.dat", false, "各駅停車", all, 0, 7, 42, 0},
          {"line_up_local_A.dat", false, "各駅停車", all, 0, 17, 50, 0},
          {"line_up_rapid.dat", false, "快速", {true, false, true, false, true}, 0, 8, 20, 0},
          {"line_up_rapid_A.dat", false, "快速", {true, false, true, true, true}, 1, 9, 1, 0},
          {"line_up_tr.dat", false, "直通", {true, false, true, true, true}, 0, 10, 15, 1},
          {"line_up_tr_A.dat", false, "直通", {true, false, true, true, true}, 0, 15, 40, 1}};
}

// Builds the text of one route file.
class RouteText {
 public:
  template <class... V> void key(const std::string& k, const V&... values) {
    out_ << k << '\n';
    ((out_ << values << '\n'), ...);
  }
  // A list key: optional head lines, then rows, then the "#" that ends the list.
  void list(const std::string& k, const std::vector<std::string>& rows, const std::vector<std::string>& head = {}) {
    out_ << k << '\n';
    for (const std::string& h : head) out_ << h << '\n';
    for (const std::string& r : rows) out_ << r << '\n';
    out_ << "#\n";
  }
  void lines(const std::string& k, const std::vector<std::string>& values) {
    out_ << k << '\n';
    for (const std::string& v : values) out_ << v << '\n';
  }
  void comment(const std::string& text) { out_ << "; " << text << '\n'; }
  std::string str() const { return out_.str(); }

 private:
  std::ostringstream out_;
};

template <class... V> std::string csv(const V&... values) {
  std::ostringstream s;
  bool first = true;
  ((s << (first ? "" : ",") << values, first = false), ...);
  return s.str();
}

// The limit sign sheet numbers the limits in down order.
int limitSignPattern(int kmh) {
  const auto& limits = demoLine().limits;
  for (std::size_t i = 0; i < limits.size(); ++i) {
    if (limits[i].kmh == kmh) return static_cast<int>(i) + 1;
  }
  return 0;
}

// A signal beside the line: where it stands (m along the direction) and what it is.
struct SignalSite {
  double at = 0;
  int headType = 0;
  int callout = 0;  // 0 departure, 1 home, 2 block
};

std::vector<SignalSite> signalSites(const Line& l) {
  std::vector<SignalSite> sites;
  for (std::size_t k = 0; k < l.stations.size(); ++k) {
    const double at = l.stations[k].at;
    if (k > 0) sites.push_back({at - 250, 5, 1});
    if (k + 1 < l.stations.size()) {
      sites.push_back({at + 60, 2, 0});
      // Block signals between the departure signal and the next home signal, about every 800 m.
      const double from = at + 60;
      const double to = l.stations[k + 1].at - 250;
      const int blocks = static_cast<int>((to - from) / 800);
      for (int b = 1; b <= blocks; ++b) sites.push_back({from + (to - from) * b / (blocks + 1), 4, 2});
    }
  }
  return sites;
}

int downIndex(bool down, int k) { return down ? k : 4 - k; }

std::vector<std::string> files(const std::vector<SoundSpec>& sounds) {
  std::vector<std::string> names;
  names.reserve(sounds.size());
  for (const SoundSpec& s : sounds) names.push_back(s.file);
  return names;
}

std::string routeFile(const Service& sv) {
  const Line l = lineInDirection(sv.down);
  const Recording rec = recordingOf(sv.down);
  const EnvironmentSounds env;
  const double end = positionAtFrame(rec, rec.lastFrame());
  auto frame = [&](double metres) { return frameAt(rec, std::clamp(metres, rec.origin, end)); };
  const int stations = static_cast<int>(l.stations.size());
  auto at = [&](int k) { return l.stations[static_cast<std::size_t>(k)].at; };
  auto stops = [&](int k) { return k == sv.first || k + 1 == stations || sv.stops[static_cast<std::size_t>(k)]; };

  // The timetable: the recorded run's times with a margin, 30 s at each stop.
  std::vector<int> departure(static_cast<std::size_t>(stations), 0);
  std::vector<int> arrival(static_cast<std::size_t>(stations), 0);
  int clock = clockUnits(sv.hour, sv.minute);
  for (int k = sv.first; k < stations; ++k) {
    if (k > sv.first) clock += static_cast<int>((frame(at(k)) - frame(at(k - 1))) * 1.12) + 300;
    arrival[static_cast<std::size_t>(k)] = clock;
    if (k > sv.first && stops(k) && k + 1 < stations) clock += 30 * 30;
    departure[static_cast<std::size_t>(k)] = clock;
  }

  RouteText t;
  const std::string towards = l.stations.back().name;
  t.comment("港湾線 " + std::string(sv.down ? "下り" : "上り") + " " + sv.kind + " " + towards + "行き " +
            clockText(departure[static_cast<std::size_t>(sv.first)]) + "発 (vesk demo line)");
  t.key("[LineName]", "港湾線 " + sv.kind + " " + towards + "行き");
  t.key("[LineName2]", sv.kind + " " + towards + "行き");
  t.key("[StartPos]", frame(at(sv.first)) + 2);
  t.key("[FrameRate]", 15);
  t.key("[Staf]", "image\\staf\\overlay.bmp", "image\\staf\\standby.bmp", "image\\staf\\subdisp.bmp");
  t.key("[Friction]", sv.hour >= 17 ? "0.25" : "0.3");
  t.list("[MovieStop]", {std::to_string(rec.lastFrame() - 30)});
  t.list("[Speed_Signal]", {"0", "25", "45", "65", "110"});
  t.key("[DataName]", sv.down ? "down" : "up");
  t.key("[Perspective]", "20.0", 200);
  // The preceding train leaves every station six minutes before this one and runs at 60 km/h; at the terminus it
  // runs on off the line. It starts where it is at this train's first departure, waiting at the second station
  // ahead, so that its signals stay clear for a train at the video's speed (which makes no stops).
  std::vector<std::string> pre;
  for (int k = sv.first; k < stations; ++k) {
    pre.push_back(csv(k - sv.first, 60, k + 1 < stations ? departure[static_cast<std::size_t>(k)] - 360 * 30 : 0));
  }
  const int ahead = std::min(sv.first + 2, stations - 1);
  t.list("[Pre_Train]", pre, {csv(frame(at(ahead)) + 2, rec.lastFrame())});
  t.key("[OneMan]", sv.oneMan);
  t.list("[SoundData]", files(environmentSounds()));
  if (sv.down) t.key("[Monitor]", "train_VK500.dat", 482, 470, 240, 150, "image\\monitor.bmp");

  // In-car announcements, 300 m after leaving each stop: the next stop.
  std::vector<std::string> announce;
  int lastStop = sv.first;
  for (int k = sv.first + 1; k < stations; ++k) {
    if (!stops(k)) continue;
    announce.push_back(csv(env.nextFirst + downIndex(sv.down, k), 0, lastStop - sv.first, 300));
    lastStop = k;
  }
  t.list("[Announce]", announce, {std::to_string(env.overrun)});
  t.lines("[KankoSound1]", files(calloutSounds1()));
  t.list("[KankoSound2]", files(calloutSounds2()));

  // Sounds along the line: bridges and tunnels roar while the train is on them.
  std::vector<std::string> trackSounds = {";sound,from,to,reference km/h,mode,pitch,level,kind"};
  for (const Span& b : l.bridges) trackSounds.push_back(csv(env.bridge, frame(b.from), frame(b.to), 60, 1, 1, 1, 0));
  for (const Span& tn : l.tunnels) trackSounds.push_back(csv(env.tunnel, frame(tn.from), frame(tn.to), 70, 1, 1, 1, 0));
  t.list("[Sound]", trackSounds);
  // Level crossing bells ring as the train comes by, with a Doppler shift.
  std::vector<std::string> doppler;
  for (double c : l.crossings) doppler.push_back(csv(env.crossingBell, frame(c), 25000, 0, 0));
  t.list("[Doppler]", doppler);
  std::vector<std::string> tunnels;
  std::vector<std::string> atten;
  for (const Span& tn : l.tunnels) {
    tunnels.push_back(csv(frame(tn.from), frame(tn.to), 180));
    atten.push_back(csv(frame(tn.from), frame(tn.to), 0, 150));
  }
  t.list("[Tunnel]", tunnels);
  t.list("[Atten]", atten);
  t.key("[TunnelR]", 5);

  std::vector<std::string> stationRows;
  for (int k = sv.first; k < stations; ++k) {
    const int d = downIndex(sv.down, k);
    // The doors on the left going down, the right going up (door side 1). ATS-P keeps to 95 km/h between
    // stations (the line's 90 km/h with a margin). No ATS-P stop beacons: the recorded run passes each stopping
    // mark at 5 km/h (so a train at its speed would be braked at every stop), and a one-man stop is never served.
    stationRows.push_back(csv(l.stations[static_cast<std::size_t>(k)].name, stops(k) ? 0 : 1, frame(at(k)), 14000,
                              env.arrivalFirst + d, env.departureMelody, env.platformAmbience,
                              departure[static_cast<std::size_t>(k)], k + 1 < stations ? 95 : 25, 0, sv.down ? 0 : 1, 0,
                              0, 0, 60));
  }
  t.list("[Station]", stationRows);

  std::vector<std::string> signalRows;
  for (const SignalSite& site : signalSites(l)) {
    if (site.at < at(sv.first)) continue;
    // In view from 650 m: ATS-S reads the signal's picture at its first point, 600 m before it.
    signalRows.push_back(csv(0, 0, site.callout, site.headType, frame(site.at - 650), frame(site.at),
                             frame(site.at - 600), frame(site.at - 20), 0, 0, 0, 232, 96, 0, 0, 0, 0, 0, 0, 0, 0, 0));
  }
  t.list("[Signal]", signalRows);

  std::vector<std::string> slopes;
  for (const Gradient& g : l.gradients) slopes.push_back(csv(g.permil, frame(g.from), frame(g.to)));
  t.list("[Slope]", slopes);

  // Boards beside the line: station approach 600 m before a stop, whistle before tunnels, crossing warnings.
  std::vector<std::string> signs;
  for (int k = sv.first + 1; k < stations; ++k) {
    if (stops(k)) signs.push_back(csv(2, frame(at(k) - 650), frame(at(k) - 550), 0));
  }
  for (const Span& tn : l.tunnels) signs.push_back(csv(3, frame(tn.from - 300), frame(tn.from - 200), 0));
  for (double c : l.crossings) signs.push_back(csv(4, frame(c - 250), frame(c - 150), 0));
  t.list("[Sign]", signs);
  // A wind turbine turning beside the line.
  t.list("[Anim]", {csv(frame(sv.down ? 5450 : 4850), frame(sv.down ? 5850 : 5250), 1, 0)});
  // The driver checks the time on arriving (doors opened: rows of kind 0) and when the departure is announced
  // (kind 1): a value from 1000 on is the time of day the call-out compares the clock with.
  std::vector<std::string> stationCallouts;
  for (int k = sv.first; k < stations; ++k) {
    if (!stops(k)) continue;
    if (k > sv.first) stationCallouts.push_back(csv(k - sv.first, 0, arrival[static_cast<std::size_t>(k)]));
    if (k + 1 < stations) stationCallouts.push_back(csv(k - sv.first, 1, departure[static_cast<std::size_t>(k)]));
  }
  t.list("[StationKanko]", stationCallouts);

  std::vector<std::string> limits;
  const int release = static_cast<int>(l.limits.size()) + 1;
  for (std::size_t i = 0; i < l.limits.size(); ++i) {
    const SpeedLimit& s = l.limits[i];
    limits.push_back(csv(s.kmh, limitSignPattern(s.kmh), 1, frame(s.from), frame(s.to), release));
  }
  t.list("[SpeedLimit]", limits);
  // An ATS-S speed check 80 m before the terminus' stopping mark (the recorded run passes it at 40 km/h).
  t.list("[SpeedCheck1]", {csv(45, 2, frame(at(stations - 1) - 80), 0)});

  t.lines("[SignImageList]",
          {"image\\track\\teimoku.bmp,64", "image\\track\\line_s.bmp,4", "image\\track\\line_m.bmp,4",
           "image\\track\\line_e.bmp,4",
           std::string("image\\track\\") + (sv.down ? "slope_down.bmp,64" : "slope_up.bmp,64"),
           "image\\track\\limit.bmp,64", "image\\track\\remain.bmp,16", "image\\track\\other.bmp,64"});
  t.lines("[SignalImageList]", {"0,0,48,112,image\\track\\signal.bmp", "32,32,image\\track\\signal_s.bmp",
                                "32,32,image\\track\\signal_l.bmp", "32,32,image\\track\\signal_r.bmp"});
  // Entry 0 is called approaching a passing station, entry 1 over the last 200 m to a stopping mark.
  t.list("[OtherKanko]", files(otherCalloutSounds()));
  // Two limit call-outs for each "[SpeedLimit]" row, in row order: its speed ahead, then its end.
  std::vector<std::string> limitCallouts;
  for (const SpeedLimit& s : l.limits) {
    limitCallouts.push_back(limitCalloutSound(s.kmh).file);
    limitCallouts.push_back(limitEndCalloutSound().file);
  }
  t.list("[LimitKanko]", limitCallouts);
  std::vector<std::string> anim;
  anim.reserve(14);
  for (int i = 0; i < 14; ++i) anim.push_back("image\\track\\anim_" + std::to_string(i) + ".bmp");
  t.list("[AnimImageList]", anim);

  std::vector<std::string> units;
  for (const data::SpeedUnitRow& r : rec.rows) units.push_back(csv(r.frameFrom, r.frameTo, r.speedFrom, r.speedTo));
  t.list("[SpeedUnit]", units);
  t.list("[CrossImageList]", {"image\\track\\cross_0.bmp", "image\\track\\cross_1.bmp"});
  // The second value is the call-out slot of the crossing: "[KankoSound2]" entry 3, slot 25.
  std::vector<std::string> crossings;
  for (double c : l.crossings) crossings.push_back(csv(1, 25, frame(c - 250), frame(c + 10), 0));
  t.list("[Cross]", crossings);
  // Time checks 900 to 700 m before each stop: the time the timetable has the train 800 m out, its running
  // time shared along the section in proportion to the recorded frames.
  std::vector<std::string> times;
  for (int k = sv.first + 1; k < stations; ++k) {
    if (!stops(k)) continue;
    int previous = k - 1;
    while (previous > sv.first && !stops(previous)) --previous;
    const double sectionTime = arrival[static_cast<std::size_t>(k)] - departure[static_cast<std::size_t>(previous)];
    const double sectionFrames = frame(at(k)) - frame(at(previous));
    const double remaining = frame(at(k)) - frame(at(k) - 800);
    const int checkTime =
        arrival[static_cast<std::size_t>(k)] - static_cast<int>(std::lround(remaining / sectionFrames * sectionTime));
    times.push_back(csv(frame(at(k) - 900), frame(at(k) - 700), checkTime));
  }
  t.list("[Time]", times);
  // Points at both ends of every station.
  std::vector<std::string> points;
  for (int k = sv.first; k < stations; ++k) {
    if (at(k) - 160 > rec.origin) points.push_back(csv(frame(at(k) - 160), 1));
    if (k + 1 < stations) points.push_back(csv(frame(at(k) + 40), 1));
  }
  t.list("[Switch]", points);
  return t.str();
}

}  // namespace

bool writeRouteFiles(const std::filesystem::path& root) {
  for (const Service& sv : services()) {
    if (!writeDataFile(root, sv.file, routeFile(sv))) return false;
  }
  return true;
}

}  // namespace vesk::demo
