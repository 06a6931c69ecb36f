// Number conversions of the data files. Accepted: surrounding blanks (space, tab), an optional sign, decimal
// digits, and for dec and real a '.' fraction. Empty text, exponents, hexadecimal, a value out of range and
// anything else are conversion failures (std::nullopt).
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "core/fixed.h"

namespace vesk::core {

// int: signed 32-bit.
std::optional<std::int32_t> parseInt(std::string_view text);
// dec: exact decimal rounded to four decimals, ties to even.
std::optional<Fixed> parseDec(std::string_view text);
// real: double.
std::optional<double> parseReal(std::string_view text);

}  // namespace vesk::core
