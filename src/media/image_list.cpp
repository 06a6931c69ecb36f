#include "media/image_list.h"

#include "media/picture_loader.h"

namespace vesk::media {

int ImageEntry::patternCount() const {
  const int w = cellWidth();
  const int h = cellHeight();
  if (w <= 0 || h <= 0) return 0;
  return (image.width() / w) * (image.height() / h);
}

QRect ImageEntry::patternRect(int k) const {
  const int w = cellWidth();
  const int h = cellHeight();
  if (k < 0 || w <= 0 || h <= 0) return {};
  const int columns = image.width() / w;
  if (columns <= 0 || k >= patternCount()) return {};
  return QRect((k % columns) * w, (k / columns) * h, w, h);
}

bool sameNameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i];
    char y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

ImageEntry makeImageEntry(std::string name, const QImage& picture, bool transparent, QRgb transparentColour,
                          int patternWidth, int patternHeight) {
  ImageEntry entry;
  entry.name = std::move(name);
  entry.image = transparent ? applyColourKey(picture, transparentColour)
                            : picture.convertToFormat(QImage::Format_RGB32);  // opaque: drawn by copying
  entry.transparent = transparent;
  entry.transparentColour = transparentColour;
  entry.patternWidth = patternWidth;
  entry.patternHeight = patternHeight;
  return entry;
}

const ImageEntry& ImageList::put(ImageEntry entry) {
  for (ImageEntry& existing : entries_) {
    if (sameNameIgnoringCase(existing.name, entry.name)) {
      existing = std::move(entry);
      return existing;
    }
  }
  entries_.push_back(std::move(entry));
  return entries_.back();
}

const ImageEntry* ImageList::find(std::string_view name) const {
  for (const ImageEntry& entry : entries_) {
    if (sameNameIgnoringCase(entry.name, name)) return &entry;
  }
  return nullptr;
}

}  // namespace vesk::media
