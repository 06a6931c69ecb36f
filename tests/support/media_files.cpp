#include "support/media_files.h"

#include <sndfile.h>

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
}

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "demo_line/picture_files.h"

namespace vesk::test {
namespace {

void put16(std::string& s, unsigned v) {
  s += static_cast<char>(v & 0xFF);
  s += static_cast<char>((v >> 8) & 0xFF);
}

void put32(std::string& s, std::uint32_t v) {
  put16(s, v & 0xFFFF);
  put16(s, v >> 16);
}

std::string bmpHeaders(int width, int height, int bitCount, std::uint32_t compression, std::uint32_t dataOffset,
                       std::uint32_t dataSize, std::uint32_t colours) {
  std::string s = "BM";
  put32(s, dataOffset + dataSize);
  put32(s, 0);
  put32(s, dataOffset);
  put32(s, 40);
  put32(s, static_cast<std::uint32_t>(width));
  put32(s, static_cast<std::uint32_t>(height));
  put16(s, 1);
  put16(s, static_cast<unsigned>(bitCount));
  put32(s, compression);
  put32(s, dataSize);
  put32(s, 2835);
  put32(s, 2835);
  put32(s, colours);
  put32(s, 0);
  return s;
}

}  // namespace

QImage picture(int width, int height, const std::function<QRgb(int, int)>& colour) {
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) image.setPixel(x, y, colour(x, y));
  }
  return image;
}

std::string bmp24(const QImage& image) { return demo::bmpBytes(image); }

std::string bmpRle8(int width, int height, const std::vector<QRgb>& palette, const std::vector<std::uint8_t>& codes) {
  const auto offset = static_cast<std::uint32_t>(54 + 4 * palette.size());
  std::string s = bmpHeaders(width, height, 8, 1, offset, static_cast<std::uint32_t>(codes.size()),
                             static_cast<std::uint32_t>(palette.size()));
  for (QRgb c : palette) {
    s += static_cast<char>(qBlue(c));
    s += static_cast<char>(qGreen(c));
    s += static_cast<char>(qRed(c));
    s += '\0';
  }
  s.append(reinterpret_cast<const char*>(codes.data()), codes.size());
  return s;
}

std::string jpeg(const QImage& image, int quality) { return demo::jpegBytes(image, quality); }

std::string wave(int rate, int frames, int channels) {
  std::string s = "RIFF";
  const auto dataBytes = static_cast<std::uint32_t>(frames * channels * 2);
  put32(s, 36 + dataBytes);
  s += "WAVEfmt ";
  put32(s, 16);
  put16(s, 1);
  put16(s, static_cast<unsigned>(channels));
  put32(s, static_cast<std::uint32_t>(rate));
  put32(s, static_cast<std::uint32_t>(rate * channels * 2));
  put16(s, static_cast<unsigned>(channels * 2));
  put16(s, 16);
  s += "data";
  put32(s, dataBytes);
  for (int i = 0; i < frames * channels; ++i) put16(s, static_cast<unsigned>((i * 37) & 0x3FFF));
  return s;
}

std::string waveWithChunkBeforeData(int rate, int frames) {
  const std::string plain = wave(rate, frames);
  std::string list = "LIST";
  put32(list, 12);
  list += "INFOabcdefgh";
  std::string s = plain.substr(0, 36) + list + plain.substr(36);
  const auto riffSize = static_cast<std::uint32_t>(s.size() - 8);
  std::memcpy(s.data() + 4, &riffSize, 4);
  return s;
}

bool aviWithSound(const std::filesystem::path& file, int pictures, int rate, int channels, int frames) {
  constexpr int kSide = 16;
  AVFormatContext* out = nullptr;
  if (avformat_alloc_output_context2(&out, nullptr, "avi", file.string().c_str()) < 0) return false;
  bool ok = true;
  AVStream* video = avformat_new_stream(out, nullptr);
  AVStream* audio = frames > 0 ? avformat_new_stream(out, nullptr) : nullptr;
  if (video == nullptr || (frames > 0 && audio == nullptr)) ok = false;
  if (ok) {
    video->time_base = {1, 30};
    video->codecpar->codec_type = AVMEDIA_TYPE_VIDEO;
    video->codecpar->codec_id = AV_CODEC_ID_RAWVIDEO;
    video->codecpar->format = AV_PIX_FMT_BGR24;
    video->codecpar->width = kSide;
    video->codecpar->height = kSide;
    video->codecpar->bits_per_coded_sample = 24;
  }
  if (ok && audio != nullptr) {
    audio->time_base = {1, rate};
    audio->codecpar->codec_type = AVMEDIA_TYPE_AUDIO;
    audio->codecpar->codec_id = AV_CODEC_ID_PCM_S16LE;
    audio->codecpar->sample_rate = rate;
    av_channel_layout_default(&audio->codecpar->ch_layout, channels);
    audio->codecpar->bits_per_coded_sample = 16;
    audio->codecpar->block_align = 2 * channels;
    audio->codecpar->bit_rate = static_cast<std::int64_t>(rate) * channels * 16;
  }
  ok = ok && avio_open(&out->pb, file.string().c_str(), AVIO_FLAG_WRITE) >= 0;
  ok = ok && avformat_write_header(out, nullptr) >= 0;
  AVPacket* packet = av_packet_alloc();
  ok = ok && packet != nullptr;
  // Times are given in pictures and in samples; the muxer may have chosen other time bases.
  const auto put = [&](AVStream* stream, std::int64_t pts, const std::string& bytes) {
    const AVRational base = stream == video ? AVRational{1, 30} : AVRational{1, rate};
    if (!ok || av_new_packet(packet, static_cast<int>(bytes.size())) < 0) {
      ok = false;
      return;
    }
    std::memcpy(packet->data, bytes.data(), bytes.size());
    packet->stream_index = stream->index;
    packet->pts = pts;
    packet->dts = pts;
    packet->flags |= AV_PKT_FLAG_KEY;
    av_packet_rescale_ts(packet, base, stream->time_base);
    ok = av_interleaved_write_frame(out, packet) >= 0;
  };
  // A picture's worth of sound after each picture, the rest at the end.
  const int perPicture = pictures > 0 ? rate / 30 : frames;
  int soundDone = 0;
  for (int n = 0; n <= pictures && ok; ++n) {
    if (n < pictures) put(video, n, std::string(kSide * kSide * 3, static_cast<char>(n * 8)));
    const int count = std::min(n < pictures ? perPicture : frames - soundDone, frames - soundDone);
    if (audio == nullptr || count <= 0) continue;
    std::string bytes;
    for (int k = soundDone; k < soundDone + count; ++k) {
      for (int c = 0; c < channels; ++c) put16(bytes, static_cast<unsigned>(k + c) & 0xFFFF);
    }
    put(audio, soundDone, bytes);
    soundDone += count;
  }
  ok = ok && av_write_trailer(out) >= 0;
  av_packet_free(&packet);
  avio_closep(&out->pb);
  avformat_free_context(out);
  return ok;
}

}  // namespace vesk::test
