// The sound track of a movie file: its first audio stream decoded whole into a wave (16-bit, at the stream's own
// rate, mono or stereo; more channels are mixed down to two), for the title's opening movie.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>

#include "media/wave.h"

namespace vesk::media {

// nullptr when the file cannot be opened, has no sound track or its sound cannot be decoded. A track longer than
// `maxSamples` (samples of all channels) is cut there.
std::shared_ptr<const Wave> decodeMovieSound(const std::filesystem::path& path,
                                             std::int64_t maxSamples = kMaxWaveSamples);

}  // namespace vesk::media
