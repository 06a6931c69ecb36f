// Test pictures and sounds, made in memory: BMP (24-bit and run-length 8-bit), JPEG by libjpeg, WAVE by
// libsndfile, and a WAVE with an extra chunk before its data.
#pragma once

#include <QImage>

#include <cstdint>
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

// A picture w x h filled by colour(x, y).
QImage picture(int width, int height, const std::function<QRgb(int, int)>& colour);

}  // namespace vesk::test
