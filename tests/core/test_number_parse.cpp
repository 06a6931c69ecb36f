#include <gtest/gtest.h>

#include <optional>

#include "core/number_parse.h"

namespace vesk::core {
namespace {

struct NumberCase {
  const char* name;
  const char* text;
  std::optional<std::int32_t> asInt;
  std::optional<std::int64_t> asDecRaw;
  std::optional<double> asReal;
};
void PrintTo(const NumberCase& testCase, std::ostream* out) { *out << testCase.name; }

class NumberParseTest : public testing::TestWithParam<NumberCase> {};

TEST_P(NumberParseTest, AllKinds) {
  const NumberCase& c = GetParam();
  EXPECT_EQ(parseInt(c.text), c.asInt);
  const auto dec = parseDec(c.text);
  EXPECT_EQ(dec.has_value(), c.asDecRaw.has_value());
  if (dec && c.asDecRaw) {
    EXPECT_EQ(dec->raw(), *c.asDecRaw);
  }
  EXPECT_EQ(parseReal(c.text), c.asReal);
}

constexpr auto none = std::nullopt;

INSTANTIATE_TEST_SUITE_P(
    Texts, NumberParseTest,
    testing::Values(
        NumberCase{"integer", "42", 42, 420000, 42.0}, NumberCase{"negative", "-7", -7, -70000, -7.0},
        NumberCase{"plus_sign", "+3", 3, 30000, 3.0}, NumberCase{"blanks_around", " \t12 ", 12, 120000, 12.0},
        NumberCase{"decimal", "2.75", none, 27500, 2.75}, NumberCase{"leading_point", ".5", none, 5000, 0.5},
        NumberCase{"trailing_point", "5.", none, 50000, 5.0},
        NumberCase{"dec_rounds_fifth_digit_up", "0.12346", none, 1235, 0.12346},
        NumberCase{"dec_tie_to_even_down", "0.00125", none, 12, 0.00125},
        NumberCase{"dec_tie_to_even_up", "0.00135", none, 14, 0.00135},
        NumberCase{"dec_beyond_tie_rounds_up", "0.001250001", none, 13, 0.001250001},
        NumberCase{"empty", "", none, none, none}, NumberCase{"blank", "  ", none, none, none},
        NumberCase{"error_literal", "Error", none, none, none}, NumberCase{"exponent", "1e3", none, none, none},
        NumberCase{"hexadecimal", "0x10", none, none, none}, NumberCase{"comma_decimal", "2,5", none, none, none},
        NumberCase{"inner_blank", "1 2", none, none, none}, NumberCase{"sign_alone", "-", none, none, none},
        NumberCase{"point_alone", ".", none, none, none}, NumberCase{"two_points", "1.2.3", none, none, none},
        NumberCase{"int_max", "2147483647", 2147483647, 21474836470000, 2147483647.0},
        NumberCase{"int_min", "-2147483648", std::numeric_limits<std::int32_t>::min(), -21474836480000, -2147483648.0},
        NumberCase{"int_overflow", "2147483648", none, 21474836480000, 2147483648.0},
        NumberCase{"dec_overflow", "922337203685478", none, none, 922337203685478.0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NumberParse, RealOutOfRangeFails) { EXPECT_EQ(parseReal(std::string(400, '9')), std::nullopt); }

}  // namespace
}  // namespace vesk::core
