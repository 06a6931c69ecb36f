// Finds the files that data files name. Packs are made on Windows, where names are case-insensitive and '\'
// separates folders: each part of the name is matched case-insensitively within its folder, and only a regular
// file is ever returned.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace vesk::core {

// base: the folder the name is relative to (empty = the working folder). name: UTF-8, '/' or '\' separated.
std::optional<std::filesystem::path> resolveDataFile(const std::filesystem::path& base, std::string_view name);

}  // namespace vesk::core
