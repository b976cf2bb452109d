#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/FileReader.h"
#include "common/IniFile.h"
#include "service/LanguageTexts.h"
#include "ui/CodePage.h"

namespace pen {

// Slots of the text table, by what they hold.
namespace lan {
constexpr int kTabletFound = 0;
constexpr int kTabletNotFound = 1;
constexpr int kServiceName = 2;
constexpr int kOnline = 4;
constexpr int kScreenMapping = 5;
constexpr int kSettings = 8;
constexpr int kStopService = 9;
constexpr int kSelfDefinedKey = 10;
constexpr int kPressure = 11;
constexpr int kHard = 12;
constexpr int kSoft = 13;
constexpr int kKeyDefault = 14;
constexpr int kPressureDefault = 15;
constexpr int kTestDrawArea = 16;
constexpr int kClearImage = 17;
constexpr int kUseWindowsInk = 18;
constexpr int kStopCaption = 20;
constexpr int kStopText = 21;
constexpr int kNotice = 22;  // lines 22 and 23 of a block, joined
constexpr int kKeyDefine = 24;
constexpr int kButtonNumber = 25;
constexpr int kResetAll = 33;
constexpr int kLeftHandMode = 44;
constexpr int kSlotCount = 46;
constexpr int kBlockLines = 47;  // the last line of a block is not read
constexpr int kDefaultIndex = 2;
}  // namespace lan

// The name under which "LanSetup.ini" lists the language of a Windows UI
// language identifier ("English" for any identifier not in the table).
std::string_view LanguageNameFor(uint16_t uiLanguageId);

// The user-interface texts of the program: one table of 46 texts, filled from
// the language file of the program folder or from the built-in Simplified
// Chinese set. Main thread only.
class TLanguage final : public ILanguageTexts {
 public:
  static constexpr std::string_view kSetupFile = "LanSetup.ini";
  static constexpr std::string_view kDefaultLanguageFile = "TabletLan.txt";
  static constexpr std::string_view kNameFile = "LanName.txt";
  // Far beyond any language file; a larger file is not one.
  static constexpr size_t kMaxFileBytes = 4u << 20;

  // `programFolder` ends with a path separator. Starts with the built-in set.
  TLanguage(IIniFileSystem& iniFiles, IFileReader& files, const IAnsiCodePage& ansi, std::string programFolder);

  // Fills the table for the system UI language `uiLanguageId`, unless the
  // user's saved choice overrides it.
  void LoadLanguageTexts(uint16_t uiLanguageId);

  // Saves `enabled` and CurrentLanguage as the user's choice, when the setup
  // file exists (it is never created).
  void SaveLanguageChoice(bool enabled);

  // Every slot from the built-in set; CurrentLanguage stays as it is.
  void LoadBuiltInTexts();

  // Slot k; empty for a k outside the table.
  const std::u16string& Slot(int k) const;
  std::string Text(int id) const override;

  // The language names of "LanName.txt", line i naming language index i;
  // empty when the file is missing or unreadable.
  std::vector<std::u16string> LanguageNames();

  int CurrentLanguage = lan::kDefaultIndex;
  bool UserSelected = false;

 private:
  bool ReadLines(const std::string& fileName, std::vector<std::u16string>& lines);
  std::string SetupFileName() const;

  IIniFileSystem& iniFiles_;
  IFileReader& files_;
  const IAnsiCodePage& ansi_;
  std::string folder_;
  std::array<std::u16string, lan::kSlotCount> slots_;
};

}  // namespace pen
