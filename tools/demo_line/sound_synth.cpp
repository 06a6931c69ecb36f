// Picks each catalogue sound's recipe by its folder and file stem, voices the spoken ones and writes the WAVE.
#include "demo_line/sound_synth.h"

#include <sndfile.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "demo_line/sound_cab.h"
#include "demo_line/sound_dsp.h"
#include "demo_line/sound_engine.h"
#include "demo_line/sound_route.h"
#include "demo_line/sound_running.h"
#include "demo_line/sound_signals.h"
#include "demo_line/sound_voice.h"

namespace vesk::demo {

using namespace dsp;

namespace {

std::filesystem::path relativePath(const std::string& file) {
  std::string s = file;
  std::replace(s.begin(), s.end(), '\\', '/');
  return s;
}

// Where a sound lives: "sound\vk500\run3.wav" is folder "vk500", stem "run3".
struct Place {
  std::string folder;
  std::string stem;
};

Place placeOf(const std::string& file) {
  const std::filesystem::path p = relativePath(file);
  return {p.parent_path().filename().string(), p.stem().string()};
}

// "run7" -> 7; nothing for any other stem.
std::optional<int> runningBand(const std::string& stem) {
  if (stem.size() < 4 || stem.rfind("run", 0) != 0) return std::nullopt;
  if (!std::all_of(stem.begin() + 3, stem.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); })) {
    return std::nullopt;
  }
  return std::stoi(stem.substr(3));
}

// Call-outs are the words alone; announcements begin with their chime, or the departure melody.
Sound voiced(const SoundSpec& spec, const Place& place) {
  Samples words;
  if (std::optional<Samples> spoken = speakJapanese(spec.voice)) {
    words = std::move(*spoken);
  } else {
    words = tonePhrase(spec.voice);
  }
  normalise(words, -3);
  if (place.folder != "route") return {words, -3};
  Samples out = place.stem == "departure" ? departureMelody() : announcementChime();
  append(out, words, 0.3);
  return {out, -3};
}

std::optional<Sound> synthesize(const SoundSpec& spec) {
  const Place place = placeOf(spec.file);
  if (!spec.voice.empty()) return voiced(spec, place);
  if (place.folder == "route") return routeSound(place.stem);
  if (place.folder == "sound") return titleSound(place.stem);
  // A train family's folder; diesel families are the ones with a transmission.
  const bool diesel = !engineSounds3(place.folder).empty();
  if (const std::optional<int> band = runningBand(place.stem)) return runningSound(*band, diesel);
  if (place.stem == "switch_low" || place.stem == "switch_high") {
    return pointsSound(place.stem == "switch_high", diesel);
  }
  if (std::optional<Sound> s = cabSound(place.stem)) return s;
  if (std::optional<Sound> s = signalSound(place.stem, diesel)) return s;
  return engineSound(place.stem);
}

bool writeWave(const std::filesystem::path& file, const Samples& samples) {
  SF_INFO info{};
  info.samplerate = kRate;
  info.channels = 1;
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  SNDFILE* f = sf_open(file.c_str(), SFM_WRITE, &info);
  if (f == nullptr) return false;
  std::vector<short> pcm(samples.size());
  std::transform(samples.begin(), samples.end(), pcm.begin(),
                 [](float v) { return static_cast<short>(std::lround(std::clamp(v, -1.0f, 1.0f) * 32767.0f)); });
  const sf_count_t written = sf_write_short(f, pcm.data(), static_cast<sf_count_t>(pcm.size()));
  return sf_close(f) == 0 && written == static_cast<sf_count_t>(pcm.size());
}

}  // namespace

bool writeSound(const std::filesystem::path& root, const SoundSpec& sound) {
  std::optional<Sound> made = synthesize(sound);
  if (!made || made->samples.empty()) return false;
  normalise(made->samples, made->peakDb);
  const std::filesystem::path file = root / relativePath(sound.file);
  std::error_code error;
  std::filesystem::create_directories(file.parent_path(), error);
  return !error && writeWave(file, made->samples);
}

bool writeSounds(const std::filesystem::path& root) {
  bool ok = true;
  for (const SoundSpec& s : allSounds()) ok = writeSound(root, s) && ok;
  return ok;
}

}  // namespace vesk::demo
