// Test helpers: a temporary folder removed at the end of the test, and writing files into it.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace vesk::test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // Writes bytes to a file under the folder (creating sub-folders) and returns its path.
  std::filesystem::path write(const std::string& relative, std::string_view bytes) const;

 private:
  std::filesystem::path path_;
};

// UTF-8 test text as the Shift-JIS bytes of a data file; lines joined with CRLF as packs made on Windows are.
std::string sjis(std::string_view utf8);
std::string crlf(std::string_view text);

}  // namespace vesk::test
