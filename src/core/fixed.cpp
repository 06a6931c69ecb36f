#include "core/fixed.h"

#include "core/rounding.h"

namespace vesk::core {

Fixed Fixed::fromDouble(double v) { return fromRaw(even(v * static_cast<double>(kScale))); }

Fixed& Fixed::operator+=(double v) {
  raw_ = even(static_cast<double>(raw_) + v * static_cast<double>(kScale));
  return *this;
}

std::string Fixed::toString() const {
  // Work on the unsigned magnitude so that the most negative value does not overflow.
  const bool negative = raw_ < 0;
  const std::uint64_t magnitude =
      negative ? static_cast<std::uint64_t>(-(raw_ + 1)) + 1 : static_cast<std::uint64_t>(raw_);
  std::string text = std::to_string(magnitude / kScale);
  std::uint64_t fraction = magnitude % kScale;
  if (fraction != 0) {
    std::string digits = std::to_string(fraction);
    digits.insert(0, 4 - digits.size(), '0');
    while (digits.back() == '0') digits.pop_back();
    text += '.';
    text += digits;
  }
  if (negative) text.insert(0, 1, '-');
  return text;
}

}  // namespace vesk::core
