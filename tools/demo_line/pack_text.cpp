#include "demo_line/pack_text.h"

#include <cstdio>
#include <fstream>

#include "core/sjis.h"

namespace vesk::demo {
namespace {

bool writeBytes(const std::filesystem::path& file, const std::string& bytes) {
  std::error_code ec;
  std::filesystem::create_directories(file.parent_path(), ec);
  std::ofstream out(file, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

}  // namespace

bool writeDataFile(const std::filesystem::path& root, const std::string& name, const std::string& utf8) {
  std::string crlf;
  for (char c : utf8) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  return writeBytes(root / name, core::utf8ToSjis(crlf));
}

bool writeUtf8File(const std::filesystem::path& root, const std::string& name, const std::string& utf8) {
  return writeBytes(root / name, utf8);
}

int clockUnits(int hours, int minutes, int seconds) { return ((hours * 60 + minutes) * 60 + seconds) * 30; }

std::string clockText(int units) {
  const int s = units / 30;
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", s / 3600, s / 60 % 60, s % 60);
  return text;
}

}  // namespace vesk::demo
