// Reads a whole file into memory. Data files and pictures are small; a file beyond the limit is refused rather
// than read, so a stray multi-gigabyte file cannot exhaust memory.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

namespace vesk::core {

inline constexpr std::size_t kMaxDataFileBytes = std::size_t{256} << 20;

std::optional<std::string> readFileBytes(const std::filesystem::path& path, std::size_t maxBytes = kMaxDataFileBytes);

}  // namespace vesk::core
