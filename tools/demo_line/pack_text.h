// Writing the demo pack's text files as the packs of the simulator's users are: Shift-JIS, CRLF lines.
#pragma once

#include <filesystem>
#include <string>

namespace vesk::demo {

// Writes UTF-8 text (LF lines) as Shift-JIS with CRLF line breaks. Returns false when it cannot be written.
bool writeDataFile(const std::filesystem::path& root, const std::string& name, const std::string& utf8);
// Writes UTF-8 text unchanged (readme.html).
bool writeUtf8File(const std::filesystem::path& root, const std::string& name, const std::string& utf8);

// Time of day in clock units (1/30 s) and as "hh:mm:ss".
int clockUnits(int hours, int minutes, int seconds = 0);
std::string clockText(int units);

}  // namespace vesk::demo
