// Test pictures and sounds, made in memory: BMP (24-bit and run-length 8-bit), JPEG by libjpeg, WAVE by
// libsndfile, and a WAVE with an extra chunk before its data; and an AVI movie with a sound track, by libavformat.
#pragma once

#include <QImage>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace vesk::test {

std::string bmp24(const QImage& image);
// An 8-bit run-length BMP from raw run-length codes and a palette (BGR triples).
std::string bmpRle8(int width, int height, const std::vector<QRgb>& palette, const std::vector<std::uint8_t>& codes);
std::string jpeg(const QImage& image, int quality = 95);
// A mono 16-bit WAVE of `frames` samples at `rate`.
std::string wave(int rate, int frames, int channels = 1);
// A canonical WAVE with a "LIST" chunk placed before "data".
std::string waveWithChunkBeforeData(int rate, int frames);
// Writes an AVI movie of `pictures` 16 x 16 raw pictures at 30 a second and, when `frames` > 0, a 16-bit PCM sound
// track of `frames` samples a channel at `rate` (sample k of channel c is k + c). False when it cannot be written.
bool aviWithSound(const std::filesystem::path& file, int pictures, int rate, int channels, int frames);

// A picture w x h filled by colour(x, y).
QImage picture(int width, int height, const std::function<QRgb(int, int)>& colour);

}  // namespace vesk::test
