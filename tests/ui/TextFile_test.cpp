#include <gtest/gtest.h>

#include "ui/TextFile.h"

namespace pen {
namespace {

TEST(TextFile, LinesEndWithCrLfOrCrLfAndAFinalEndAddsNoLine) {
  EXPECT_EQ(SplitLines(u"a\r\nb\rc\nd"), (std::vector<std::u16string>{u"a", u"b", u"c", u"d"}));
  EXPECT_EQ(SplitLines(u"a\r\n"), (std::vector<std::u16string>{u"a"}));
  EXPECT_EQ(SplitLines(u"a\n\r\nb\r\r"), (std::vector<std::u16string>{u"a", u"", u"b", u""}));
  EXPECT_TRUE(SplitLines(u"").empty());
}

TEST(TextFile, TheByteOrderMarkChoosesTheEncoding) {
  TCodePage1252 ansi;
  EXPECT_EQ(DecodeTextFile(std::string("\xFF\xFE" "A\0\x2D\x4E", 6), ansi), u"A中");
  EXPECT_EQ(DecodeTextFile(std::string("\xFE\xFF" "\0A\x4E\x2D", 6), ansi), u"A中");
  EXPECT_EQ(DecodeTextFile("\xEF\xBB\xBF" "A\xE4\xB8\xAD", ansi), u"A中");
  // Without a mark the same UTF-8 bytes are code page text.
  EXPECT_EQ(DecodeTextFile("A\xE4\xB8\xAD", ansi), u"A\u00E4\u00B8\u00AD");
  EXPECT_EQ(DecodeTextFile("\x80\x9F\xFF", ansi), u"\u20AC\u0178\u00FF");
}

TEST(TextFile, BrokenTextDecodesWithoutReadingPastTheEnd) {
  TCodePage1252 ansi;
  // An odd last byte of UTF-16 is dropped; a mark alone is an empty text.
  EXPECT_EQ(DecodeTextFile(std::string("\xFF\xFE" "A\0B", 5), ansi), u"A");
  EXPECT_EQ(DecodeTextFile("\xFF\xFE", ansi), u"");
  // Cut, overlong, surrogate and stray bytes each become U+FFFD.
  EXPECT_EQ(Utf16FromUtf8("\xE4\xB8"), u"\uFFFD\uFFFD");
  EXPECT_EQ(Utf16FromUtf8("\xC0\x80x"), u"\uFFFD\uFFFDx");
  EXPECT_EQ(Utf16FromUtf8("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");
  EXPECT_EQ(Utf16FromUtf8("\x80\xFF"), u"\uFFFD\uFFFD");
  EXPECT_EQ(Utf16FromUtf8("\xF4\x90\x80\x80"), u"\uFFFD\uFFFD\uFFFD\uFFFD");
}

TEST(TextFile, Utf8AndUtf16RoundTripBeyondTheBasicPlane) {
  const std::string s = "Key \xF0\x9F\x96\x8A \xE4\xB8\xAD \xC3\xA9";
  const std::u16string w = Utf16FromUtf8(s);
  EXPECT_EQ(w.size(), 10u);  // the pen is a surrogate pair
  EXPECT_EQ(Utf8FromUtf16(w), s);
  EXPECT_EQ(Utf8FromUtf16(u"\xD800x"), "\xEF\xBF\xBDx");
}

}  // namespace
}  // namespace pen
