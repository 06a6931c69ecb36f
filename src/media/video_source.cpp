#include "media/video_source.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libswscale/swscale.h>
}

namespace vesk::media {

struct VideoSource::State {
  AVFormatContext* format = nullptr;
  AVCodecContext* codec = nullptr;
  SwsContext* scaler = nullptr;
  AVPacket* packet = nullptr;
  AVFrame* frame = nullptr;
  int stream = -1;
  std::int64_t frames = 0;
  std::int64_t lastDecoded = -1;  // picture number of the last decoded picture; -1 none
  QImage lastImage;

  ~State() {
    sws_freeContext(scaler);
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&codec);
    avformat_close_input(&format);
  }

  std::int64_t pictureNumber(const AVFrame* f) const {
    const std::int64_t ts = f->best_effort_timestamp != AV_NOPTS_VALUE ? f->best_effort_timestamp : f->pts;
    if (ts == AV_NOPTS_VALUE) return lastDecoded + 1;
    const AVStream* st = format->streams[stream];
    // AVI streams count in pictures; anything else is converted from its time base.
    const AVRational rate = st->avg_frame_rate.num > 0 ? st->avg_frame_rate : st->r_frame_rate;
    if (rate.num <= 0) return ts;
    return av_rescale_q(ts - (st->start_time != AV_NOPTS_VALUE ? st->start_time : 0), st->time_base, av_inv_q(rate));
  }

  bool toImage(const AVFrame* f, QImage& out) {
    scaler = sws_getCachedContext(scaler, f->width, f->height, static_cast<AVPixelFormat>(f->format), f->width,
                                  f->height, AV_PIX_FMT_BGRA, SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (scaler == nullptr) return false;
    QImage image(f->width, f->height, QImage::Format_RGB32);
    if (image.isNull()) return false;
    uint8_t* planes[4] = {image.bits(), nullptr, nullptr, nullptr};
    int strides[4] = {static_cast<int>(image.bytesPerLine()), 0, 0, 0};
    sws_scale(scaler, f->data, f->linesize, 0, f->height, planes, strides);
    out = std::move(image);
    return true;
  }

  // Decodes forward until picture n (or the first picture after it) comes out.
  bool decodeUntil(std::int64_t n, QImage& out) {
    while (true) {
      const int got = avcodec_receive_frame(codec, frame);
      if (got == 0) {
        const std::int64_t number = pictureNumber(frame);
        lastDecoded = number;
        if (number >= n) {
          if (!toImage(frame, lastImage)) return false;
          out = lastImage;
          return true;
        }
        continue;
      }
      if (got != AVERROR(EAGAIN)) return false;
      const int read = av_read_frame(format, packet);
      if (read < 0) {
        avcodec_send_packet(codec, nullptr);  // drain what the decoder still holds
        if (avcodec_receive_frame(codec, frame) == 0) {
          lastDecoded = pictureNumber(frame);
          if (!toImage(frame, lastImage)) return false;
          out = lastImage;
          return true;
        }
        return false;
      }
      if (packet->stream_index == stream) avcodec_send_packet(codec, packet);
      av_packet_unref(packet);
    }
  }
};

VideoSource::VideoSource(std::unique_ptr<State> state) : state_(std::move(state)) {}
VideoSource::~VideoSource() = default;

std::unique_ptr<VideoSource> VideoSource::open(const std::filesystem::path& path) {
  // A file that is not a video is reported by the caller; FFmpeg's own messages would only add noise.
  av_log_set_level(AV_LOG_QUIET);
  auto s = std::make_unique<State>();
  if (avformat_open_input(&s->format, path.c_str(), nullptr, nullptr) < 0) return nullptr;
  if (avformat_find_stream_info(s->format, nullptr) < 0) return nullptr;
  const AVCodec* decoder = nullptr;
  s->stream = av_find_best_stream(s->format, AVMEDIA_TYPE_VIDEO, -1, -1, &decoder, 0);
  if (s->stream < 0 || decoder == nullptr) return nullptr;
  AVStream* st = s->format->streams[s->stream];
  s->codec = avcodec_alloc_context3(decoder);
  if (s->codec == nullptr || avcodec_parameters_to_context(s->codec, st->codecpar) < 0) return nullptr;
  s->codec->thread_count = 1;
  if (avcodec_open2(s->codec, decoder, nullptr) < 0) return nullptr;
  s->packet = av_packet_alloc();
  s->frame = av_frame_alloc();
  if (s->packet == nullptr || s->frame == nullptr) return nullptr;
  s->frames = st->nb_frames;
  if (s->frames <= 0) {
    // No count in the header: count the stream's packets, then go back to the start.
    std::int64_t packets = 0;
    while (av_read_frame(s->format, s->packet) >= 0) {
      if (s->packet->stream_index == s->stream) ++packets;
      av_packet_unref(s->packet);
    }
    s->frames = packets;
    av_seek_frame(s->format, s->stream, 0, AVSEEK_FLAG_BACKWARD);
  }
  return std::unique_ptr<VideoSource>(new VideoSource(std::move(s)));
}

std::int64_t VideoSource::frameCount() const { return state_->frames; }

QSize VideoSource::size() const { return {state_->codec->width, state_->codec->height}; }

bool VideoSource::readFrame(std::int64_t n, QImage& out) {
  State& s = *state_;
  if (n < 0 || n >= s.frames) return false;
  if (n == s.lastDecoded && !s.lastImage.isNull()) {
    out = s.lastImage;
    return true;
  }
  // Reading on a little from the last picture: keep decoding; otherwise seek to the key frame at or before n.
  constexpr std::int64_t kDecodeAheadLimit = 30;
  if (!(n > s.lastDecoded && n - s.lastDecoded <= kDecodeAheadLimit)) {
    if (av_seek_frame(s.format, s.stream, n, AVSEEK_FLAG_BACKWARD) < 0) return false;
    avcodec_flush_buffers(s.codec);
    s.lastDecoded = -1;
  }
  return s.decodeUntil(n, out);
}

std::optional<std::int64_t> videoFrameCount(const std::filesystem::path& path) {
  const auto video = VideoSource::open(path);
  if (!video || video->frameCount() <= 0) return std::nullopt;
  return video->frameCount();
}

}  // namespace vesk::media
