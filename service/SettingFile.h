#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "common/AppFolders.h"
#include "common/FilePlace.h"
#include "common/IniFile.h"

namespace pen {

// The service's persistent pen settings ("TSetting.ini"): the Windows Ink
// choice, left-hand mode, smoothing level and the two mapping rectangles.
//
// The file lives beside the executable. When that folder cannot be written,
// it lives in the user's own folder instead (IAppFolders::UserFolder), and a
// file found there is preferred on later starts.
class TSettingFile {
 public:
  static constexpr std::string_view kFileTitle = "TSetting.ini";
  static constexpr int32_t kMapMax = 4095;   // last unit of either axis
  static constexpr int32_t kMinSpan = 400;   // smallest width or height of a rectangle

  // The factory file written when none exists (thirteen CR LF lines).
  static const std::string_view kDefaultFileText;

  // Finds the file (creating the factory file when there is none), reads it
  // and validates. `windowsMajorVersion` is the running system's major
  // version; below 6 Windows Ink is not offered.
  TSettingFile(IIniFileSystem& files, IAppFolders& folders, int windowsMajorVersion);

  // Reads the eleven keys (missing or unreadable keys take their defaults),
  // then validates.
  void Read();

  // Corrects out-of-range fields; changes only the fields, never the file.
  void Validate();

  // Writes the eleven keys. False when the settings could be stored nowhere;
  // the fields keep their values and an existing file is not damaged.
  bool Write();

  // Sets every field to its factory value.
  void ResetToDefaults();

  // The file currently read and written.
  const std::string& FileName() const { return FFileName; }

 private:
  bool WriteTo(IIniFile& ini);
  // `write` on the file, moving to the user's folder when the program's
  // folder cannot be written.
  bool Store(const std::function<bool(IIniFile&)>& write);
  void UseFile(const std::string& fileName);

  IIniFileSystem& FFiles;
  TFilePlace FPlace;
  int FWindowsMajorVersion;
  std::unique_ptr<IIniFile> FIni;
  std::string FFileName;

 public:
  // Every value is signed 32-bit; the service host reads and writes them
  // directly. Rectangles are left, top, right, bottom in 0..4095 units.
  int32_t InkMode = 1;  // 1: Windows Ink not used
  int32_t ScreenMapLeft = 0;
  int32_t ScreenMapTop = 0;
  int32_t ScreenMapRight = kMapMax;
  int32_t ScreenMapBottom = kMapMax;
  int32_t TabletMapLeft = 0;
  int32_t TabletMapTop = 0;
  int32_t TabletMapRight = kMapMax;
  int32_t TabletMapBottom = kMapMax;
  int32_t LeftHandMode = 0;
  int32_t Smoothness = 0;
};

}  // namespace pen
