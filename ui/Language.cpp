#include "ui/Language.h"

#include <algorithm>

#include "ui/TextFile.h"

namespace pen {

namespace {

// The built-in set. Slot 24 has no text of its own in the set; the button
// it labels would be blank, so it gets one.
constexpr std::u16string_view kBuiltIn[lan::kSlotCount] = {
    u"数位板连接在USB端口",
    u"没有找到数位板设备",
    u"数位板服务",
    u"(&O)关闭",
    u"(&N)官网",
    u"映射绘画范围到屏幕",
    u"显示器 ",
    u"全部显示器",
    u"设置",
    u"关闭服务",
    u"自定义功能按键",
    u"压感微调",
    u"硬",
    u"软",
    u"默认值",
    u"默认值",
    u"测试绘画区",
    u"清除笔迹",
    u" 使用Windows Ink功能",
    u" 开启手写识别功能",
    u"注意",
    u"退出该程序可能造成压感笔某些功能无法正常工作，是否继续退出？",
    u"此区域仅供测试用途,\r\n\r\n不是绘画软件.",
    u"不是绘画软件.",
    u"Key Define",
    u"按键编号",
    u"请拔掉 usb 连接器并再次连接 usb 以重置手写笔!",
    u"安卓模式",
    u"安卓模式旋转方向",
    u"注意：需要安卓4.4以上版本支持OTG的设备",
    u"当前板面旋转角度：",
    u"旋转角度",
    u"安卓设备需要关闭屏幕自动旋转功能",
    u"恢复默认",
    u"鼠标滚轮",
    u"笔刷粗细",
    u"画布缩放",
    u"画布旋转",
    u"禁用转轮",
    u"自定义键",
    u"撤销重做",
    u"音量控制",
    u"启用",
    u"工作模式",
    u"左手模式",
    u"不显示滚轮",
};

constexpr std::u16string_view kNoticeJoin = u"\r\n\r\n";

bool IsOneOf(uint16_t id, std::initializer_list<uint16_t> ids) {
  return std::find(ids.begin(), ids.end(), id) != ids.end();
}

}  // namespace

std::string_view LanguageNameFor(uint16_t id) {
  // Spanish of every region: primary language 0x0A, sublanguages 1..20.
  if ((id & 0x3FF) == 0x0A && id >= 0x0400 && id <= 0x500A) return "Spanish";
  if (IsOneOf(id, {0x080C, 0x0C0C, 0x040C, 0x140C, 0x180C, 0x100C})) return "French";
  if (id == 2052) return "SChinese";
  if (IsOneOf(id, {1028, 3076, 5124})) return "TChinese";
  if (id == 1041) return "Japanese";
  if (id == 1042) return "Korean";
  if (IsOneOf(id, {25, 35, 1049, 1059})) return "Russian";
  if (id == 1057) return "Indonesia";
  if (id == 1055) return "Turkish";
  return "English";
}

TLanguage::TLanguage(IIniFileSystem& iniFiles, IFileReader& files, const IAnsiCodePage& ansi,
                     std::string programFolder)
    : iniFiles_(iniFiles), files_(files), ansi_(ansi), folder_(std::move(programFolder)) {
  LoadBuiltInTexts();
}

std::string TLanguage::SetupFileName() const { return folder_ + std::string(kSetupFile); }

void TLanguage::LoadBuiltInTexts() {
  for (int k = 0; k < lan::kSlotCount; ++k) slots_[k] = kBuiltIn[k];
}

const std::u16string& TLanguage::Slot(int k) const {
  static const std::u16string kNone;
  return k >= 0 && k < lan::kSlotCount ? slots_[k] : kNone;
}

std::string TLanguage::Text(int id) const { return Utf8FromUtf16(Slot(id)); }

bool TLanguage::ReadLines(const std::string& fileName, std::vector<std::u16string>& lines) {
  std::string bytes;
  if (!files_.ReadAll(fileName, kMaxFileBytes, bytes)) return false;
  lines = SplitLines(DecodeTextFile(bytes, ansi_));
  return true;
}

std::vector<std::u16string> TLanguage::LanguageNames() {
  std::vector<std::u16string> names;
  ReadLines(folder_ + std::string(kNameFile), names);
  return names;
}

void TLanguage::LoadLanguageTexts(uint16_t uiLanguageId) {
  UserSelected = false;
  CurrentLanguage = lan::kDefaultIndex;
  const std::string_view name = LanguageNameFor(uiLanguageId);

  std::unique_ptr<IIniFile> setup = iniFiles_.Open(SetupFileName());
  if (!setup->Exists()) return LoadBuiltInTexts();
  const int32_t count = setup->ReadInteger("MainItem", "LanguagesCount", 0);
  const std::string languageFile = folder_ + setup->ReadString("MainItem", "LanFile", kDefaultLanguageFile);
  // A negative count is as good as none.
  if (count <= 0 || !files_.Exists(languageFile)) return LoadBuiltInTexts();

  UserSelected = setup->ReadInteger("MainItem", "UserSelectLanEnable", 0) != 0;
  CurrentLanguage = setup->ReadInteger("MainItem", "UserSelectLan", lan::kDefaultIndex);
  // A negative index is out of range too; it would address lines before the file.
  if (CurrentLanguage > count - 1 || CurrentLanguage < 0) {
    UserSelected = false;
    CurrentLanguage = lan::kDefaultIndex;
    setup->WriteInteger("MainItem", "UserSelectLan", lan::kDefaultIndex);
    setup->WriteInteger("MainItem", "UserSelectLanEnable", 0);
  }

  std::vector<std::u16string> lines;
  const bool readable = ReadLines(languageFile, lines);
  int32_t d = setup->ReadInteger("LanIndex", name, lan::kDefaultIndex);
  if (UserSelected) {
    d = CurrentLanguage;
  } else {
    CurrentLanguage = d;
  }
  // A file that does not hold the whole block would give a half-translated
  // window: the built-in set is used instead.
  const int64_t first = static_cast<int64_t>(d) * lan::kBlockLines;
  if (!readable || d < 0 || first + lan::kSlotCount > static_cast<int64_t>(lines.size())) {
    return LoadBuiltInTexts();
  }
  for (int k = 0; k < lan::kSlotCount; ++k) slots_[k] = lines[static_cast<size_t>(first + k)];
  slots_[lan::kNotice] = lines[static_cast<size_t>(first + 22)];
  slots_[lan::kNotice] += kNoticeJoin;
  slots_[lan::kNotice] += lines[static_cast<size_t>(first + 23)];
  if (slots_[lan::kKeyDefine].empty()) slots_[lan::kKeyDefine] = kBuiltIn[lan::kKeyDefine];
}

void TLanguage::SaveLanguageChoice(bool enabled) {
  std::unique_ptr<IIniFile> setup = iniFiles_.Open(SetupFileName());
  if (!setup->Exists()) return;
  setup->WriteInteger("MainItem", "UserSelectLanEnable", enabled ? 1 : 0);
  setup->WriteInteger("MainItem", "UserSelectLan", CurrentLanguage);
}

}  // namespace pen
