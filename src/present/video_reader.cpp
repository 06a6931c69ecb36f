#include "present/video_reader.h"

#include <algorithm>

namespace vesk::present {
namespace {

// Pictures kept: the one on screen, the ones read ahead, and a few behind for a train that stops and reverses.
constexpr std::size_t kCacheSize = 12;
constexpr std::int64_t kReadAhead = 6;

}  // namespace

VideoReader::VideoReader() {
  worker_ = std::thread([this] { loop(); });
}

VideoReader::~VideoReader() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  worker_.join();
}

bool VideoReader::open(const std::filesystem::path& path) {
  std::shared_ptr<media::VideoSource> opened = media::VideoSource::open(path);
  std::lock_guard lock(mutex_);
  source_ = std::move(opened);
  ++generation_;
  frameCount_ = source_ ? source_->frameCount() : 0;
  wanted_ = -1;
  cache_.clear();
  return source_ != nullptr;
}

void VideoReader::close() {
  std::lock_guard lock(mutex_);
  source_.reset();
  ++generation_;
  frameCount_ = 0;
  wanted_ = -1;
  cache_.clear();
}

std::int64_t VideoReader::frameCount() const {
  std::lock_guard lock(mutex_);
  return frameCount_;
}

std::int64_t VideoReader::decodedCount() const {
  std::lock_guard lock(mutex_);
  return decodedCount_;
}

const VideoReader::Decoded* VideoReader::cached(std::int64_t n) const {
  for (const Decoded& d : cache_) {
    if (d.generation == generation_ && d.n == n) return &d;
  }
  return nullptr;
}

std::optional<QImage> VideoReader::picture(std::int64_t n, int direction) {
  std::lock_guard lock(mutex_);
  if (!source_ || n < 0 || n >= frameCount_) return std::nullopt;
  direction_ = direction < 0 ? -1 : 1;
  if (wanted_ != n) {
    wanted_ = n;
    wake_.notify_all();
  }
  if (const Decoded* d = cached(n)) return d->image;
  return std::nullopt;
}

std::optional<QImage> VideoReader::waitFor(std::int64_t n, std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  if (!source_ || n < 0 || n >= frameCount_) return std::nullopt;
  if (wanted_ != n) {
    wanted_ = n;
    wake_.notify_all();
  }
  const std::uint64_t generation = generation_;
  decoded_.wait_for(lock, timeout, [&] { return generation_ != generation || cached(n) != nullptr; });
  if (const Decoded* d = cached(n)) return d->image;
  return std::nullopt;
}

std::optional<std::int64_t> VideoReader::nextToDecode() const {
  if (!source_ || wanted_ < 0) return std::nullopt;
  // The picture asked for first, then the ones the train will come to next.
  for (std::int64_t k = 0; k <= kReadAhead; ++k) {
    const std::int64_t n = wanted_ + k * direction_;
    if (n < 0 || n >= frameCount_) break;
    if (cached(n) == nullptr) return n;
  }
  return std::nullopt;
}

void VideoReader::loop() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [&] { return stop_ || nextToDecode().has_value(); });
    if (stop_) return;
    const std::int64_t n = *nextToDecode();
    const std::uint64_t generation = generation_;
    std::shared_ptr<media::VideoSource> source = source_;
    lock.unlock();
    QImage image;
    const bool ok = source->readFrame(n, image);
    source.reset();
    lock.lock();
    ++decodedCount_;
    if (generation != generation_) continue;  // another video was opened meanwhile
    // A picture that cannot be decoded keeps the one before it on screen: the cache remembers the failure as the
    // nearest earlier picture, so the worker does not try it again and again.
    if (!ok) {
      const Decoded* before = nullptr;
      for (const Decoded& d : cache_) {
        if (d.generation == generation && d.n < n && (before == nullptr || d.n > before->n)) before = &d;
      }
      image = before != nullptr ? before->image : QImage();
    }
    cache_.push_back({generation, n, std::move(image)});
    // Forget the pictures farthest from the one asked for.
    while (cache_.size() > kCacheSize) {
      const auto far = std::max_element(cache_.begin(), cache_.end(), [&](const Decoded& a, const Decoded& b) {
        return std::llabs(a.n - wanted_) < std::llabs(b.n - wanted_);
      });
      cache_.erase(far);
    }
    decoded_.notify_all();
  }
}

}  // namespace vesk::present
