#include "support/sound_drive.h"

#include "media/wave.h"
#include "support/media_files.h"

namespace vesk::test {

std::unique_ptr<DriveFixture> makeSoundDrive(data::VehicleSpec vehicle, data::RouteData route) {
  auto f = makeDrive(std::move(vehicle), std::move(route));
  const auto second = media::decodeWave(wave(kTestWaveRate, kTestWaveRate));
  const media::SoundLayout& layout = f->drive.soundLayout;
  const int channels =
      layout.driveSoundCount + layout.soundDataCount + layout.engineSound1Count + layout.engineSound3Count;
  for (int ch = 0; ch < channels && ch < media::SoundBank::kChannelCount; ++ch) f->sounds.bind_wave(ch, second);
  f->sounds.clearOperations();
  return f;
}

}  // namespace vesk::test
