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
    : FFiles(files), FPlace(folders, std::string(kFileTitle)), FWindowsMajorVersion(windowsMajorVersion) {
  UseFile(FPlace.Locate([this](const std::string& path) { return FFiles.Open(path)->Exists(); }));
  // Written nowhere: the factory values below still apply, and the next
  // Write tries both folders again.
  if (!FIni->Exists()) Store([](IIniFile& ini) { return ini.WriteWholeFile(kDefaultFileText); });
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
  return Store([this](IIniFile& ini) { return WriteTo(ini); });
}

bool TSettingFile::Store(const std::function<bool(IIniFile&)>& write) {
  const bool ok = FPlace.Write(
      [&](const std::string& path) { return path == FFileName ? write(*FIni) : write(*FFiles.Open(path)); },
      [this](const std::string& folder) { return FFiles.MakeFolder(folder); });
  if (FPlace.Path() != FFileName) UseFile(FPlace.Path());
  return ok;
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

}  // namespace pen
