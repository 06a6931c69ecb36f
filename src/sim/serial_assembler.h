// SerialLineAssembler: turns the characters a serial train controller sends, in whatever chunks the port
// delivers them, into command lines. A line ends at a carriage return (a line feed right after it belongs to
// it); what follows the carriage return starts the next line, so commands that arrive split or joined are all
// kept. A line longer than kMaxLineLength characters is dropped whole: a controller that never sends a carriage
// return cannot make the buffer grow.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vesk::sim {

class SerialLineAssembler {
 public:
  static constexpr std::size_t kMaxLineLength = 256;

  // One chunk of received characters (RxChar). Returns the lines it completes, in order, without their line
  // ends; an unfinished line stays in rxBuffer() for the next chunk.
  std::vector<std::string> RxChar(std::string_view chunk);

  // Text received since the last carriage return (empty while a too long line is being skipped).
  const std::string& rxBuffer() const { return rxBuffer_; }
  // How many too long lines have been dropped.
  std::int64_t droppedLines() const { return droppedLines_; }
  // Forgets an unfinished line (the port was closed or lost).
  void clear();

 private:
  std::string rxBuffer_;
  bool skippingLongLine_ = false;
  bool afterCarriageReturn_ = false;
  std::int64_t droppedLines_ = 0;
};

}  // namespace vesk::sim
