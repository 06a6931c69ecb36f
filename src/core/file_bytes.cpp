#include "core/file_bytes.h"

#include <fstream>
#include <system_error>

namespace vesk::core {

std::optional<std::string> readFileBytes(const std::filesystem::path& path, std::size_t maxBytes) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
  const auto size = std::filesystem::file_size(path, ec);
  if (ec || size > maxBytes) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(size), '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (static_cast<std::size_t>(in.gcount()) != bytes.size()) return std::nullopt;
  return bytes;
}

}  // namespace vesk::core
