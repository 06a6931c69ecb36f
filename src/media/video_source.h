// VideoSource: the route video (or a side video) through FFmpeg. The picture count, and picture n read into an
// image. AVI has no timestamps: packets are numbered by their index position, which is the picture number.
// Reading seeks to the key frame at or before n and decodes forward; reading on from the last picture keeps the
// decoder warm. A picture the file dropped (an empty chunk) keeps the picture before it.
#pragma once

#include <QImage>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>

namespace vesk::media {

class VideoSource {
 public:
  static std::unique_ptr<VideoSource> open(const std::filesystem::path& path);
  ~VideoSource();
  VideoSource(const VideoSource&) = delete;
  VideoSource& operator=(const VideoSource&) = delete;

  std::int64_t frameCount() const;
  QSize size() const;
  // Picture n (from 0) as Format_RGB32; false when it cannot be decoded.
  bool readFrame(std::int64_t n, QImage& out);

 private:
  struct State;
  explicit VideoSource(std::unique_ptr<State> state);
  std::unique_ptr<State> state_;
};

// The picture count of a video file; none when it cannot be opened or holds no video.
std::optional<std::int64_t> videoFrameCount(const std::filesystem::path& path);

}  // namespace vesk::media
