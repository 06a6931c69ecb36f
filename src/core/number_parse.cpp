#include "core/number_parse.h"

#include <charconv>
#include <limits>

namespace vesk::core {
namespace {

std::string_view trimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// A number split into its parts; fraction is empty when there is no '.'.
struct DecimalText {
  bool negative = false;
  std::string_view integer;
  std::string_view fraction;
};

std::optional<DecimalText> splitDecimal(std::string_view text, bool allowFraction) {
  text = trimBlanks(text);
  DecimalText out;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    out.negative = text.front() == '-';
    text.remove_prefix(1);
  }
  std::size_t i = 0;
  while (i < text.size() && isDigit(text[i])) ++i;
  out.integer = text.substr(0, i);
  if (i < text.size()) {
    if (!allowFraction || text[i] != '.') return std::nullopt;
    std::size_t j = i + 1;
    while (j < text.size() && isDigit(text[j])) ++j;
    if (j != text.size()) return std::nullopt;
    out.fraction = text.substr(i + 1);
  }
  if (out.integer.empty() && out.fraction.empty()) return std::nullopt;
  return out;
}

}  // namespace

std::optional<std::int32_t> parseInt(std::string_view text) {
  const auto parts = splitDecimal(text, false);
  if (!parts) return std::nullopt;
  std::int64_t value = 0;
  for (char c : parts->integer) {
    value = value * 10 + (c - '0');
    if (value > static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::max()) + 1) return std::nullopt;
  }
  if (parts->negative) value = -value;
  if (value > std::numeric_limits<std::int32_t>::max() || value < std::numeric_limits<std::int32_t>::min()) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(value);
}

std::optional<Fixed> parseDec(std::string_view text) {
  const auto parts = splitDecimal(text, true);
  if (!parts) return std::nullopt;
  constexpr std::int64_t kMaxRaw = std::numeric_limits<std::int64_t>::max();
  std::int64_t raw = 0;
  for (char c : parts->integer) {
    if (raw > (kMaxRaw - 9) / 10) return std::nullopt;
    raw = raw * 10 + (c - '0');
  }
  // Four fraction digits go into the value; the rest only decide the rounding.
  for (int k = 0; k < 4; ++k) {
    const int digit = k < static_cast<int>(parts->fraction.size()) ? parts->fraction[k] - '0' : 0;
    if (raw > (kMaxRaw - 9) / 10) return std::nullopt;
    raw = raw * 10 + digit;
  }
  if (parts->fraction.size() > 4) {
    const std::string_view rest = parts->fraction.substr(4);
    const int first = rest.front() - '0';
    const bool beyondHalf = rest.substr(1).find_first_not_of('0') != std::string_view::npos;
    if (first > 5 || (first == 5 && (beyondHalf || raw % 2 != 0))) {
      if (raw == kMaxRaw) return std::nullopt;
      ++raw;
    }
  }
  return Fixed::fromRaw(parts->negative ? -raw : raw);
}

std::optional<double> parseReal(std::string_view text) {
  const auto parts = splitDecimal(text, true);
  if (!parts) return std::nullopt;
  // from_chars wants "digits[.digits]" with at least one digit before the end; rebuild that form.
  std::string plain(parts->integer.empty() ? "0" : parts->integer);
  if (!parts->fraction.empty()) {
    plain += '.';
    plain += parts->fraction;
  }
  double value = 0;
  const auto result = std::from_chars(plain.data(), plain.data() + plain.size(), value, std::chars_format::fixed);
  if (result.ec != std::errc() || result.ptr != plain.data() + plain.size()) return std::nullopt;
  return parts->negative ? -value : value;
}

}  // namespace vesk::core
