#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/serial_assembler.h"

namespace vesk::sim {
namespace {

struct AssemblyCase {
  const char* name;
  std::vector<std::string> chunks;
  std::vector<std::string> lines;
  std::string leftOver;
  int dropped = 0;
};
void PrintTo(const AssemblyCase& c, std::ostream* out) { *out << c.name; }

class SerialAssembly : public testing::TestWithParam<AssemblyCase> {};

TEST_P(SerialAssembly, LinesFromChunks) {
  const AssemblyCase& c = GetParam();
  SerialLineAssembler assembler;
  std::vector<std::string> lines;
  for (const std::string& chunk : c.chunks) {
    for (std::string& line : assembler.RxChar(chunk)) lines.push_back(std::move(line));
  }
  EXPECT_EQ(lines, c.lines);
  EXPECT_EQ(assembler.rxBuffer(), c.leftOver);
  EXPECT_EQ(assembler.droppedLines(), c.dropped);
}

const std::string k256(256, 'x');
const std::string k257(257, 'x');

INSTANTIATE_TEST_SUITE_P(
    Chunks, SerialAssembly,
    testing::Values(
        AssemblyCase{"chunkWithoutReturnThenOneWithIt", {"P1", "   \r"}, {"P1   "}, "", 0},
        AssemblyCase{"severalLinesInOneRead", {"P1   \rB2   \rN    \r"}, {"P1   ", "B2   ", "N    "}, "", 0},
        AssemblyCase{"restOfChunkStartsTheNextLine", {"P1   \rB2", "   \rP3"}, {"P1   ", "B2   "}, "P3", 0},
        AssemblyCase{"lineWithoutItsReturnWaits", {"P4   "}, {}, "P4   ", 0},
        AssemblyCase{"oneCharacterAtATime", {"B", "3", " ", " ", " ", "\r"}, {"B3   "}, "", 0},
        AssemblyCase{"crLfEndsOneLine", {"P1   \r\nP2   \r\n"}, {"P1   ", "P2   "}, "", 0},
        AssemblyCase{"lineFeedOfTheLineEndInTheNextChunk", {"P1   \r", "\nP2   \r"}, {"P1   ", "P2   "}, "", 0},
        AssemblyCase{"lineFeedElsewhereIsPartOfTheLine", {"\nP1\r"}, {"\nP1"}, "", 0},
        AssemblyCase{"emptyLines", {"\r\r"}, {"", ""}, "", 0},
        AssemblyCase{"lineOf256IsKept", {k256 + "\r"}, {k256}, "", 0},
        AssemblyCase{"lineOf257IsDroppedAndTheNextKept", {k257 + "\rP1   \r"}, {"P1   "}, "", 1},
        AssemblyCase{"longLineAcrossChunksDropped", {k256, k256, "xx", "\rN    \r"}, {"N    "}, "", 1},
        AssemblyCase{"longLineStillOpenHoldsNothing", {k257, k257}, {}, "", 1}),
    [](const testing::TestParamInfo<AssemblyCase>& info) { return std::string(info.param.name); });

TEST(SerialAssembly, NoiseWithoutReturnsKeepsTheBufferBounded) {
  SerialLineAssembler assembler;
  std::string noise(4096, '\0');
  for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>('!' + i % 90);
  std::size_t largest = 0;
  for (int i = 0; i < 256; ++i) {  // 1 MB
    EXPECT_TRUE(assembler.RxChar(noise).empty());
    largest = std::max(largest, assembler.rxBuffer().capacity());
  }
  EXPECT_LE(largest, 2 * SerialLineAssembler::kMaxLineLength);
  EXPECT_EQ(assembler.RxChar("\rP1   \r"), std::vector<std::string>{"P1   "});
}

TEST(SerialAssembly, ClearForgetsAnUnfinishedLine) {
  SerialLineAssembler assembler;
  assembler.RxChar("P1");
  assembler.clear();
  EXPECT_EQ(assembler.RxChar("B1   \r"), std::vector<std::string>{"B1   "});
}

}  // namespace
}  // namespace vesk::sim
