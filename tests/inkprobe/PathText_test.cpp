#include "inkprobe/PathText.h"

#include <gtest/gtest.h>

namespace pen {
namespace {

TEST(PathText, LowerCaseChangesOnlyAsciiLettersSoDoubleByteTrailBytesSurvive) {
  EXPECT_EQ(AsciiLower("C:\\Program Files\\INK\\WisPTis.EXE"), "c:\\program files\\ink\\wisptis.exe");
  // 0xB0 0x41 is one code page 936 character whose trail byte is 'A'.
  EXPECT_EQ(AsciiLower("\xB0\x41"), "\xB0\x61");  // byte-wise lowering, used for matching only
  EXPECT_EQ(AsciiLower("\xC8\xD4!"), "\xC8\xD4!");
}

TEST(PathText, FileNameIsTheTextAfterTheLastSeparatorOrDrive) {
  EXPECT_EQ(FileNameOf("C:\\Apps\\paint.exe"), "paint.exe");
  EXPECT_EQ(FileNameOf("C:/Apps/paint.exe"), "paint.exe");
  EXPECT_EQ(FileNameOf("C:paint.exe"), "paint.exe");
  EXPECT_EQ(FileNameOf("paint.exe"), "paint.exe");
  EXPECT_EQ(FileNameOf("C:\\Apps\\"), "");
  EXPECT_EQ(FileNameOf(""), "");
}

TEST(PathText, NamesCompareWithoutRegardToAsciiCaseButWholly) {
  EXPECT_TRUE(EqualsIgnoringAsciiCase("Paint.EXE", "paint.exe"));
  EXPECT_FALSE(EqualsIgnoringAsciiCase("paint.exe", "paint.exe.bak"));
  EXPECT_FALSE(EqualsIgnoringAsciiCase("paint.exe", "paint.ex_"));
  EXPECT_TRUE(EqualsIgnoringAsciiCase("", ""));
}

}  // namespace
}  // namespace pen
