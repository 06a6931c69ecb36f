#include <gtest/gtest.h>

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

}  // namespace
}  // namespace vesk::core
