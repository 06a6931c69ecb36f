// Every sound of the demo pack: its file (relative to the program folder, Windows separators as the data files
// write them) and what it must sound like. The vehicle and route files name these files; the synthesizer makes
// them. Voiced sounds carry the Japanese words (kana) they say.
#pragma once

#include <string>
#include <vector>

namespace vesk::demo {

struct SoundSpec {
  SoundSpec(std::string f, std::string w, bool l = false, std::string v = {})
      : file(std::move(f)), what(std::move(w)), loop(l), voice(std::move(v)) {}
  std::string file;
  std::string what;   // a short description of the sound to make
  bool loop = false;  // played in a loop: it must loop without a click
  std::string voice;  // non-empty: spoken words (kana), to be voiced
};

// The running and event sounds of one train family, in "[DriveSound]" order: channel i is entry i.
// Families: "vk500" (inverter EMU), "vk700" (resistor EMU), "vk103" and "vk401" (diesel railcars).
std::vector<SoundSpec> driveSounds(const std::string& family);
// Channels of driveSounds() the vehicle files name ("[Sound_BK]" ...).
struct DriveChannels {
  int brakeStep = 13, brakeRelease = 14, brakeApply = 15, powerApply = 16, powerRelease = 17, emergency = 18;
  int apply = 19, applyRelease = 20, atsBell = 21, atsChime = 22, atsConfirm = 23, atc = 24;
  int horn = 25, horn2 = 26, horn3 = 27, doorOpen = 28, doorClose = 29, ebRing = 30, squeak = 31;
  int compressorStart = 32, compressorRun = 33, compressorEnd = 34, stopWarning = 35, buzzer = 36;
  int departureSignal = 37, atsWarn = 38, switchLow = 39, switchHigh = 40;
  // Diesel families only: idle, idle with the doors working, engine start, engine stop.
  int idle = 41, idle2 = 42, engineStart = 43, engineStop = 44;
};

// The motor or engine sounds of a family ("[EngineSound1]" rows) and the transmission sounds of a diesel
// ("[EngineSound3]" rows); each is looped with its rate following speed or engine speed.
std::vector<SoundSpec> engineSounds1(const std::string& family);
std::vector<SoundSpec> engineSounds3(const std::string& family);

// The route's environment sounds ("[SoundData]", numbered from 0) and the sounds of the call-out tables.
std::vector<SoundSpec> environmentSounds();
std::vector<SoundSpec> calloutSounds1();  // the 22 fixed slots
std::vector<SoundSpec> calloutSounds2();  // slots 22 on
std::vector<SoundSpec> otherCalloutSounds();
std::vector<SoundSpec> limitCalloutSounds();  // each limit's speed, then the end of a limit
SoundSpec limitCalloutSound(int kmh);
SoundSpec limitEndCalloutSound();

// Environment sound numbers the route files use.
struct EnvironmentSounds {
  int startAnnouncement = 0;
  int arrivalFirst = 1;      // arrival announcement of station k (down order): arrivalFirst + k
  int departureMelody = 6;   // departure melody and "doors closing" announcement
  int platformAmbience = 7;  // looped while in a platform
  int crossingBell = 8;      // level crossing bell (a Doppler source, looped)
  int bridge = 9;            // looped while crossing a bridge
  int nextFirst = 10;        // in-car "next station" announcement of station k (down order): nextFirst + k
  int overrun = 15;          // stop position overrun announcement
  int tunnel = 16;           // looped inside a tunnel
  int titleJingle = -1;      // not an environment sound
};

// The title screen's sounds.
std::vector<SoundSpec> titleSounds();

// All of the above, each file once.
std::vector<SoundSpec> allSounds();

}  // namespace vesk::demo
