// Writes pictures into an AVI file as MPEG-4 Part 2 video through libavcodec: 15 pictures a second, a key frame
// every 15 pictures, no B-frames and one packet a picture, so that a reader's picture number (the packet's index
// in the AVI) is the number of the picture written.
#pragma once

#include <QImage>

#include <filesystem>
#include <memory>

namespace vesk::demo {

class AviWriter {
 public:
  // None when the file or the encoder cannot be opened.
  static std::unique_ptr<AviWriter> open(const std::filesystem::path& file, int width, int height);
  ~AviWriter();
  AviWriter(const AviWriter&) = delete;
  AviWriter& operator=(const AviWriter&) = delete;

  // Encodes the next picture (Format_RGB32, the size given to open()).
  bool write(const QImage& picture);
  // Flushes the encoder and completes the file; the writer takes no more pictures.
  bool finish();

 private:
  struct State;
  explicit AviWriter(std::unique_ptr<State> state);
  std::unique_ptr<State> state_;
};

}  // namespace vesk::demo
