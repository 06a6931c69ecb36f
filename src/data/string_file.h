// The interface string file ("velmarix.dat") and the controller map ("mascon.dat").
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "data/ui_strings.h"

namespace vesk::data {

inline constexpr std::string_view kStringFileError = "stringファイルに誤りがあります";
inline constexpr std::string_view kStringFileName = "velmarix.dat";
inline constexpr std::string_view kControllerMapName = "mascon.dat";

// Throws DataError with the string file's message.
UiStrings loadStringFile(const std::filesystem::path& programDir);
UiStrings readStringFile(std::string_view bytes, std::string_view fileName = kStringFileName);

// The codes an external controller sends, one per line of the map; only the first 23 have a meaning.
inline constexpr int kControllerCodeCapacity = 26;
struct ControllerCodes {
  std::array<std::string, kControllerCodeCapacity> codes{};  // raw bytes, compared with received messages
  int count = 0;
};

// Lines until one starting with "#" or the end of the file; every other line, blank ones too, is a code.
ControllerCodes readControllerCodes(std::string_view bytes);
// A missing or unreadable map gives no codes (the caller reports it).
std::optional<ControllerCodes> loadControllerCodes(const std::filesystem::path& programDir);

}  // namespace vesk::data
