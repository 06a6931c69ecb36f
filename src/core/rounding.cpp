#include "core/rounding.h"

#include <cmath>
#include <limits>

namespace vesk::core {
namespace {

// 2^63 as a double; every double at or beyond it (in magnitude) saturates.
constexpr double kTwo63 = 9223372036854775808.0;

bool saturated(double x, std::int64_t& out) {
  if (std::isnan(x)) {
    out = 0;
    return true;
  }
  if (x >= kTwo63) {
    out = std::numeric_limits<std::int64_t>::max();
    return true;
  }
  if (x < -kTwo63) {
    out = std::numeric_limits<std::int64_t>::min();
    return true;
  }
  return false;
}

}  // namespace

std::int64_t nearest(double x) {
  std::int64_t out = 0;
  if (saturated(x, out)) return out;
  return static_cast<std::int64_t>(std::round(x));
}

std::int64_t even(double x) {
  std::int64_t out = 0;
  if (saturated(x, out)) return out;
  const double floorX = std::floor(x);
  const double diff = x - floorX;
  double r = floorX;
  if (diff > 0.5) {
    r = floorX + 1.0;
  } else if (diff == 0.5) {
    r = std::fmod(floorX, 2.0) == 0.0 ? floorX : floorX + 1.0;
  }
  if (saturated(r, out)) return out;
  return static_cast<std::int64_t>(r);
}

std::int32_t saturate32(std::int64_t v) {
  if (v > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  if (v < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(v);
}

std::int64_t addSaturated(std::int64_t a, std::int64_t b) {
  std::int64_t sum = 0;
  if (!__builtin_add_overflow(a, b, &sum)) return sum;
  return b > 0 ? std::numeric_limits<std::int64_t>::max() : std::numeric_limits<std::int64_t>::min();
}

}  // namespace vesk::core
