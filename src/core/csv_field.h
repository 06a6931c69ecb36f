// csvField: the n-th comma-separated field of a line (counted from 1), not trimmed; the literal "Error" when the
// line has fewer than n fields, which then fails any number conversion. Works on the raw bytes of a line:
// a comma never occurs inside a Shift-JIS character.
#pragma once

#include <string_view>

namespace vesk::core {

inline constexpr std::string_view kCsvMissingField = "Error";

std::string_view csvField(std::string_view line, int n);

}  // namespace vesk::core
