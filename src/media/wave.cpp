#include "media/wave.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "core/file_bytes.h"
#include "media/wave_chunks.h"

namespace vesk::media {
namespace {

// libsndfile reads from memory through these callbacks.
struct MemoryFile {
  std::string_view bytes;
  sf_count_t pos = 0;
};

sf_count_t memLength(void* user) { return static_cast<sf_count_t>(static_cast<MemoryFile*>(user)->bytes.size()); }

sf_count_t memSeek(sf_count_t offset, int whence, void* user) {
  auto* f = static_cast<MemoryFile*>(user);
  const auto size = static_cast<sf_count_t>(f->bytes.size());
  sf_count_t target = offset;
  if (whence == SEEK_CUR) target = f->pos + offset;
  if (whence == SEEK_END) target = size + offset;
  f->pos = std::clamp<sf_count_t>(target, 0, size);
  return f->pos;
}

sf_count_t memRead(void* ptr, sf_count_t count, void* user) {
  auto* f = static_cast<MemoryFile*>(user);
  const auto size = static_cast<sf_count_t>(f->bytes.size());
  const sf_count_t n = std::clamp<sf_count_t>(count, 0, size - f->pos);
  std::memcpy(ptr, f->bytes.data() + f->pos, static_cast<std::size_t>(n));
  f->pos += n;
  return n;
}

sf_count_t memWrite(const void*, sf_count_t, void*) { return 0; }

sf_count_t memTell(void* user) { return static_cast<MemoryFile*>(user)->pos; }

bool isWaveFormat(int format) {
  const int major = format & SF_FORMAT_TYPEMASK;
  return major == SF_FORMAT_WAV || major == SF_FORMAT_WAVEX;
}

bool isFloatData(int format) {
  const int sub = format & SF_FORMAT_SUBMASK;
  return sub == SF_FORMAT_FLOAT || sub == SF_FORMAT_DOUBLE;
}

// Floating-point samples are read as floats and brought to 16 bits here: libsndfile's own conversion of float
// data to integers does not scale it (or scales it to the file's peak), which leaves a float file all but silent.
// Values beyond full scale are clipped; a NaN is silence.
sf_count_t readFloatFrames(SNDFILE* sf, std::int16_t* out, sf_count_t frames, int channels) {
  constexpr sf_count_t kBlockFrames = 4096;
  std::vector<float> block(static_cast<std::size_t>(kBlockFrames * channels));
  sf_count_t done = 0;
  while (done < frames) {
    const sf_count_t got = sf_readf_float(sf, block.data(), std::min(kBlockFrames, frames - done));
    if (got <= 0) break;
    for (std::size_t i = 0; i < static_cast<std::size_t>(got * channels); ++i) {
      const float value = std::isnan(block[i]) ? 0.0F : std::clamp(block[i], -1.0F, 1.0F);
      out[static_cast<std::size_t>(done * channels) + i] = static_cast<std::int16_t>(std::lrint(value * 32767.0F));
    }
    done += got;
  }
  return done;
}

std::shared_ptr<Wave> decode(std::string_view fileBytes) {
  auto wave = std::make_shared<Wave>();
  // The decoder sees only the chunks that carry sound.
  const auto sound = soundChunksOfWave(fileBytes);
  if (!sound) return wave;
  const std::string_view bytes = *sound;
  MemoryFile file{bytes};
  SF_VIRTUAL_IO io{memLength, memSeek, memRead, memWrite, memTell};
  SF_INFO info{};
  SNDFILE* sf = sf_open_virtual(&io, SFM_READ, &info, &file);
  if (sf == nullptr) return wave;
  const bool usable = isWaveFormat(info.format) && info.samplerate > 0 && info.channels > 0 && info.frames > 0 &&
                      info.frames <= kMaxWaveSamples / info.channels;
  if (usable) {
    // A header may claim more samples than the file holds: the buffer is bounded by what the bytes can give (no
    // WAVE coding expands a byte into more than sixteen samples), and shrunk to what was read.
    const auto claimed = static_cast<std::int64_t>(info.frames) * info.channels;
    const std::int64_t possible = static_cast<std::int64_t>(bytes.size()) * 16;
    const sf_count_t frames = std::min(claimed, possible) / info.channels;
    std::vector<std::int16_t> samples(static_cast<std::size_t>(frames * info.channels));
    const sf_count_t got = isFloatData(info.format) ? readFloatFrames(sf, samples.data(), frames, info.channels)
                                                    : sf_readf_short(sf, samples.data(), frames);
    if (got > 0) {
      samples.resize(static_cast<std::size_t>(got * info.channels));
      wave->sampleRate = info.samplerate;
      wave->channels = info.channels;
      wave->frames = got;
      wave->samples = std::move(samples);
    }
  }
  sf_close(sf);
  return wave;
}

}  // namespace

std::shared_ptr<const Wave> decodeWave(std::string_view bytes) { return decode(bytes); }

std::shared_ptr<const Wave> loadWave(const std::filesystem::path& path, std::string fileName) {
  const auto bytes = core::readFileBytes(path);
  auto wave = bytes ? decode(*bytes) : std::make_shared<Wave>();
  wave->fileName = fileName.empty() ? path.filename().string() : std::move(fileName);
  return wave;
}

}  // namespace vesk::media
