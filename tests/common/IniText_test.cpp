#include "common/IniText.h"

#include <gtest/gtest.h>

#include "common/IniValue.h"

namespace pen {
namespace {

// ---- the integer reading rule ---------------------------------------------

TEST(IniInteger, DecimalAndSignedValuesAreNumbers) {
  EXPECT_EQ(ParseIniInteger("4095"), 4095);
  EXPECT_EQ(ParseIniInteger("-7"), -7);
  EXPECT_EQ(ParseIniInteger("+12"), 12);
  EXPECT_EQ(ParseIniInteger("007"), 7) << "leading zeros are not octal";
  EXPECT_EQ(ParseIniInteger("  42\t"), 42);
  EXPECT_EQ(ParseIniInteger("2147483647"), INT32_MAX);
  EXPECT_EQ(ParseIniInteger("-2147483648"), INT32_MIN);
}

TEST(IniInteger, HexadecimalTakesAllThirtyTwoBits) {
  EXPECT_EQ(ParseIniInteger("0x10"), 16);
  EXPECT_EQ(ParseIniInteger("0XfF"), 255);
  EXPECT_EQ(ParseIniInteger("-0x10"), -16);
  EXPECT_EQ(ParseIniInteger("0xFFFFFFFF"), -1);
  EXPECT_EQ(ParseIniInteger("0x100000000"), std::nullopt);
}

TEST(IniInteger, AnythingElseIsNotANumber) {
  for (const char* text : {"", "   ", "-", "+", "abc", "12abc", "1.5", "1 2", "0x", "0xG1", "--1",
                           "2147483648", "-2147483649", "99999999999999999999999", "\x01"})
    EXPECT_EQ(ParseIniInteger(text), std::nullopt) << '"' << text << '"';
}

// ---- finding a value -------------------------------------------------------

TEST(IniFind, MissingSectionOrKeyFindsNothing) {
  const std::string_view text = "[A]\nx=1\n";
  EXPECT_EQ(FindIniValue(text, "B", "x"), std::nullopt);
  EXPECT_EQ(FindIniValue(text, "A", "y"), std::nullopt);
  EXPECT_EQ(FindIniValue("", "A", "x"), std::nullopt);
  EXPECT_EQ(FindIniValue("x=1\n[A]\n", "A", "x"), std::nullopt) << "keys before a section belong to none";
}

TEST(IniFind, KeysBelongToTheSectionAboveThem) {
  const std::string_view text = "[A]\nx=1\n[B]\nx=2\ny=3\n";
  EXPECT_EQ(FindIniValue(text, "A", "x"), "1");
  EXPECT_EQ(FindIniValue(text, "B", "x"), "2");
  EXPECT_EQ(FindIniValue(text, "A", "y"), std::nullopt);
}

TEST(IniFind, OnlyTheFirstSectionAndKeyOfANameCount) {
  const std::string_view text = "[A]\nx=1\nx=9\n[a]\nx=2\ny=3\n";
  EXPECT_EQ(FindIniValue(text, "A", "x"), "1");
  EXPECT_EQ(FindIniValue(text, "A", "y"), std::nullopt);
}

TEST(IniFind, QuotesAroundAValueAreDropped) {
  EXPECT_EQ(FindIniValue("[A]\nx=\"5\"\n", "A", "x"), "5");
  EXPECT_EQ(FindIniValue("[A]\nx='5'\n", "A", "x"), "5");
  EXPECT_EQ(FindIniValue("[A]\nx=\"5'\n", "A", "x"), "\"5'");
  EXPECT_EQ(FindIniValue("[A]\nx=\"\n", "A", "x"), "\"");
}

TEST(IniFind, OddLinesAreReadSensibly) {
  EXPECT_EQ(FindIniValue("[A]\nx\n", "A", "x"), "") << "a key without '=' has an empty value";
  EXPECT_EQ(FindIniValue("[A]\nx=a=b\n", "A", "x"), "a=b");
  EXPECT_EQ(FindIniValue("[A\nx=1", "A", "x"), "1") << "unclosed header, no final line end";
  EXPECT_EQ(FindIniValue("[A]\n;x=1\n", "A", "x"), std::nullopt) << "comment";
  EXPECT_EQ(FindIniValue("\xEF\xBB\xBF[A]\r\nx=1\r\n", "A", "x"), "1") << "byte order mark";
  EXPECT_EQ(FindIniValue("[A]\r\nx=1\r", "A", "x"), "1");
}

// ---- changing a value ------------------------------------------------------

TEST(IniSet, AnExistingValueChangesInPlaceAndNothingElseMoves) {
  const std::string text = "; top\r\n[A]\r\n  Key = 1 ; note\r\nother=2\r\n\r\n[B]\r\nKey=3\r\n";
  EXPECT_EQ(SetIniValue(text, "a", "KEY", "77"),
            "; top\r\n[A]\r\n  Key=77\r\nother=2\r\n\r\n[B]\r\nKey=3\r\n");
}

TEST(IniSet, ANewKeyGoesAfterTheLastEntryOfItsSection) {
  EXPECT_EQ(SetIniValue("[A]\nx=1\n\n; about B\n[B]\ny=2\n", "A", "z", "5"),
            "[A]\nx=1\nz=5\n\n; about B\n[B]\ny=2\n");
  EXPECT_EQ(SetIniValue("[A]\n[B]\n", "A", "z", "5"), "[A]\nz=5\n[B]\n");
  EXPECT_EQ(SetIniValue("[A]\r\nx=1", "A", "z", "5"), "[A]\r\nx=1\r\nz=5\r\n");
}

TEST(IniSet, ANewSectionGoesAtTheEndInTheFilesLineEnding) {
  EXPECT_EQ(SetIniValue("", "A", "x", "1"), "[A]\r\nx=1\r\n");
  EXPECT_EQ(SetIniValue("[B]\ny=2", "A", "x", "1"), "[B]\ny=2\n[A]\nx=1\n");
  EXPECT_EQ(SetIniValue("[B]\r\ny=2\r\n", "A", "x", "1"), "[B]\r\ny=2\r\n[A]\r\nx=1\r\n");
}

TEST(IniSet, AByteOrderMarkAndLaterDuplicatesAreKept) {
  const std::string text = "\xEF\xBB\xBF[A]\nx=1\n[A]\nx=2\n";
  EXPECT_EQ(SetIniValue(text, "A", "x", "3"), "\xEF\xBB\xBF[A]\nx=3\n[A]\nx=2\n");
}

}  // namespace
}  // namespace pen
