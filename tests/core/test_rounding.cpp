#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/rounding.h"

namespace vesk::core {
namespace {

struct RoundingCase {
  const char* name;
  double x;
  std::int64_t nearest;
  std::int64_t even;
};
void PrintTo(const RoundingCase& testCase, std::ostream* out) { *out << testCase.name; }

class RoundingTest : public testing::TestWithParam<RoundingCase> {};

TEST_P(RoundingTest, BothRules) {
  const RoundingCase& c = GetParam();
  EXPECT_EQ(nearest(c.x), c.nearest);
  EXPECT_EQ(even(c.x), c.even);
}

INSTANTIATE_TEST_SUITE_P(
    Halves, RoundingTest,
    testing::Values(RoundingCase{"plus_half", 0.5, 1, 0}, RoundingCase{"one_half", 1.5, 2, 2},
                    RoundingCase{"two_half", 2.5, 3, 2}, RoundingCase{"minus_half", -0.5, -1, 0},
                    RoundingCase{"minus_two_half", -2.5, -3, -2}, RoundingCase{"minus_three_half", -3.5, -4, -4},
                    RoundingCase{"below_half", 2.4999, 2, 2}, RoundingCase{"above_half", 2.5001, 3, 3},
                    RoundingCase{"negative_above_half", -2.5001, -3, -3}, RoundingCase{"whole", 7.0, 7, 7},
                    RoundingCase{"zero", 0.0, 0, 0}, RoundingCase{"nan", std::nan(""), 0, 0},
                    RoundingCase{"huge", 1e300, std::numeric_limits<std::int64_t>::max(),
                                 std::numeric_limits<std::int64_t>::max()},
                    RoundingCase{"minus_huge", -1e300, std::numeric_limits<std::int64_t>::min(),
                                 std::numeric_limits<std::int64_t>::min()}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Saturate32, KeepsValuesWithinInt32) {
  EXPECT_EQ(saturate32(5), 5);
  EXPECT_EQ(saturate32(std::int64_t{1} << 40), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(saturate32(-(std::int64_t{1} << 40)), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(addSaturated(std::numeric_limits<std::int64_t>::max(), 5), std::numeric_limits<std::int64_t>::max());
  EXPECT_EQ(addSaturated(std::numeric_limits<std::int64_t>::min(), -5), std::numeric_limits<std::int64_t>::min());
  EXPECT_EQ(addSaturated(40, 2), 42);
}

}  // namespace
}  // namespace vesk::core
