#include <gtest/gtest.h>

#include "FormAFakes.h"
#include "ui/TextFile.h"

namespace pen::test {
namespace {

// A language file of `blocks` languages whose text k of language d reads
// "<prefix> d.k", written in UTF-8 here and converted by the tests.
std::u16string LanguageText(int blocks, const std::u16string& prefix = u"Text") {
  std::u16string text;
  for (int d = 0; d < blocks; ++d) {
    for (int k = 0; k < lan::kBlockLines; ++k) {
      text += prefix + u" " + Utf16FromUtf8(std::to_string(d) + "." + std::to_string(k)) + u"\r\n";
    }
  }
  return text;
}

std::string Utf16Le(const std::u16string& s, bool mark = true) {
  std::string out = mark ? "\xFF\xFE" : "";
  for (char16_t c : s) {
    out.push_back(static_cast<char>(c & 0xFF));
    out.push_back(static_cast<char>(c >> 8));
  }
  return out;
}

std::string Utf16Be(const std::u16string& s) {
  std::string out = "\xFE\xFF";
  for (char16_t c : s) {
    out.push_back(static_cast<char>(c >> 8));
    out.push_back(static_cast<char>(c & 0xFF));
  }
  return out;
}

std::string SetupFile(int count, int userLanguage = 2, bool userSelected = false) {
  return "[MainItem]\r\nLanFile=TabletLan.txt\r\nLanguagesCount=" + std::to_string(count) +
         "\r\nUserSelectLanEnable=" + (userSelected ? "1" : "0") + "\r\nUserSelectLan=" +
         std::to_string(userLanguage) + "\r\n[LanIndex]\r\nEnglish=0\r\nSpanish=1\r\nRussian=3\r\n";
}

class Language : public ::testing::Test {
 protected:
  ProgramFolder folder;
  PortableIniFileSystem ini;
  PortableFileReader files;
  TCodePage1252 ansi;
  TLanguage lang{ini, files, ansi, folder.Name()};
};

TEST_F(Language, WithoutASetupFileTheBuiltInChineseTextsAndIndex2AreUsed) {
  folder.Write("TabletLan.txt", "\xEF\xBB\xBF" + Utf8FromUtf16(LanguageText(4)));
  lang.LoadLanguageTexts(0x0409);
  EXPECT_EQ(lang.CurrentLanguage, 2);
  EXPECT_FALSE(lang.UserSelected);
  EXPECT_EQ(lang.Text(2), "数位板服务");
  EXPECT_EQ(lang.Text(8), "设置");
  EXPECT_EQ(lang.Text(9), "关闭服务");
  EXPECT_EQ(lang.Text(20), "注意");
  EXPECT_EQ(lang.Text(21), "退出该程序可能造成压感笔某些功能无法正常工作，是否继续退出？");
  EXPECT_EQ(lang.Text(44), "左手模式");
  EXPECT_EQ(lang.Text(24), "Key Define");
  EXPECT_EQ(lang.Text(46), "");
  EXPECT_EQ(lang.Text(-1), "");
}

TEST_F(Language, ADisabledSetupOrAMissingLanguageFileFallsBackToTheBuiltInTexts) {
  folder.Write("LanSetup.ini", SetupFile(0));
  folder.Write("TabletLan.txt", "\xEF\xBB\xBF" + Utf8FromUtf16(LanguageText(4)));
  lang.LoadLanguageTexts(0x0409);
  EXPECT_EQ(lang.Text(0), "数位板连接在USB端口");
  folder.Write("LanSetup.ini", SetupFile(4));
  std::filesystem::remove(folder.File("TabletLan.txt"));
  lang.LoadLanguageTexts(0x0409);
  EXPECT_EQ(lang.Text(0), "数位板连接在USB端口");
  EXPECT_EQ(lang.CurrentLanguage, 2);
}

TEST_F(Language, TheSystemLanguagePicksItsBlockThroughLanIndex) {
  folder.Write("LanSetup.ini", SetupFile(4));
  folder.Write("TabletLan.txt", "\xEF\xBB\xBF" + Utf8FromUtf16(LanguageText(4)));
  lang.LoadLanguageTexts(0x080A);  // Mexican Spanish
  EXPECT_EQ(lang.CurrentLanguage, 1);
  EXPECT_EQ(lang.Text(0), "Text 1.0");
  EXPECT_EQ(lang.Text(45), "Text 1.45");
  lang.LoadLanguageTexts(1059);  // Belarusian
  EXPECT_EQ(lang.CurrentLanguage, 3);
  lang.LoadLanguageTexts(0x0407);  // German: not listed, so English
  EXPECT_EQ(lang.CurrentLanguage, 0);
  lang.LoadLanguageTexts(1041);  // Japanese: no LanIndex entry, so 2
  EXPECT_EQ(lang.CurrentLanguage, 2);
  EXPECT_EQ(lang.Text(5), "Text 2.5");
}

TEST_F(Language, TheNoticeJoinsItsTwoLinesAndAnEmptyKeyDefineGetsItsText) {
  std::u16string text = LanguageText(1);
  const size_t at = text.find(u"Text 0.24");
  text.erase(at, 9);  // line 24 left empty
  folder.Write("LanSetup.ini", SetupFile(1, 0, true));
  folder.Write("TabletLan.txt", Utf16Le(text));
  lang.LoadLanguageTexts(0x0409);
  EXPECT_EQ(lang.Slot(lan::kNotice), u"Text 0.22\r\n\r\nText 0.23");
  EXPECT_EQ(lang.Slot(23), u"Text 0.23");
  EXPECT_EQ(lang.Slot(lan::kKeyDefine), u"Key Define");
}

TEST_F(Language, AUserIndexBeyondTheLanguagesIsRepairedInTheFile) {
  folder.Write("LanSetup.ini", SetupFile(3, 5, true));
  folder.Write("TabletLan.txt", "\xEF\xBB\xBF" + Utf8FromUtf16(LanguageText(3)));
  lang.LoadLanguageTexts(1041);  // a system language without a LanIndex entry
  EXPECT_FALSE(lang.UserSelected);
  EXPECT_EQ(lang.CurrentLanguage, 2);
  EXPECT_EQ(lang.Text(0), "Text 2.0");
  auto setup = ini.Open(folder.File("LanSetup.ini"));
  EXPECT_EQ(setup->ReadInteger("MainItem", "UserSelectLan", -1), 2);
  EXPECT_EQ(setup->ReadInteger("MainItem", "UserSelectLanEnable", -1), 0);
  // A negative index is just as far out.
  folder.Write("LanSetup.ini", SetupFile(3, -1, true));
  lang.LoadLanguageTexts(0x0409);
  EXPECT_EQ(ini.Open(folder.File("LanSetup.ini"))->ReadInteger("MainItem", "UserSelectLan", -1), 2);
}

TEST_F(Language, TheUsersChoiceOverridesTheSystemLanguageAndIsSavedOnlyIntoAnExistingFile) {
  lang.CurrentLanguage = 1;
  lang.SaveLanguageChoice(true);
  EXPECT_FALSE(std::filesystem::exists(folder.File("LanSetup.ini")));

  folder.Write("LanSetup.ini", SetupFile(4));
  folder.Write("TabletLan.txt", "\xEF\xBB\xBF" + Utf8FromUtf16(LanguageText(4)));
  lang.CurrentLanguage = 3;
  lang.SaveLanguageChoice(true);
  lang.LoadLanguageTexts(0x080A);  // Spanish system, user chose 3
  EXPECT_TRUE(lang.UserSelected);
  EXPECT_EQ(lang.CurrentLanguage, 3);
  EXPECT_EQ(lang.Text(1), "Text 3.1");
  lang.SaveLanguageChoice(false);
  lang.LoadLanguageTexts(0x080A);
  EXPECT_EQ(lang.CurrentLanguage, 1);
}

TEST_F(Language, EveryEncodingGivesTheSameTexts) {
  const std::u16string text = LanguageText(2, u"Configuración Paramètres €");
  folder.Write("LanSetup.ini", SetupFile(2, 1, true));
  std::vector<std::u16string> seen;
  std::string ansi;
  for (char16_t c : text) ansi.push_back(c == u'€' ? '\x80' : static_cast<char>(c));  // code page 1252
  for (const std::string& bytes :
       {Utf16Le(text), Utf16Be(text), "\xEF\xBB\xBF" + Utf8FromUtf16(text), ansi}) {
    folder.Write("TabletLan.txt", bytes);
    lang.LoadLanguageTexts(0x0409);
    seen.push_back(lang.Slot(30));
  }
  for (const auto& s : seen) EXPECT_EQ(s, u"Configuración Paramètres € 1.30");
}

TEST_F(Language, AFileEndingInsideTheChosenBlockGivesTheBuiltInSetAsAWhole) {
  std::u16string text = LanguageText(2);
  text.resize(text.find(u"Text 1.45"));  // block 1 lacks its last text
  folder.Write("LanSetup.ini", SetupFile(2, 1, true));
  folder.Write("TabletLan.txt", Utf16Le(text));
  lang.LoadLanguageTexts(0x0409);
  EXPECT_EQ(lang.Text(0), "数位板连接在USB端口");
  EXPECT_EQ(lang.Text(44), "左手模式");
  // The block's unread 47th line may be missing.
  text = LanguageText(2);
  text.resize(text.find(u"Text 1.46"));
  folder.Write("TabletLan.txt", Utf16Le(text));
  lang.LoadLanguageTexts(0x0409);
  EXPECT_EQ(lang.Text(45), "Text 1.45");
}

TEST_F(Language, TheNameListFillsFromLanNameInAnyEncoding) {
  EXPECT_TRUE(lang.LanguageNames().empty());
  folder.Write("LanName.txt", Utf16Le(u"English\r\n简体中文\r\nEspañol"));
  EXPECT_EQ(lang.LanguageNames(), (std::vector<std::u16string>{u"English", u"简体中文", u"Español"}));
}

TEST(LanguageName, SystemLanguagesMapToTheirLanIndexNames) {
  for (uint16_t n = 1; n <= 20; ++n) EXPECT_EQ(LanguageNameFor(0x0400 * n + 0x0A), "Spanish") << n;
  EXPECT_EQ(LanguageNameFor(0x000A), "English");
  EXPECT_EQ(LanguageNameFor(0x540A), "English");
  for (uint16_t id : {0x080C, 0x0C0C, 0x040C, 0x140C, 0x180C, 0x100C}) EXPECT_EQ(LanguageNameFor(id), "French");
  EXPECT_EQ(LanguageNameFor(0x080C + 0x0400 * 5), "English");
  EXPECT_EQ(LanguageNameFor(2052), "SChinese");
  for (uint16_t id : {1028, 3076, 5124}) EXPECT_EQ(LanguageNameFor(id), "TChinese");
  EXPECT_EQ(LanguageNameFor(1041), "Japanese");
  EXPECT_EQ(LanguageNameFor(1042), "Korean");
  for (uint16_t id : {25, 35, 1049, 1059}) EXPECT_EQ(LanguageNameFor(id), "Russian");
  EXPECT_EQ(LanguageNameFor(1057), "Indonesia");
  EXPECT_EQ(LanguageNameFor(1055), "Turkish");
  EXPECT_EQ(LanguageNameFor(0x0409), "English");
  EXPECT_EQ(LanguageNameFor(0x0407), "English");
}

// The files the build puts beside the program.
TEST(ShippedLanguageFiles, GiveEnglishOnAnEnglishSystemAndChineseOnAChineseOne) {
  const std::string dir = std::string(PEN_UI_SOURCE_DIR) + "/lang/";
  PortableIniFileSystem ini;
  PortableFileReader files;
  TCodePage1252 ansi;
  // A copy, because a repaired index would be written back.
  ProgramFolder folder;
  for (const char* f : {"LanSetup.ini", "TabletLan.txt", "LanName.txt"}) {
    std::string bytes;
    ASSERT_TRUE(files.ReadAll(dir + f, 1 << 20, bytes)) << f;
    folder.Write(f, bytes);
  }
  TLanguage lang(ini, files, ansi, folder.Name());
  lang.LoadLanguageTexts(0x0409);
  EXPECT_EQ(lang.CurrentLanguage, 0);
  EXPECT_EQ(lang.Text(44), "Left Hand Mode");
  EXPECT_EQ(lang.Text(18), " Use Windows Ink");
  lang.LoadLanguageTexts(2052);
  EXPECT_EQ(lang.Text(44), "左手模式");
  lang.LoadLanguageTexts(3076);
  EXPECT_EQ(lang.Text(44), "左手模式");
  EXPECT_EQ(lang.Text(2), "繪圖板服務");
  const auto names = lang.LanguageNames();
  ASSERT_EQ(names.size(), 6u);
  EXPECT_EQ(names[2], u"简体中文");
  // Every block is whole.
  for (int d = 0; d < 6; ++d) {
    lang.CurrentLanguage = d;
    lang.SaveLanguageChoice(true);
    lang.LoadLanguageTexts(0x0409);
    EXPECT_EQ(lang.CurrentLanguage, d);
    EXPECT_NE(lang.Text(0), "数位板连接在USB端口") << d;
    EXPECT_FALSE(lang.Text(45).empty()) << d;
  }
}

}  // namespace
}  // namespace pen::test
