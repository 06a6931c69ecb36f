// VideoReader: the video pictures of the forward view, decoded on a worker thread. The frame loop asks for the
// picture it wants and draws whatever is ready: the picture itself, or the one before it while a seek is still
// decoding (a picture is never waited for on the window's thread). While the train moves the worker reads ahead
// in the direction of travel, so that the next pictures are ready before they are asked for.
#pragma once

#include <QImage>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "media/video_source.h"

namespace vesk::present {

class VideoReader {
 public:
  VideoReader();
  ~VideoReader();
  VideoReader(const VideoReader&) = delete;
  VideoReader& operator=(const VideoReader&) = delete;

  // Opens a video (the route's or a side video), closing the one before; false when it cannot be opened.
  bool open(const std::filesystem::path& path);
  void close();
  std::int64_t frameCount() const;

  // Picture n of the open video when it has been decoded; asks the worker for it (and the pictures after it
  // in `direction`, +1 or -1) otherwise.
  std::optional<QImage> picture(std::int64_t n, int direction = 1);
  // Waits up to `timeout` for picture n (tests and screenshots want the exact picture).
  std::optional<QImage> waitFor(std::int64_t n, std::chrono::milliseconds timeout);

  // How many pictures the worker has decoded, and how many of them were asked for before they were ready.
  std::int64_t decodedCount() const;

 private:
  struct Decoded {
    std::uint64_t generation;
    std::int64_t n;
    QImage image;
  };
  void loop();
  const Decoded* cached(std::int64_t n) const;
  std::optional<std::int64_t> nextToDecode() const;

  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable decoded_;
  bool stop_ = false;
  // The worker holds its own reference while it decodes, so a video can be replaced at any time.
  std::shared_ptr<media::VideoSource> source_;
  std::uint64_t generation_ = 0;
  std::int64_t frameCount_ = 0;
  std::int64_t wanted_ = -1;
  int direction_ = 1;
  std::deque<Decoded> cache_;
  std::int64_t decodedCount_ = 0;
  std::thread worker_;  // last: it starts once everything it uses is made
};

}  // namespace vesk::present
