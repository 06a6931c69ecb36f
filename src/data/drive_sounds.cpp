#include "data/drive_sounds.h"

#include <algorithm>

#include "core/path_resolver.h"
#include "core/rounding.h"

namespace vesk::data {
namespace {

std::shared_ptr<const Wave> loadNamed(const std::filesystem::path& base, const std::string& name) {
  if (name.empty()) return nullptr;
  const auto path = core::resolveDataFile(base, name);
  if (!path) {
    // A missing file: an empty wave, silent on its channel, that still carries its name.
    auto missing = std::make_shared<Wave>();
    missing->fileName = name;
    return missing;
  }
  return media::loadWave(*path, name);
}

template <class Names>
std::vector<std::shared_ptr<const Wave>> loadAll(const std::filesystem::path& base, const Names& names, int count) {
  std::vector<std::shared_ptr<const Wave>> waves;
  waves.reserve(static_cast<std::size_t>(std::max(count, 0)));
  for (int i = 0; i < count; ++i) waves.push_back(loadNamed(base, names[static_cast<std::size_t>(i)]));
  return waves;
}

}  // namespace

int soundLengthSeconds(const Wave& wave) { return core::saturate32(core::even(wave.seconds())); }

DriveSounds loadDriveSounds(SoundBank& bank, const data::VehicleSpec& vehicle, const std::filesystem::path& vehicleDir,
                            data::RouteData& route, const std::filesystem::path& programDir,
                            const std::function<void(std::string_view)>& progress) {
  auto say = [&](std::string_view text) {
    if (progress) progress(text);
  };
  DriveSounds sounds;
  SoundLayout& layout = sounds.layout;
  layout.driveSoundCount = vehicle.driveSoundCount;
  layout.soundDataCount = route.soundDataCount;
  layout.engineSound1Count = vehicle.engineSound1Count;
  layout.engineSound3Count = vehicle.engineSound3Count;
  layout.calloutCounter = route.calloutCount2;

  say("DirectSoundオブジェクトを作成しています(走行音)");
  const auto running = loadAll(vehicleDir, vehicle.driveSoundFiles, vehicle.driveSoundCount);

  say("DirectSoundオブジェクトを作成しています(環境音)");
  const auto environment = loadAll(programDir, route.soundDataFiles, route.soundDataCount);
  for (int i = 0; i < route.soundDataCount; ++i) {
    const auto& wave = environment[static_cast<std::size_t>(i)];
    route.soundDataLengths[static_cast<std::size_t>(i)] = wave ? soundLengthSeconds(*wave) : 0;
  }

  say("DirectSoundオブジェクトを作成しています(喚呼)");
  for (int i = 0; i < data::kCallout1Count; ++i) {
    sounds.callouts[static_cast<std::size_t>(i)] =
        loadNamed(programDir, route.calloutFiles1[static_cast<std::size_t>(i)]);
  }
  for (int k = 0; k + data::kCallout1Count < route.calloutCount2; ++k) {
    sounds.callouts[static_cast<std::size_t>(data::kCallout1Count) + static_cast<std::size_t>(k)] =
        loadNamed(programDir, route.calloutFiles2[static_cast<std::size_t>(k)]);
  }
  sounds.otherCallouts = loadAll(programDir, route.otherCalloutFiles, route.otherCalloutCount);
  sounds.limitCallouts = loadAll(programDir, route.limitCalloutFiles, route.limitCalloutCount);
  std::vector<std::shared_ptr<const Wave>> engine1;
  engine1.reserve(static_cast<std::size_t>(std::max(vehicle.engineSound1Count, 0)));
  for (int i = 0; i < vehicle.engineSound1Count; ++i) {
    engine1.push_back(loadNamed(vehicleDir, vehicle.engineSounds1[static_cast<std::size_t>(i)].file));
  }
  std::vector<std::shared_ptr<const Wave>> engine3;
  engine3.reserve(static_cast<std::size_t>(std::max(vehicle.engineSound3Count, 0)));
  for (int i = 0; i < vehicle.engineSound3Count; ++i) {
    engine3.push_back(loadNamed(vehicleDir, vehicle.engineSounds3[static_cast<std::size_t>(i)].file));
  }

  say("サウンドを読み込んでいます");
  int channel = 0;
  using Waves = std::vector<std::shared_ptr<const Wave>>;
  for (const Waves* list : std::initializer_list<const Waves*>{&running, &environment, &engine1, &engine3}) {
    for (const auto& wave : *list) {
      if (wave) bank.bind_wave(channel, wave);
      ++channel;
    }
  }
  for (int ch = 0; ch < channel && ch < SoundBank::kChannelCount; ++ch) bank.stop(ch);
  return sounds;
}

}  // namespace vesk::data
