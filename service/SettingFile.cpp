#include "service/SettingFile.h"

namespace pen {

namespace {

constexpr std::string_view kMainItem = "MainItem";
constexpr std::string_view kMapping = "Mapping";

// Computed wide: a hostile Left near the top of the 32-bit range must fail
// the test instead of wrapping round and passing it.
bool RectFits(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  return right <= TSettingFile::kMapMax && int64_t{right} >= int64_t{left} + TSettingFile::kMinSpan &&
         bottom <= TSettingFile::kMapMax && int64_t{bottom} >= int64_t{top} + TSettingFile::kMinSpan;
}

}  // namespace

const std::string_view TSettingFile::kDefaultFileText =
    "[MainItem]\r\n"
    "InkMode=1\r\n"
    "Smoothness=0\r\n"
    "LeftHandMode=0\r\n"
    "[Mapping]\r\n"
    "ScreenMapLeft=0\r\n"
    "ScreenMapTop=0\r\n"
    "ScreenMapRight=4095\r\n"
    "ScreenMapBottom=4095\r\n"
    "TabletMapLeft=0\r\n"
    "TabletMapTop=0\r\n"
    "TabletMapRight=4095\r\n"
    "TabletMapBottom=4095\r\n";

TSettingFile::TSettingFile(IIniFileSystem& files, IAppFolders& folders, int windowsMajorVersion)
    : FFiles(files), FFolders(folders), FWindowsMajorVersion(windowsMajorVersion) {
  const std::string userFile = UserFileName();
  // A file in the user's folder exists only because the program's folder
  // could not be written; it holds the newer settings.
  if (!userFile.empty()) {
    auto ini = FFiles.Open(userFile);
    if (ini->Exists()) {
      FIni = std::move(ini);
      FFileName = userFile;
    }
  }
  if (!FIni) {
    UseFile(FFolders.ProgramFolder() + std::string(kFileTitle));
    if (!FIni->Exists() && !FIni->WriteWholeFile(kDefaultFileText) && !userFile.empty() &&
        FFiles.MakeFolder(FFolders.UserFolder())) {
      auto ini = FFiles.Open(userFile);
      if (ini->WriteWholeFile(kDefaultFileText)) {
        FIni = std::move(ini);
        FFileName = userFile;
      }
    }
    // Written nowhere: the factory values below still apply, and the next
    // Write tries both folders again.
  }
  Read();
}

void TSettingFile::Read() {
  const IIniFile& ini = *FIni;
  InkMode = ini.ReadInteger(kMainItem, "InkMode", 1);
  LeftHandMode = ini.ReadInteger(kMainItem, "LeftHandMode", 0);
  Smoothness = ini.ReadInteger(kMainItem, "Smoothness", 0);
  ScreenMapLeft = ini.ReadInteger(kMapping, "ScreenMapLeft", 0);
  ScreenMapTop = ini.ReadInteger(kMapping, "ScreenMapTop", 0);
  ScreenMapRight = ini.ReadInteger(kMapping, "ScreenMapRight", kMapMax);
  ScreenMapBottom = ini.ReadInteger(kMapping, "ScreenMapBottom", kMapMax);
  TabletMapLeft = ini.ReadInteger(kMapping, "TabletMapLeft", 0);
  TabletMapTop = ini.ReadInteger(kMapping, "TabletMapTop", 0);
  TabletMapRight = ini.ReadInteger(kMapping, "TabletMapRight", kMapMax);
  TabletMapBottom = ini.ReadInteger(kMapping, "TabletMapBottom", kMapMax);
  Validate();
}

void TSettingFile::Validate() {
  if (InkMode > 1) InkMode = 1;
  if (LeftHandMode > 1) LeftHandMode = 0;
  if (Smoothness > 3) Smoothness = 0;
  if (FWindowsMajorVersion < 6) InkMode = 1;  // no Windows Ink before Vista
  // One bad rectangle discards every setting, not just itself: stored files
  // and the settings window expect the whole set back at factory values.
  if (!RectFits(ScreenMapLeft, ScreenMapTop, ScreenMapRight, ScreenMapBottom) ||
      !RectFits(TabletMapLeft, TabletMapTop, TabletMapRight, TabletMapBottom))
    ResetToDefaults();
}

void TSettingFile::ResetToDefaults() {
  InkMode = 1;
  LeftHandMode = 0;
  Smoothness = 0;
  ScreenMapLeft = ScreenMapTop = 0;
  ScreenMapRight = ScreenMapBottom = kMapMax;
  TabletMapLeft = TabletMapTop = 0;
  TabletMapRight = TabletMapBottom = kMapMax;
}

bool TSettingFile::Write() {
  if (WriteTo(*FIni)) return true;
  // The program's folder cannot be written (a protected install folder, a
  // read-only medium): keep the settings in the user's own folder, which is
  // read first from now on.
  const std::string userFile = UserFileName();
  if (userFile.empty() || userFile == FFileName || !FFiles.MakeFolder(FFolders.UserFolder()))
    return false;
  auto ini = FFiles.Open(userFile);
  if (!WriteTo(*ini)) return false;
  FIni = std::move(ini);
  FFileName = userFile;
  return true;
}

bool TSettingFile::WriteTo(IIniFile& ini) {
  return ini.WriteInteger(kMainItem, "InkMode", InkMode) &&
         ini.WriteInteger(kMainItem, "LeftHandMode", LeftHandMode) &&
         ini.WriteInteger(kMainItem, "Smoothness", Smoothness) &&
         ini.WriteInteger(kMapping, "ScreenMapLeft", ScreenMapLeft) &&
         ini.WriteInteger(kMapping, "ScreenMapTop", ScreenMapTop) &&
         ini.WriteInteger(kMapping, "ScreenMapRight", ScreenMapRight) &&
         ini.WriteInteger(kMapping, "ScreenMapBottom", ScreenMapBottom) &&
         ini.WriteInteger(kMapping, "TabletMapLeft", TabletMapLeft) &&
         ini.WriteInteger(kMapping, "TabletMapTop", TabletMapTop) &&
         ini.WriteInteger(kMapping, "TabletMapRight", TabletMapRight) &&
         ini.WriteInteger(kMapping, "TabletMapBottom", TabletMapBottom);
}

void TSettingFile::UseFile(const std::string& fileName) {
  FIni = FFiles.Open(fileName);
  FFileName = fileName;
}

std::string TSettingFile::UserFileName() {
  const std::string folder = FFolders.UserFolder();
  return folder.empty() ? std::string() : folder + std::string(kFileTitle);
}

}  // namespace pen
