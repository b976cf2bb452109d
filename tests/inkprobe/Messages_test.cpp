#include "inkprobe/Messages.h"

#include <gtest/gtest.h>

#include <string>

#if !defined(_WIN32)
#include <iconv.h>
#endif

namespace pen {
namespace {

#if !defined(_WIN32)
std::string Join(const TMessageText& t) { return std::string(t.caption) + "|" + t.first + "|" + t.second; }

// Reads code page 936 text back as UTF-8, as a Chinese system shows it.
std::string Cp936ToUtf8(const std::string& in) {
  iconv_t cd = iconv_open("UTF-8", "CP936");
  if (cd == reinterpret_cast<iconv_t>(-1)) return "<no CP936 converter>";
  std::string out(in.size() * 4 + 4, '\0');
  char* src = const_cast<char*>(in.data());
  size_t srcLeft = in.size();
  char* dst = out.data();
  size_t dstLeft = out.size();
  const size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
  iconv_close(cd);
  if (r == static_cast<size_t>(-1)) return "<invalid CP936>";
  out.resize(out.size() - dstLeft);
  return out;
}

TEST(FinderMessages, ChineseTextsReadBackAsTheIntendedWordsInCodePage936) {
  EXPECT_EQ(Cp936ToUtf8(Join(FinderMessageText(TFinderMessage::InUse, kChineseLangId))),
            "wintab32.dll正被以下程序占用!|在你点击确定按钮后将终止程序\r\n|"
            "\r\n\r\n或 打开任务管理器，手动关闭这个程序!");
  EXPECT_EQ(Cp936ToUtf8(Join(FinderMessageText(TFinderMessage::TerminateFailed, kChineseLangId))),
            "wintab32.dll仍然被以下程序占用, 安装无法完成!|安装失败！\r\n\r\n无法终止程序\r\n|"
            "\r\n\r\n请打开任务管理器, 手动关闭这个程序!");
  EXPECT_EQ(Cp936ToUtf8(Join(FinderMessageText(TFinderMessage::StartupNotice, kChineseLangId))),
            "重要提示!|安装程序需要添加开机启动项目。|"
            "\r\n\r\n如果杀毒软件弹出警告，请务必选择允许。\r\n\r\n否则数位板可能会无法正常工作！");
}
#endif

TEST(FinderMessages, EveryLanguageOtherThan2052GetsEnglish) {
  for (uint16_t lang : {0, 1033, 2057, 1028, 2051, 2053}) {
    EXPECT_STREQ(FinderMessageText(TFinderMessage::InUse, lang).caption,
                 "wintab32.dll is in used by this application! ")
        << lang;
  }
}

TEST(FinderMessages, EnglishFailureTextKeepsItsBlankLinesAroundThePath) {
  const TMessageText& t = FinderMessageText(TFinderMessage::TerminateFailed, 1033);
  EXPECT_STREQ(t.first, "Setup fail!\r\n\r\nWe can not terminate\r\n");
  EXPECT_STREQ(t.second, "\r\n\r\nPlease terminate this program using Process Manager.");
}

}  // namespace
}  // namespace pen
