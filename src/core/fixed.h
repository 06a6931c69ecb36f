// Fixed: a decimal fixed-point number with four decimals, held as value x 10000 in a signed 64-bit integer.
// Forces, pressures, masses, the gradient and the adhesion coefficient are kept this way; every store rounds to
// the nearest 1/10000 with ties to even, and a comparison with a floating value is made on the scaled integer.
#pragma once

#include <compare>
#include <cstdint>
#include <string>

namespace vesk::core {

class Fixed {
 public:
  static constexpr std::int64_t kScale = 10000;

  constexpr Fixed() = default;
  static constexpr Fixed fromRaw(std::int64_t raw) {
    Fixed f;
    f.raw_ = raw;
    return f;
  }
  static constexpr Fixed fromInt(std::int64_t v) { return fromRaw(v * kScale); }
  // The nearest multiple of 1/10000 to v, ties to even.
  static Fixed fromDouble(double v);

  constexpr std::int64_t raw() const { return raw_; }
  double toDouble() const { return static_cast<double>(raw_) / static_cast<double>(kScale); }
  // Exact decimal text: "-12.345", "3", "0.0001".
  std::string toString() const;

  // Store the sum: the result is rounded once, as a store of (this + v) would be.
  Fixed& operator+=(double v);
  Fixed& operator-=(double v) { return *this += -v; }
  constexpr Fixed& operator+=(Fixed o) {
    raw_ += o.raw_;
    return *this;
  }
  constexpr Fixed& operator-=(Fixed o) {
    raw_ -= o.raw_;
    return *this;
  }
  friend constexpr Fixed operator+(Fixed a, Fixed b) { return a += b; }
  friend constexpr Fixed operator-(Fixed a, Fixed b) { return a -= b; }
  friend constexpr Fixed operator-(Fixed a) { return fromRaw(-a.raw_); }

  friend constexpr bool operator==(Fixed a, Fixed b) = default;
  friend constexpr std::strong_ordering operator<=>(Fixed a, Fixed b) { return a.raw_ <=> b.raw_; }
  // Comparisons with a floating value scale the float, not the fixed value: raw against v x 10000.
  friend std::partial_ordering operator<=>(Fixed a, double v) {
    return static_cast<double>(a.raw_) <=> v * static_cast<double>(kScale);
  }
  friend bool operator==(Fixed a, double v) { return static_cast<double>(a.raw_) == v * static_cast<double>(kScale); }

 private:
  std::int64_t raw_ = 0;
};

}  // namespace vesk::core
