#include "data/data_error.h"

namespace vesk::data {

DataError::DataError(std::string message, std::string file, int line)
    : std::runtime_error(message), message_(std::move(message)), file_(std::move(file)), line_(line) {}

std::string DataError::where() const {
  if (file_.empty()) return {};
  if (line_ <= 0) return file_;
  return file_ + ":" + std::to_string(line_);
}

}  // namespace vesk::data
