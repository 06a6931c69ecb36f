#include <gtest/gtest.h>

#include "core/fixed.h"

namespace vesk::core {
namespace {

struct StoreCase {
  const char* name;
  double value;
  std::int64_t raw;
};
void PrintTo(const StoreCase& testCase, std::ostream* out) { *out << testCase.name; }

class FixedStoreTest : public testing::TestWithParam<StoreCase> {};

TEST_P(FixedStoreTest, RoundsToNearestTenThousandthTiesToEven) {
  EXPECT_EQ(Fixed::fromDouble(GetParam().value).raw(), GetParam().raw);
}

INSTANTIATE_TEST_SUITE_P(Stores, FixedStoreTest,
                         testing::Values(StoreCase{"exact", 12.3456, 123456}, StoreCase{"whole", 3.0, 30000},
                                         StoreCase{"below_half", 0.00004, 0}, StoreCase{"above_half", 0.00006, 1},
                                         // 0.00125 x 10000 = 12.5 exactly in binary: a tie, to even.
                                         StoreCase{"tie_to_even_down", 0.00125, 12},
                                         StoreCase{"tie_to_even_up", 0.00375, 38},
                                         StoreCase{"negative_tie", -0.00125, -12},
                                         StoreCase{"negative", -1.23456, -12346}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Fixed, AddingAFloatRoundsTheSumOnce) {
  // 0.00005 more on an odd raw value is a tie between 1 and 2 ten-thousandths: it goes to the even one.
  Fixed odd = Fixed::fromRaw(1);
  odd += 0.00005;
  EXPECT_EQ(odd.raw(), 2);
  Fixed evenRaw = Fixed::fromRaw(2);
  evenRaw += 0.00005;
  EXPECT_EQ(evenRaw.raw(), 2);
  Fixed force = Fixed::fromInt(100);
  force -= 0.3;
  EXPECT_EQ(force.raw(), 997000);
}

TEST(Fixed, ComparesWithFloatsOnTheScaledInteger) {
  const Fixed limit = Fixed::fromDouble(40);
  EXPECT_TRUE(limit > 39.99995);
  EXPECT_FALSE(limit > 40.0);
  EXPECT_TRUE(limit == 40.0);
  EXPECT_TRUE(Fixed::fromRaw(1) > 0.0);
  EXPECT_TRUE(Fixed::fromRaw(-1) < 0.0);
}

TEST(Fixed, PrintsExactDecimals) {
  EXPECT_EQ(Fixed::fromRaw(123456).toString(), "12.3456");
  EXPECT_EQ(Fixed::fromRaw(30000).toString(), "3");
  EXPECT_EQ(Fixed::fromRaw(-5).toString(), "-0.0005");
  EXPECT_EQ(Fixed::fromRaw(305000).toString(), "30.5");
  EXPECT_EQ(Fixed::fromRaw(std::numeric_limits<std::int64_t>::min()).toString(), "-922337203685477.5808");
}

}  // namespace
}  // namespace vesk::core
