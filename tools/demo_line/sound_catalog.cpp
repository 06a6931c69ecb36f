#include "demo_line/sound_catalog.h"

#include <set>

#include "demo_line/line_model.h"

namespace vesk::demo {
namespace {

std::string snd(const std::string& dir, const std::string& name) { return "sound\\" + dir + "\\" + name; }

bool diesel(const std::string& family) { return family == "vk103" || family == "vk401"; }

}  // namespace

std::vector<SoundSpec> driveSounds(const std::string& f) {
  std::vector<SoundSpec> s;
  s.reserve(40);
  for (int band = 0; band < 13; ++band) {
    s.push_back({snd(f, "run" + std::to_string(band) + ".wav"),
                 "running sound of the " + std::to_string(band * 10) + "-" + std::to_string(band * 10 + 9) +
                     " km/h band: wheel rumble and rail joints clicking at the band's speed (25 m rails); " +
                     (diesel(f) ? "a light railcar" : "an electric train") + "; band 0 nearly silent creaking",
                 true});
  }
  const std::vector<SoundSpec> events = {
      {snd(f, "brake_step.wav"), "a short air release puff as the brake is released a step"},
      {snd(f, "brake_release.wav"), "a longer air release hiss"},
      {snd(f, "brake_apply.wav"), "a click of the brake handle and a short air hiss as the brake applies"},
      {snd(f, "power_apply.wav"), "a click of the master controller notch"},
      {snd(f, "power_release.wav"), "a softer click of the controller returning"},
      {snd(f, "emergency.wav"), "a loud emergency brake air dump, two seconds"},
      {snd(f, "apply_exhaust.wav"), "brake valve exhaust while applying the automatic brake", true},
      {snd(f, "apply_feed.wav"), "air feeding the brake pipe while releasing", true},
      {snd(f, "ats_bell.wav"), "an ATS alarm bell ringing fast (electric bell)", true},
      {snd(f, "ats_chime.wav"), "an ATS confirmation chime (two alternating soft tones)", true},
      {snd(f, "ats_confirm.wav"), "a short single ding"},
      {snd(f, "atc_ding.wav"), "a short electronic double bleep"},
      {snd(f, "horn.wav"), diesel(f) ? "a two-tone air horn, one second" : "an electric horn, two tones, one second"},
      {snd(f, "horn2.wav"), "a high pitched whistle, 0.6 s"},
      {snd(f, "horn3.wav"), "a long two-tone horn, two seconds"},
      {snd(f, "door_open.wav"), "door opening: a chime of two notes then a pneumatic swish, 3 s"},
      {snd(f, "door_close.wav"), "door closing: a pneumatic swish and a thump, 3 s"},
      {snd(f, "eb_ring.wav"), "the vigilance device ringing (a harsh buzzer-bell)", true},
      {snd(f, "squeak.wav"), "brake shoes squealing (high, slightly wavering tone)", true},
      {snd(f, "cp_start.wav"), "an air compressor starting up, 1 s"},
      {snd(f, "cp_run.wav"), "an air compressor running (a chugging rhythm)", true},
      {snd(f, "cp_end.wav"), "an air compressor running down, 1 s"},
      {snd(f, "stop_warning.wav"), "a station approach warning: repeating soft chime", true},
      {snd(f, "buzzer.wav"), "the conductor's buzzer", true},
      {snd(f, "departure_signal.wav"), "a short departure signal buzz, 1.5 s"},
      {snd(f, "ats_warn.wav"), "a warning beep that ATS is off", true},
      {snd(f, "switch_low.wav"), "wheels over a set of points at low speed: a few heavy clacks"},
      {snd(f, "switch_high.wav"), "wheels over a set of points at speed: a quick rattle of clacks"},
  };
  s.insert(s.end(), events.begin(), events.end());
  if (diesel(f)) {
    s.push_back({snd(f, "engine_idle.wav"), "a diesel engine idling", true});
    s.push_back({snd(f, "engine_idle2.wav"), "a diesel engine idling, slightly higher", true});
    s.push_back({snd(f, "engine_start.wav"), "a diesel engine cranking and starting, 4 s"});
    s.push_back({snd(f, "engine_stop.wav"), "a diesel engine stopping, 2 s"});
  }
  return s;
}

std::vector<SoundSpec> engineSounds1(const std::string& f) {
  if (f == "vk500") {
    return {{snd(f, "motor_low.wav"), "inverter motor sound, rising whine at its recorded pitch", true},
            {snd(f, "motor_high.wav"), "inverter motor sound of higher speed, smooth whine", true},
            {snd(f, "motor_brake.wav"), "inverter sound while braking electrically", true}};
  }
  if (f == "vk700") {
    return {{snd(f, "motor.wav"), "a DC traction motor's gear whine and hum", true},
            {snd(f, "motor_coast.wav"), "the same motors' softer whine while coasting", true}};
  }
  return {{snd(f, "engine_run.wav"), "a diesel engine under load at its recorded speed (pitch follows rpm)", true}};
}

std::vector<SoundSpec> engineSounds3(const std::string& f) {
  if (!diesel(f)) return {};
  return {{snd(f, "converter.wav"), "a torque converter's rising whine (first gear)", true},
          {snd(f, "gearbox.wav"), "a gearbox whine in direct drive", true}};
}

std::vector<SoundSpec> environmentSounds() {
  const Line& line = demoLine();
  std::vector<SoundSpec> s;
  s.push_back({"sound\\route\\start.wav", "in-car announcement chime and start phrase", false,
               "ごじょうしゃ ありがとうございます。この でんしゃは、みなとまち ゆきです。"});
  for (const Station& st : line.stations) {
    s.push_back({"sound\\route\\arrive_" + std::to_string(s.size()) + ".wav", "arrival announcement on the platform",
                 false, st.kana + "、" + st.kana + "です。"});
  }
  s.push_back({"sound\\route\\departure.wav", "a departure melody (8 s) then the doors closing phrase", false,
               "ドアが しまります。ごちゅうい ください。"});
  s.push_back({"sound\\route\\platform.wav", "platform ambience: murmur of people, distant footsteps", true});
  s.push_back({"sound\\route\\crossing.wav", "a level crossing bell, two alternating dings a second", true});
  s.push_back({"sound\\route\\bridge.wav", "a steel bridge's hollow drumming under the wheels", true});
  for (const Station& st : line.stations) {
    s.push_back({"sound\\route\\next_" + std::to_string(s.size()) + ".wav", "in-car next station announcement", false,
                 "つぎは、" + st.kana + "です。"});
  }
  s.push_back({"sound\\route\\overrun.wav", "in-car announcement of an overrun", false,
               "ていしいちを しゅうせい いたします。しょうしょう おまちください。"});
  s.push_back({"sound\\route\\tunnel.wav", "the roar of a train inside a tunnel", true});
  return s;
}

std::vector<SoundSpec> calloutSounds1() {
  const char* words[22] = {"ていし",
                           "けいかい",
                           "ちゅうい",
                           "げんそく",
                           "しんこう",
                           "じゅうぞく しんこう",
                           "さんじゅうびょう",
                           "よんじゅうごびょう",
                           "いっぷん",
                           "いっぷん じゅうごびょう",
                           "いっぷん さんじゅうびょう",
                           "いっぷん よんじゅうごびょう",
                           "にふん",
                           "おくれ",
                           "おくれです",
                           "はやい",
                           "はやいです",
                           "ていじ",
                           "ていじです",
                           "とじめ よし",
                           "しゅっぱつ しんこう",
                           "こうそく しんこう"};
  std::vector<SoundSpec> s;
  s.reserve(22);
  for (int i = 0; i < 22; ++i) {
    s.push_back({"sound\\kanko\\k" + std::to_string(i) + ".wav", "a driver's call-out", false, words[i]});
  }
  return s;
}

std::vector<SoundSpec> calloutSounds2() {
  return {{"sound\\kanko\\shuppatsu.wav", "call-out of a departure signal", false, "しゅっぱつ"},
          {"sound\\kanko\\jounai.wav", "call-out of a home signal", false, "じょうない"},
          {"sound\\kanko\\heisoku.wav", "call-out of a block signal", false, "へいそく"},
          {"sound\\kanko\\fumikiri.wav", "call-out of a level crossing", false, "ふみきり よし"}};
}

std::vector<SoundSpec> otherCalloutSounds() {
  return {{"sound\\kanko\\teitsuu.wav", "call-out of a passing station", false, "つうか"},
          {"sound\\kanko\\teishi_ichi.wav", "call-out of a stopping position", false, "ていしいち よし"}};
}

SoundSpec limitCalloutSound(int kmh) {
  const std::string kana = kmh == 60 ? "ろくじゅう" : kmh == 75 ? "ななじゅうご" : "よんじゅうご";
  return {"sound\\kanko\\limit" + std::to_string(kmh) + ".wav", "call-out of a speed limit", false, "せいげん " + kana};
}

SoundSpec limitEndCalloutSound() {
  return {"sound\\kanko\\limit_end.wav", "call-out of the end of a speed limit", false, "せいげん かいじょ"};
}

std::vector<SoundSpec> limitCalloutSounds() {
  std::vector<SoundSpec> s;
  for (const SpeedLimit& l : demoLine().limits) s.push_back(limitCalloutSound(l.kmh));
  s.push_back(limitEndCalloutSound());
  return s;
}

std::vector<SoundSpec> titleSounds() {
  return {{"sound\\28803.wav", "the title jingle: a bright four-note rising fanfare, 3 s"},
          {"sound\\start.wav", "a short start chime, 1.5 s"}};
}

std::vector<SoundSpec> allSounds() {
  std::vector<SoundSpec> all;
  std::set<std::string> seen;
  auto add = [&](const std::vector<SoundSpec>& list) {
    for (const SoundSpec& s : list) {
      if (seen.insert(s.file).second) all.push_back(s);
    }
  };
  for (const char* f : {"vk500", "vk700", "vk103", "vk401"}) {
    add(driveSounds(f));
    add(engineSounds1(f));
    add(engineSounds3(f));
  }
  add(environmentSounds());
  add(calloutSounds1());
  add(calloutSounds2());
  add(otherCalloutSounds());
  add(limitCalloutSounds());
  add(titleSounds());
  return all;
}

}  // namespace vesk::demo
