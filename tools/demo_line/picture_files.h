// Writing the demo pack's pictures to disk: 24-bit uncompressed BMP by our own writer (so the format never
// depends on Qt's choices) and baseline JPEG through libjpeg.
#pragma once

#include <QImage>

#include <filesystem>
#include <string>

namespace vesk::demo {

// The bytes of a 24-bit uncompressed BMP of `picture` (bottom-up rows, each padded to 4 bytes).
std::string bmpBytes(const QImage& picture);
// The bytes of a baseline JPEG of `picture` at `quality` (1..100).
std::string jpegBytes(const QImage& picture, int quality);

// The program folder being filled. Names use '\' between folders, as the data files write them.
class PictureFolder {
 public:
  explicit PictureFolder(std::filesystem::path root) : root_(std::move(root)) {}

  // Where `name` lands under the root ('\' turned into folders).
  std::filesystem::path pathOf(const std::string& name) const;
  // Writes `picture` as BMP or, for a ".jpg" name, as a JPEG of quality 90; creates the folders. Throws
  // std::runtime_error when the file cannot be written.
  void write(const std::string& name, const QImage& picture) const;

 private:
  std::filesystem::path root_;
};

}  // namespace vesk::demo
