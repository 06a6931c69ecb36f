// Finds the files that data files name. Packs are made on Windows, where names are case-insensitive and '\'
// separates folders: each part of the name is matched case-insensitively within its folder, and only a regular
// file is ever returned.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace vesk::core {

// base: the folder the name is relative to (empty = the working folder). name: UTF-8, '/' or '\' separated.
// Where a folder holds several entries whose names differ only in letter case (Linux allows it; Windows, where
// packs are made, does not), the one spelled exactly as the name is taken, else the first in byte order; only
// folders are taken for the folder parts of the name and only regular files for its last part.
std::optional<std::filesystem::path> resolveDataFile(const std::filesystem::path& base, std::string_view name);

struct ResolvedFile {
  std::optional<std::filesystem::path> file;
  // Entries that matched a part of the name as well as the one taken, and were passed over.
  std::vector<std::filesystem::path> passedOver;
};

// The same lookup, also naming what it passed over (for the data validator's warning).
ResolvedFile resolveDataFileNoting(const std::filesystem::path& base, std::string_view name);

}  // namespace vesk::core
