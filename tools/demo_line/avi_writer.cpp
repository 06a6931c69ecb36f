#include "demo_line/avi_writer.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

namespace vesk::demo {
namespace {

constexpr int kPicturesPerSecond = 15;
constexpr int kKeyFrameInterval = 15;
// A constant quantiser: sharp enough for the sleepers, and a 10-minute run stays well under 80 MB.
constexpr int kQuantiser = 5;

}  // namespace

struct AviWriter::State {
  AVFormatContext* format = nullptr;
  AVCodecContext* codec = nullptr;
  AVStream* stream = nullptr;
  SwsContext* converter = nullptr;
  AVFrame* frame = nullptr;
  AVPacket* packet = nullptr;
  std::int64_t next = 0;  // the number of the next picture
  bool finished = false;

  ~State() {
    if (format != nullptr && !(format->oformat->flags & AVFMT_NOFILE)) avio_closep(&format->pb);
    avformat_free_context(format);
    avcodec_free_context(&codec);
    sws_freeContext(converter);
    av_frame_free(&frame);
    av_packet_free(&packet);
  }

  // Hands every packet the encoder has ready to the muxer; `draining` after the end of the pictures.
  bool writePackets(bool draining) {
    while (true) {
      const int got = avcodec_receive_packet(codec, packet);
      if (got == AVERROR(EAGAIN) && !draining) return true;
      if (got == AVERROR_EOF) return true;
      if (got < 0) return false;
      av_packet_rescale_ts(packet, codec->time_base, stream->time_base);
      packet->stream_index = stream->index;
      const int written = av_write_frame(format, packet);
      av_packet_unref(packet);
      if (written < 0) return false;
    }
  }
};

AviWriter::AviWriter(std::unique_ptr<State> state) : state_(std::move(state)) {}
AviWriter::~AviWriter() = default;

std::unique_ptr<AviWriter> AviWriter::open(const std::filesystem::path& file, int width, int height) {
  auto s = std::make_unique<State>();
  if (avformat_alloc_output_context2(&s->format, nullptr, "avi", file.c_str()) < 0) return nullptr;
  // No version strings in the file: its bytes depend only on the pictures.
  s->format->flags |= AVFMT_FLAG_BITEXACT;
  const AVCodec* encoder = avcodec_find_encoder(AV_CODEC_ID_MPEG4);
  if (encoder == nullptr) return nullptr;
  s->stream = avformat_new_stream(s->format, nullptr);
  s->codec = avcodec_alloc_context3(encoder);
  if (s->stream == nullptr || s->codec == nullptr) return nullptr;

  AVCodecContext& c = *s->codec;
  c.width = width;
  c.height = height;
  c.pix_fmt = AV_PIX_FMT_YUV420P;
  c.time_base = {1, kPicturesPerSecond};
  c.framerate = {kPicturesPerSecond, 1};
  c.gop_size = kKeyFrameInterval;
  c.max_b_frames = 0;
  c.flags |= AV_CODEC_FLAG_QSCALE | AV_CODEC_FLAG_BITEXACT;
  c.global_quality = FF_QP2LAMBDA * kQuantiser;
  c.thread_count = 1;  // the generator runs one direction a thread already
  if (s->format->oformat->flags & AVFMT_GLOBALHEADER) c.flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  if (avcodec_open2(s->codec, encoder, nullptr) < 0) return nullptr;
  if (avcodec_parameters_from_context(s->stream->codecpar, s->codec) < 0) return nullptr;
  s->stream->time_base = c.time_base;

  s->frame = av_frame_alloc();
  s->packet = av_packet_alloc();
  if (s->frame == nullptr || s->packet == nullptr) return nullptr;
  s->frame->format = c.pix_fmt;
  s->frame->width = width;
  s->frame->height = height;
  if (av_frame_get_buffer(s->frame, 0) < 0) return nullptr;
  // QImage's RGB32 is 0xffRRGGBB in native byte order, which is FFmpeg's RGB32.
  s->converter = sws_getContext(width, height, AV_PIX_FMT_RGB32, width, height, AV_PIX_FMT_YUV420P, SWS_BILINEAR,
                                nullptr, nullptr, nullptr);
  if (s->converter == nullptr) return nullptr;

  if (!(s->format->oformat->flags & AVFMT_NOFILE) && avio_open(&s->format->pb, file.c_str(), AVIO_FLAG_WRITE) < 0) {
    return nullptr;
  }
  if (avformat_write_header(s->format, nullptr) < 0) return nullptr;
  return std::unique_ptr<AviWriter>(new AviWriter(std::move(s)));
}

bool AviWriter::write(const QImage& picture) {
  State& s = *state_;
  if (s.finished || picture.format() != QImage::Format_RGB32 || picture.width() != s.codec->width ||
      picture.height() != s.codec->height) {
    return false;
  }
  if (av_frame_make_writable(s.frame) < 0) return false;
  const uint8_t* planes[1] = {picture.constBits()};
  const int strides[1] = {static_cast<int>(picture.bytesPerLine())};
  sws_scale(s.converter, planes, strides, 0, picture.height(), s.frame->data, s.frame->linesize);
  s.frame->pts = s.next++;
  // With a fixed quantiser the encoder takes each picture's own quality, not the context's.
  s.frame->quality = s.codec->global_quality;
  if (avcodec_send_frame(s.codec, s.frame) < 0) return false;
  return s.writePackets(false);
}

bool AviWriter::finish() {
  State& s = *state_;
  if (s.finished) return false;
  s.finished = true;
  if (avcodec_send_frame(s.codec, nullptr) < 0 || !s.writePackets(true)) return false;
  if (av_write_trailer(s.format) < 0) return false;
  return avio_closep(&s.format->pb) >= 0;
}

}  // namespace vesk::demo
