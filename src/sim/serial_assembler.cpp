#include "sim/serial_assembler.h"

namespace vesk::sim {

std::vector<std::string> SerialLineAssembler::RxChar(std::string_view chunk) {
  std::vector<std::string> lines;
  for (const char c : chunk) {
    if (c == '\r') {
      if (!skippingLongLine_) lines.push_back(std::move(rxBuffer_));
      rxBuffer_.clear();
      skippingLongLine_ = false;
      afterCarriageReturn_ = true;
      continue;
    }
    // Controllers that end their lines with CR LF: the line feed is part of the line end, not the next command.
    const bool lineFeedOfLineEnd = c == '\n' && afterCarriageReturn_;
    afterCarriageReturn_ = false;
    if (lineFeedOfLineEnd || skippingLongLine_) continue;
    if (rxBuffer_.size() == kMaxLineLength) {
      rxBuffer_.clear();
      rxBuffer_.shrink_to_fit();
      skippingLongLine_ = true;
      ++droppedLines_;
      continue;
    }
    rxBuffer_.push_back(c);
  }
  return lines;
}

void SerialLineAssembler::clear() {
  rxBuffer_.clear();
  skippingLongLine_ = false;
  afterCarriageReturn_ = false;
}

}  // namespace vesk::sim
