#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/line_reader.h"

namespace vesk::core {
namespace {

std::vector<std::string> allLines(std::string_view bytes) {
  LineReader reader(bytes);
  std::vector<std::string> lines;
  std::string_view line;
  while (reader.next(line)) lines.emplace_back(line);
  return lines;
}

struct LinesCase {
  const char* name;
  std::string bytes;
  std::vector<std::string> lines;
};
void PrintTo(const LinesCase& testCase, std::ostream* out) { *out << testCase.name; }

class LineReaderTest : public testing::TestWithParam<LinesCase> {};

TEST_P(LineReaderTest, Splits) { EXPECT_EQ(allLines(GetParam().bytes), GetParam().lines); }

INSTANTIATE_TEST_SUITE_P(
    Breaks, LineReaderTest,
    testing::Values(LinesCase{"crlf", "a\r\nb\r\n", {"a", "b"}}, LinesCase{"lf", "a\nb\n", {"a", "b"}},
                    LinesCase{"cr", "a\rb\r", {"a", "b"}}, LinesCase{"mixed", "a\r\nb\nc\rd", {"a", "b", "c", "d"}},
                    LinesCase{"no_final_break", "a\nb", {"a", "b"}},
                    LinesCase{"empty_lines_kept", "a\n\n\r\n\rb", {"a", "", "", "", "b"}},
                    LinesCase{"lf_cr_is_two_breaks", "a\n\rb", {"a", "", "b"}}, LinesCase{"empty", "", {}},
                    LinesCase{"bytes_kept", std::string("\x95\x5C,\0x", 5), {std::string("\x95\x5C,\0x", 5)}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LineReader, CountsLines) {
  LineReader reader("a\nb\nc");
  std::string_view line;
  EXPECT_EQ(reader.lineNumber(), 0);
  reader.next(line);
  reader.next(line);
  EXPECT_EQ(reader.lineNumber(), 2);
  EXPECT_EQ(line, "b");
  reader.next(line);
  EXPECT_TRUE(reader.atEnd());
  EXPECT_FALSE(reader.next(line));
  EXPECT_EQ(reader.lineNumber(), 3);
}

}  // namespace
}  // namespace vesk::core
