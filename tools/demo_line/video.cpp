#include "demo_line/video.h"

#include <QPainter>

#include "demo_line/avi_writer.h"
#include "demo_line/cab_view.h"

namespace vesk::demo {

void renderView(const Line& line, double position, QImage& out) {
  if (out.width() != kViewWidth || out.height() != kViewHeight || out.format() != QImage::Format_RGB32) {
    out = QImage(kViewWidth, kViewHeight, QImage::Format_RGB32);
  }
  QPainter painter(&out);
  CabView(line, position, painter).draw();
}

bool writeVideo(const std::filesystem::path& file, const Line& line, const Recording& recording,
                const std::function<void(double)>& progress) {
  std::error_code ec;
  if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path(), ec);
  auto writer = AviWriter::open(file, kViewWidth, kViewHeight);
  if (!writer) return false;
  QImage picture(kViewWidth, kViewHeight, QImage::Format_RGB32);
  const int count = recording.pictureCount();
  bool ok = true;
  for (int n = 0; ok && n < count; ++n) {
    renderView(line, positionAtFrame(recording, 2 * n), picture);
    ok = writer->write(picture);
    if (progress && n % 100 == 0) progress(static_cast<double>(n) / count);
  }
  ok = ok && writer->finish();
  writer.reset();
  if (!ok) {
    std::filesystem::remove(file, ec);
    return false;
  }
  if (progress) progress(1.0);
  return true;
}

}  // namespace vesk::demo
