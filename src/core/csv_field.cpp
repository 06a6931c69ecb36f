#include "core/csv_field.h"

namespace vesk::core {

std::string_view csvField(std::string_view line, int n) {
  if (n < 1) return kCsvMissingField;
  std::size_t start = 0;
  for (int field = 1; field < n; ++field) {
    const std::size_t comma = line.find(',', start);
    if (comma == std::string_view::npos) return kCsvMissingField;
    start = comma + 1;
  }
  const std::size_t end = line.find(',', start);
  return line.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

}  // namespace vesk::core
