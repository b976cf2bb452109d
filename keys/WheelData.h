#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/AppFolders.h"
#include "common/FilePlace.h"
#include "common/IniFile.h"

namespace pen {

// The eight wheel functions, in dial order.
namespace wheel_function {
constexpr int kMouseWheel = 0;
constexpr int kLineWidth = 1;
constexpr int kZoom = 2;
constexpr int kRotateCanvas = 3;
constexpr int kDisableAll = 4;
constexpr int kUserKey = 5;
constexpr int kUndoRedo = 6;
constexpr int kVolume = 7;
constexpr int kCount = 8;
}  // namespace wheel_function

// The stems of their keys in "TabletWheel.ini".
extern const std::array<std::string_view, wheel_function::kCount> kWheelFunctionNames;

// Positions in WheelSettings; the order is shared with the wheel functions'
// copy and the wheel settings window.
namespace wheel_field {
constexpr size_t kMouseWheelEnabled = 0;
constexpr size_t kLineWidthEnabled = 1;
constexpr size_t kLineWidthRLeft = 2;  // extraKey, then MainKey at +1
constexpr size_t kLineWidthRRight = 4;
constexpr size_t kZoomEnabled = 6;
constexpr size_t kZoomRLeft = 7;
constexpr size_t kZoomRRight = 9;
constexpr size_t kRotateCanvasEnabled = 11;
constexpr size_t kRotateCanvasType = 12;
constexpr size_t kDisableAllEnabled = 13;
constexpr size_t kUserKeyEnabled = 14;
constexpr size_t kUserKeyRLeft = 15;
constexpr size_t kUserKeyRRight = 17;
constexpr size_t kUndoRedoEnabled = 19;
constexpr size_t kUndoRedoType = 20;
constexpr size_t kVolumeEnabled = 21;
constexpr size_t kHideWheel = 22;
constexpr size_t kCount = 23;
}  // namespace wheel_field

using WheelSettings = std::array<uint8_t, wheel_field::kCount>;

// The settings of a new installation.
extern const WheelSettings kDefaultWheelSettings;

// The `...Enabled` field of each function.
constexpr std::array<size_t, wheel_function::kCount> kEnabledField = {
    wheel_field::kMouseWheelEnabled,  wheel_field::kLineWidthEnabled, wheel_field::kZoomEnabled,
    wheel_field::kRotateCanvasEnabled, wheel_field::kDisableAllEnabled, wheel_field::kUserKeyEnabled,
    wheel_field::kUndoRedoEnabled,    wheel_field::kVolumeEnabled};

// The wheel's settings ("TabletWheel.ini" beside the program, or in the
// user's folder when the program's folder cannot be written) and the choice
// of the current function. Main thread only.
class TWheelData {
 public:
  static constexpr std::string_view kFileTitle = "TabletWheel.ini";
  static constexpr int kFirstIndex = 0;
  static constexpr int kLastIndex = 7;

  // Loads the file (creating it when missing), refreshes the enabled list
  // and starts with the highest enabled function (DisableAll when none is).
  TWheelData(IIniFileSystem& files, IAppFolders& folders);

  // A missing file gets the defaults and is written; otherwise every key is
  // read, a missing or unreadable one taking its missing-key default. Does
  // not refresh the enabled list.
  void LoadWheelSettings();
  // Writes every key; false when the settings could be stored nowhere.
  bool SaveWheelSettings();
  void RefreshEnabledList();
  void NextEnabledFunction();
  bool CurrentFunctionEnabled();

  int CurrentFunction = wheel_function::kDisableAll;
  WheelSettings& Settings() { return settings_; }
  const WheelSettings& Settings() const { return settings_; }
  const std::array<uint8_t, wheel_function::kCount>& EnabledList() const { return enabled_; }
  const std::string& FileName() const { return place_.Path(); }

  // The whole text of a file holding `settings`, as a new file is written.
  static std::string FileText(const WheelSettings& settings);

 private:
  static int Next(int index);

  IIniFileSystem& files_;
  TFilePlace place_;
  WheelSettings settings_ = kDefaultWheelSettings;
  std::array<uint8_t, wheel_function::kCount> enabled_{};
};

}  // namespace pen
