#include "vesk_sim/json_writer.h"

#include <charconv>
#include <cmath>

namespace vesk::tools {

std::string jsonEscape(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (u < 0x20) {
      static const char* hex = "0123456789abcdef";
      out += "\\u00";
      out += hex[u >> 4];
      out += hex[u & 0x0F];
    } else {
      out += c;
    }
  }
  out += '"';
  return out;
}

void JsonWriter::newline() {
  if (!pretty_) return;
  out_ += '\n';
  out_.append(2 * hasItems_.size(), ' ');
}

void JsonWriter::separate() {
  if (afterKey_) {
    afterKey_ = false;
    return;
  }
  if (!hasItems_.empty()) {
    if (hasItems_.back()) out_ += ',';
    hasItems_.back() = true;
    newline();
  }
}

void JsonWriter::beginObject() {
  separate();
  out_ += '{';
  hasItems_.push_back(false);
}

void JsonWriter::endObject() {
  const bool items = hasItems_.back();
  hasItems_.pop_back();
  if (items) newline();
  out_ += '}';
}

void JsonWriter::beginArray() {
  separate();
  out_ += '[';
  hasItems_.push_back(false);
}

void JsonWriter::endArray() {
  const bool items = hasItems_.back();
  hasItems_.pop_back();
  if (items) newline();
  out_ += ']';
}

void JsonWriter::key(std::string_view name) {
  separate();
  out_ += jsonEscape(name);
  out_ += pretty_ ? ": " : ":";
  afterKey_ = true;
}

void JsonWriter::value(std::int64_t v) {
  separate();
  out_ += std::to_string(v);
}

void JsonWriter::value(double v) {
  separate();
  if (!std::isfinite(v)) {
    out_ += "null";
    return;
  }
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
  out_.append(buffer, result.ptr);
}

void JsonWriter::value(core::Fixed v) {
  separate();
  out_ += v.toString();
}

void JsonWriter::value(std::string_view v) {
  separate();
  out_ += jsonEscape(v);
}

void JsonWriter::value(bool v) {
  separate();
  out_ += v ? "true" : "false";
}

void JsonWriter::null() {
  separate();
  out_ += "null";
}

}  // namespace vesk::tools
