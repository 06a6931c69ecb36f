// A small streaming JSON writer for the headless runner's output: keys in the order written, UTF-8 strings,
// fixed values as exact decimals, floats in their shortest round-trip form.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/fixed.h"

namespace vesk::tools {

class JsonWriter {
 public:
  // pretty: one member per line, indented by two spaces a level.
  explicit JsonWriter(bool pretty = false) : pretty_(pretty) {}

  void beginObject();
  void endObject();
  void beginArray();
  void endArray();
  void key(std::string_view name);

  void value(std::int64_t v);
  void value(int v) { value(static_cast<std::int64_t>(v)); }
  void value(double v);
  void value(core::Fixed v);
  void value(std::string_view v);
  void value(const char* v) { value(std::string_view(v)); }
  void value(bool v);
  void null();

  template <class T> void field(std::string_view name, const T& v) {
    key(name);
    value(v);
  }

  const std::string& str() const { return out_; }

 private:
  void separate();
  void newline();

  std::string out_;
  // Per open container: whether something has been written in it yet.
  std::vector<bool> hasItems_;
  bool afterKey_ = false;
  bool pretty_ = false;
};

std::string jsonEscape(std::string_view text);

}  // namespace vesk::tools
