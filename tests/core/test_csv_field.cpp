#include <gtest/gtest.h>

#include "core/csv_field.h"

namespace vesk::core {
namespace {

struct CsvCase {
  const char* name;
  const char* line;
  int n;
  const char* field;
};
void PrintTo(const CsvCase& testCase, std::ostream* out) { *out << testCase.name; }

class CsvFieldTest : public testing::TestWithParam<CsvCase> {};

TEST_P(CsvFieldTest, Field) { EXPECT_EQ(csvField(GetParam().line, GetParam().n), GetParam().field); }

INSTANTIATE_TEST_SUITE_P(Fields, CsvFieldTest,
                         testing::Values(CsvCase{"first", "10,20,30", 1, "10"}, CsvCase{"middle", "10,20,30", 2, "20"},
                                         CsvCase{"last_runs_to_end", "10,20,30 km", 3, "30 km"},
                                         CsvCase{"beyond_is_error", "10,20,30", 4, "Error"},
                                         CsvCase{"no_comma_whole_line", "abc def", 1, "abc def"},
                                         CsvCase{"no_comma_second_is_error", "abc", 2, "Error"},
                                         CsvCase{"not_trimmed", " 1 , 2 ", 2, " 2 "},
                                         CsvCase{"empty_field", "1,,3", 2, ""},
                                         CsvCase{"trailing_comma_gives_empty_last", "1,2,", 3, ""},
                                         CsvCase{"empty_line", "", 1, ""}, CsvCase{"empty_line_second", "", 2, "Error"},
                                         CsvCase{"field_zero_is_error", "1,2", 0, "Error"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vesk::core
