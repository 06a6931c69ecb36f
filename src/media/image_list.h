// ImageList: a named collection of pictures, as the panel and the forward view use them. An entry may be a
// strip or grid of equal patterns; pattern k is the k-th cell counted row by row from 0. Transparency is
// turned into alpha once, when the entry is added.
#pragma once

#include <QImage>
#include <QRect>

#include <string>
#include <string_view>
#include <vector>

namespace vesk::media {

struct ImageEntry {
  std::string name;
  QImage image;  // premultiplied ARGB; transparent pixels already have alpha 0
  bool transparent = false;
  QRgb transparentColour = 0;
  int patternWidth = 0;  // 0: the whole picture is one pattern
  int patternHeight = 0;

  int cellWidth() const { return patternWidth > 0 ? patternWidth : image.width(); }
  int cellHeight() const { return patternHeight > 0 ? patternHeight : image.height(); }
  int patternCount() const;
  // The cell of pattern k; an empty rectangle for a pattern outside the picture (which then draws nothing).
  QRect patternRect(int k) const;
};

// Prepares an entry. With `transparent`, pixels of `transparentColour` become fully transparent.
ImageEntry makeImageEntry(std::string name, const QImage& picture, bool transparent, QRgb transparentColour,
                          int patternWidth = 0, int patternHeight = 0);

class ImageList {
 public:
  // Adds an entry; one of the same name (letter case ignored) is replaced.
  const ImageEntry& put(ImageEntry entry);
  // Lookup by name ignores letter case ("img_lamp_gen" finds "img_Lamp_Gen").
  const ImageEntry* find(std::string_view name) const;
  const std::vector<ImageEntry>& entries() const { return entries_; }
  void clear() { entries_.clear(); }

 private:
  std::vector<ImageEntry> entries_;
};

bool sameNameIgnoringCase(std::string_view a, std::string_view b);

}  // namespace vesk::media
