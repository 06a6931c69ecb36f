// LineReader: splits the raw bytes of a data file into lines. CRLF, LF or a lone CR ends a line; a last line
// without a line break still counts. Lines keep their bytes unchanged (decoding happens after splitting).
#pragma once

#include <string_view>

namespace vesk::core {

class LineReader {
 public:
  explicit LineReader(std::string_view bytes) : bytes_(bytes) {}

  // The next line, or false at the end of the data.
  bool next(std::string_view& line);
  bool atEnd() const { return pos_ >= bytes_.size(); }
  // 1-based number of the line last returned by next(); 0 before the first.
  int lineNumber() const { return lineNumber_; }

 private:
  std::string_view bytes_;
  std::size_t pos_ = 0;
  int lineNumber_ = 0;
};

}  // namespace vesk::core
