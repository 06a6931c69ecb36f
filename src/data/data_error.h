// DataError: a data file, or a picture it names, cannot be used. `message` is the system's own message, shown
// exactly; `file` and `line` (0 when unknown) say where, for a second line of the report.
#pragma once

#include <stdexcept>
#include <string>

namespace vesk::data {

class DataError : public std::runtime_error {
 public:
  DataError(std::string message, std::string file = {}, int line = 0);

  const std::string& message() const { return message_; }
  const std::string& file() const { return file_; }
  int line() const { return line_; }
  // "train_VK500.dat:57", "train_VK500.dat", or empty.
  std::string where() const;

 private:
  std::string message_;
  std::string file_;
  int line_;
};

}  // namespace vesk::data
