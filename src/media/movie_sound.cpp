#include "media/movie_sound.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
}

#include <algorithm>
#include <vector>

namespace vesk::media {
namespace {

constexpr int kMaxRate = 384000;

struct Decoding {
  AVFormatContext* format = nullptr;
  AVCodecContext* codec = nullptr;
  SwrContext* resampler = nullptr;
  AVPacket* packet = nullptr;
  AVFrame* frame = nullptr;
  AVChannelLayout outLayout{};
  int stream = -1;
  int channels = 0;
  std::int64_t maxSamples = 0;
  std::vector<std::int16_t> samples;

  ~Decoding() {
    av_channel_layout_uninit(&outLayout);
    swr_free(&resampler);
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&codec);
    avformat_close_input(&format);
  }

  bool full() const { return static_cast<std::int64_t>(samples.size()) >= maxSamples; }

  // Converts `count` input samples a channel (none: what the resampler still holds) and keeps them.
  bool convert(const std::uint8_t** input, int count) {
    const int room = swr_get_out_samples(resampler, count);
    if (room < 0) return false;
    if (room == 0) return true;
    const std::size_t at = samples.size();
    samples.resize(at + static_cast<std::size_t>(room) * static_cast<std::size_t>(channels));
    auto* out = reinterpret_cast<std::uint8_t*>(samples.data() + at);
    const int made = swr_convert(resampler, &out, room, input, count);
    if (made < 0) return false;
    samples.resize(at + static_cast<std::size_t>(made) * static_cast<std::size_t>(channels));
    return true;
  }

  // Takes every frame the decoder has ready.
  bool drain() {
    while (!full()) {
      const int got = avcodec_receive_frame(codec, frame);
      if (got == AVERROR(EAGAIN) || got == AVERROR_EOF) return true;
      if (got < 0) return false;
      const bool ok = convert(const_cast<const std::uint8_t**>(frame->extended_data), frame->nb_samples);
      av_frame_unref(frame);
      if (!ok) return false;
    }
    return true;
  }
};

}  // namespace

std::shared_ptr<const Wave> decodeMovieSound(const std::filesystem::path& path, std::int64_t maxSamples) {
  Decoding d;
  d.maxSamples = std::max<std::int64_t>(maxSamples, 0);
  if (avformat_open_input(&d.format, path.string().c_str(), nullptr, nullptr) < 0) return nullptr;
  if (avformat_find_stream_info(d.format, nullptr) < 0) return nullptr;
  const AVCodec* decoder = nullptr;
  d.stream = av_find_best_stream(d.format, AVMEDIA_TYPE_AUDIO, -1, -1, &decoder, 0);
  if (d.stream < 0 || decoder == nullptr) return nullptr;
  d.codec = avcodec_alloc_context3(decoder);
  if (d.codec == nullptr) return nullptr;
  if (avcodec_parameters_to_context(d.codec, d.format->streams[d.stream]->codecpar) < 0) return nullptr;
  if (avcodec_open2(d.codec, decoder, nullptr) < 0) return nullptr;
  const int rate = d.codec->sample_rate;
  const int inChannels = d.codec->ch_layout.nb_channels;
  if (rate <= 0 || rate > kMaxRate || inChannels <= 0) return nullptr;
  // A stream that does not say where its channels stand gets the usual order for their number.
  if (d.codec->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC) {
    av_channel_layout_uninit(&d.codec->ch_layout);
    av_channel_layout_default(&d.codec->ch_layout, inChannels);
  }
  d.channels = std::min(inChannels, 2);
  av_channel_layout_default(&d.outLayout, d.channels);
  if (swr_alloc_set_opts2(&d.resampler, &d.outLayout, AV_SAMPLE_FMT_S16, rate, &d.codec->ch_layout, d.codec->sample_fmt,
                          rate, 0, nullptr) < 0 ||
      swr_init(d.resampler) < 0) {
    return nullptr;
  }
  d.packet = av_packet_alloc();
  d.frame = av_frame_alloc();
  if (d.packet == nullptr || d.frame == nullptr) return nullptr;

  while (!d.full() && av_read_frame(d.format, d.packet) >= 0) {
    const bool ours = d.packet->stream_index == d.stream;
    const int sent = ours ? avcodec_send_packet(d.codec, d.packet) : 0;
    av_packet_unref(d.packet);
    // A damaged packet is skipped; the track goes on after it.
    if (sent < 0 && sent != AVERROR(EAGAIN)) continue;
    if (ours && !d.drain()) return nullptr;
  }
  if (!d.full()) {
    avcodec_send_packet(d.codec, nullptr);
    if (!d.drain()) return nullptr;
    if (!d.convert(nullptr, 0)) return nullptr;
  }
  const auto cut =
      static_cast<std::size_t>(std::min<std::int64_t>(d.maxSamples, static_cast<std::int64_t>(d.samples.size())));
  d.samples.resize(cut - cut % static_cast<std::size_t>(d.channels));
  if (d.samples.empty()) return nullptr;
  auto wave = std::make_shared<Wave>();
  wave->sampleRate = rate;
  wave->channels = d.channels;
  wave->frames = static_cast<std::int64_t>(d.samples.size()) / d.channels;
  wave->samples = std::move(d.samples);
  wave->fileName = path.filename().string();
  return wave;
}

}  // namespace vesk::media
