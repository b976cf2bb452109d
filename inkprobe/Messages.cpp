#include "inkprobe/Messages.h"

namespace pen {
namespace {

// Rows in TFinderMessage order. The Chinese rows were converted once with
// iconv -t CP936; the UTF-8 text stands in the comment above each piece.
constexpr TMessageText kEnglish[] = {
    {"wintab32.dll is in used by this application! ",
     "We will terminate\r\n",
     "\r\nafter you click OK!\r\n\r\nor close the application using Process Manager!"},
    {"wintab32.dll is in used by the following program, Setup fail! ",
     "Setup fail!\r\n\r\nWe can not terminate\r\n",
     "\r\n\r\nPlease terminate this program using Process Manager."},
    {"Important notice!",
     "This setup program needs to add a start up item.\r\n",
     "\r\nIf the antivirus software pops up a warning, please select Allow.\r\n\r\n"
     "Otherwise the graphic tablet may not work properly!"},
};

constexpr TMessageText kChinese[] = {
    // "wintab32.dll正被以下程序占用!"
    {"wintab32.dll\xD5\xFD\xB1\xBB\xD2\xD4\xCF\xC2\xB3\xCC\xD0\xF2\xD5\xBC\xD3\xC3!",
     // "在你点击确定按钮后将终止程序\r\n"
     "\xD4\xDA\xC4\xE3\xB5\xE3\xBB\xF7\xC8\xB7\xB6\xA8\xB0\xB4\xC5\xA5\xBA\xF3\xBD\xAB\xD6\xD5\xD6\xB9"
     "\xB3\xCC\xD0\xF2\r\n",
     // "\r\n\r\n或 打开任务管理器，手动关闭这个程序!"
     "\r\n\r\n\xBB\xF2 \xB4\xF2\xBF\xAA\xC8\xCE\xCE\xF1\xB9\xDC\xC0\xED\xC6\xF7\xA3\xAC\xCA\xD6\xB6\xAF"
     "\xB9\xD8\xB1\xD5\xD5\xE2\xB8\xF6\xB3\xCC\xD0\xF2!"},
    // "wintab32.dll仍然被以下程序占用, 安装无法完成!"
    {"wintab32.dll\xC8\xD4\xC8\xBB\xB1\xBB\xD2\xD4\xCF\xC2\xB3\xCC\xD0\xF2\xD5\xBC\xD3\xC3, "
     "\xB0\xB2\xD7\xB0\xCE\xDE\xB7\xA8\xCD\xEA\xB3\xC9!",
     // "安装失败！\r\n\r\n无法终止程序\r\n"
     "\xB0\xB2\xD7\xB0\xCA\xA7\xB0\xDC\xA3\xA1\r\n\r\n\xCE\xDE\xB7\xA8\xD6\xD5\xD6\xB9\xB3\xCC\xD0\xF2\r\n",
     // "\r\n\r\n请打开任务管理器, 手动关闭这个程序!"
     "\r\n\r\n\xC7\xEB\xB4\xF2\xBF\xAA\xC8\xCE\xCE\xF1\xB9\xDC\xC0\xED\xC6\xF7, "
     "\xCA\xD6\xB6\xAF\xB9\xD8\xB1\xD5\xD5\xE2\xB8\xF6\xB3\xCC\xD0\xF2!"},
    // "重要提示!"
    {"\xD6\xD8\xD2\xAA\xCC\xE1\xCA\xBE!",
     // "安装程序需要添加开机启动项目。"
     "\xB0\xB2\xD7\xB0\xB3\xCC\xD0\xF2\xD0\xE8\xD2\xAA\xCC\xED\xBC\xD3\xBF\xAA\xBB\xFA\xC6\xF4\xB6\xAF"
     "\xCF\xEE\xC4\xBF\xA1\xA3",
     // "\r\n\r\n如果杀毒软件弹出警告，请务必选择允许。\r\n\r\n否则数位板可能会无法正常工作！"
     "\r\n\r\n\xC8\xE7\xB9\xFB\xC9\xB1\xB6\xBE\xC8\xED\xBC\xFE\xB5\xAF\xB3\xF6\xBE\xAF\xB8\xE6\xA3\xAC"
     "\xC7\xEB\xCE\xF1\xB1\xD8\xD1\xA1\xD4\xF1\xD4\xCA\xD0\xED\xA1\xA3\r\n\r\n"
     "\xB7\xF1\xD4\xF2\xCA\xFD\xCE\xBB\xB0\xE5\xBF\xC9\xC4\xDC\xBB\xE1\xCE\xDE\xB7\xA8\xD5\xFD\xB3\xA3"
     "\xB9\xA4\xD7\xF7\xA3\xA1"},
};

}  // namespace

const TMessageText& FinderMessageText(TFinderMessage message, uint16_t langId) {
  const auto index = static_cast<unsigned>(message);
  return langId == kChineseLangId ? kChinese[index] : kEnglish[index];
}

}  // namespace pen
