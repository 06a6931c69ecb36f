// The two ways a floating value becomes an integer: nearest() takes halves away from zero, even() takes halves
// to the even neighbour. Both saturate at the int64 range and map NaN to 0, so no data value can trap.
#pragma once

#include <cstdint>

namespace vesk::core {

std::int64_t nearest(double x);
std::int64_t even(double x);

// Narrowing for int32 state fields: values beyond the range stay at its ends instead of wrapping.
std::int32_t saturate32(std::int64_t v);
// a + b, staying at the ends of the int64 range instead of overflowing.
std::int64_t addSaturated(std::int64_t a, std::int64_t b);

}  // namespace vesk::core
