#include "core/line_reader.h"

namespace vesk::core {

bool LineReader::next(std::string_view& line) {
  if (pos_ >= bytes_.size()) return false;
  const std::size_t end = bytes_.find_first_of("\r\n", pos_);
  if (end == std::string_view::npos) {
    line = bytes_.substr(pos_);
    pos_ = bytes_.size();
  } else {
    line = bytes_.substr(pos_, end - pos_);
    pos_ = end + 1;
    if (bytes_[end] == '\r' && pos_ < bytes_.size() && bytes_[pos_] == '\n') ++pos_;
  }
  ++lineNumber_;
  return true;
}

}  // namespace vesk::core
