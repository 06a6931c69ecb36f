#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "core/sjis.h"

namespace vesk::core {
namespace {

TEST(Sjis, DecodesJapanese) {
  // "運転台" in CP932.
  EXPECT_EQ(sjisToUtf8("\x89\x5E\x93\x5D\x91\xE4"), "運転台");
  EXPECT_EQ(utf8ToSjis("運転台"), "\x89\x5E\x93\x5D\x91\xE4");
}

TEST(Sjis, KeepsAsciiAndBackslash) {
  EXPECT_EQ(sjisToUtf8("image\\panel.bmp"), "image\\panel.bmp");
  // NEC special characters exist in CP932 (not in plain Shift_JIS): circled one.
  EXPECT_EQ(sjisToUtf8("\x87\x40"), "①");
}

TEST(Sjis, InvalidBytesBecomeReplacementCharacters) {
  EXPECT_EQ(sjisToUtf8("a\x85\x40z"), "a\xEF\xBF\xBD@z");
  // A lead byte at the very end has no trail byte.
  EXPECT_EQ(sjisToUtf8("ab\x89"), "ab\xEF\xBF\xBD");
}

TEST(Sjis, TrailByteBackslashStaysPartOfTheCharacter) {
  // "表" is 0x95 0x5C: its trail byte is a backslash in ASCII.
  EXPECT_EQ(sjisToUtf8("sound\\\x95\x5C.wav"), "sound\\表.wav");
}

struct EncodingCase {
  const char* name;
  std::string bytes;
  bool utf8InsteadOfSjis;
};

void PrintTo(const EncodingCase& testCase, std::ostream* out) { *out << testCase.name; }

class EncodingTest : public testing::TestWithParam<EncodingCase> {};

TEST_P(EncodingTest, TellsAUtf8FileFromAShiftJisOne) {
  EXPECT_EQ(isUtf8InsteadOfSjis(GetParam().bytes), GetParam().utf8InsteadOfSjis);
}

INSTANTIATE_TEST_SUITE_P(Files, EncodingTest,
                         testing::Values(EncodingCase{"ascii", "[LineName]\r\nline\r\n", false},
                                         EncodingCase{"sjis", "[LineName]\r\n\x89\x5E\x93\x5D\x91\xE4\r\n", false},
                                         EncodingCase{"utf8", "[LineName]\r\n運転台の線\r\nimage\\表示.bmp\r\n", true},
                                         EncodingCase{"utf8WithMark", "\xEF\xBB\xBF[LineName]\r\n港湾線\r\n", true},
                                         // Broken bytes are neither: the reader's replacement characters say enough.
                                         EncodingCase{"neither", "\x85\x40\xFF", false},
                                         EncodingCase{"overlongUtf8", "\xC0\xAF\xE0\x80\xAF", false}),
                         [](const testing::TestParamInfo<EncodingCase>& info) { return std::string(info.param.name); });

TEST(Sjis, Utf8ValidityRefusesMalformedSequences) {
  EXPECT_TRUE(isValidUtf8("港湾線 ok"));
  EXPECT_FALSE(isValidUtf8("\xE6\xB8"));          // truncated
  EXPECT_FALSE(isValidUtf8("\xED\xA0\x80"));      // a surrogate
  EXPECT_FALSE(isValidUtf8("\xF4\x90\x80\x80"));  // beyond U+10FFFF
  EXPECT_TRUE(isValidCp932("\x89\x5E\x93\x5D"));
  EXPECT_FALSE(isValidCp932("ab\x89"));
}

}  // namespace
}  // namespace vesk::core
