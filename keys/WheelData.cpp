#include "keys/WheelData.h"

#include <memory>

namespace pen {

namespace {

struct FileKey {
  std::string_view section;
  std::string_view key;
  size_t field;
  bool boolean;
  uint8_t missingDefault;  // for a key missing from an existing file
};

// Every key in the order the file is written.
constexpr FileKey kFileKeys[] = {
    {"EnableItem", "MouseWheelEnabled", wheel_field::kMouseWheelEnabled, true, 1},
    {"EnableItem", "LineWidthEnabled", wheel_field::kLineWidthEnabled, true, 0},
    {"EnableItem", "ZoomEnabled", wheel_field::kZoomEnabled, true, 0},
    {"EnableItem", "RotateCanvasEnabled", wheel_field::kRotateCanvasEnabled, true, 1},
    {"EnableItem", "DisableAllEnabled", wheel_field::kDisableAllEnabled, true, 0},
    {"EnableItem", "UserKeyEnabled", wheel_field::kUserKeyEnabled, true, 0},
    {"EnableItem", "UndoRedoEnabled", wheel_field::kUndoRedoEnabled, true, 1},
    {"EnableItem", "VolumeEnabled", wheel_field::kVolumeEnabled, true, 1},
    {"EnableItem", "HideWheel", wheel_field::kHideWheel, true, 0},
    {"KeyDefine", "LineWidthRLeft.extraKey", wheel_field::kLineWidthRLeft, false, 0},
    {"KeyDefine", "LineWidthRLeft.MainKey", wheel_field::kLineWidthRLeft + 1, false, 0},
    {"KeyDefine", "LineWidthRRight.extraKey", wheel_field::kLineWidthRRight, false, 0},
    {"KeyDefine", "LineWidthRRight.MainKey", wheel_field::kLineWidthRRight + 1, false, 0},
    {"KeyDefine", "ZoomRLeft.extraKey", wheel_field::kZoomRLeft, false, 0},
    {"KeyDefine", "ZoomRLeft.MainKey", wheel_field::kZoomRLeft + 1, false, 0},
    {"KeyDefine", "ZoomRRight.extraKey", wheel_field::kZoomRRight, false, 0},
    {"KeyDefine", "ZoomRRight.MainKey", wheel_field::kZoomRRight + 1, false, 0},
    {"KeyDefine", "UserKeyRLeft.extraKey", wheel_field::kUserKeyRLeft, false, 0},
    {"KeyDefine", "UserKeyRLeft.MainKey", wheel_field::kUserKeyRLeft + 1, false, 0},
    {"KeyDefine", "UserKeyRRight.extraKey", wheel_field::kUserKeyRRight, false, 0},
    {"KeyDefine", "UserKeyRRight.MainKey", wheel_field::kUserKeyRRight + 1, false, 0},
    {"WorkMode", "RotateCanvasType", wheel_field::kRotateCanvasType, false, 0},
    {"WorkMode", "UndoRedoType", wheel_field::kUndoRedoType, false, 0},
};

}  // namespace

const std::array<std::string_view, wheel_function::kCount> kWheelFunctionNames = {
    "MouseWheel", "LineWidth", "Zoom", "RotateCanvas", "DisableAll", "UserKey", "UndoRedo", "Volume"};

const WheelSettings kDefaultWheelSettings = {1, 0, 0, 219, 0, 221, 0, 1, 189, 1, 187, 1,
                                             0, 0, 0, 0,   0, 0,   0, 1, 0,   1, 0};

TWheelData::TWheelData(IIniFileSystem& files, IAppFolders& folders)
    : files_(files), place_(folders, std::string(kFileTitle)) {
  LoadWheelSettings();
  RefreshEnabledList();
  CurrentFunction = wheel_function::kDisableAll;
  for (int i = kLastIndex; i >= kFirstIndex; --i) {
    if (enabled_[static_cast<size_t>(i)]) {
      CurrentFunction = i;
      break;
    }
  }
}

void TWheelData::LoadWheelSettings() {
  place_.Locate([this](const std::string& path) { return files_.Open(path)->Exists(); });
  const std::unique_ptr<IIniFile> ini = files_.Open(place_.Path());
  if (!ini->Exists()) {
    settings_ = kDefaultWheelSettings;
    SaveWheelSettings();
    return;
  }
  for (const FileKey& k : kFileKeys) {
    const int32_t value = ini->ReadInteger(k.section, k.key, k.missingDefault);
    settings_[k.field] = k.boolean ? (value != 0 ? 1 : 0) : static_cast<uint8_t>(value & 0xFF);
  }
}

std::string TWheelData::FileText(const WheelSettings& settings) {
  std::string text;
  std::string_view section;
  for (const FileKey& k : kFileKeys) {
    if (k.section != section) {
      section = k.section;
      text.append("[").append(section).append("]\r\n");
    }
    text.append(k.key).append("=").append(std::to_string(settings[k.field])).append("\r\n");
  }
  return text;
}

bool TWheelData::SaveWheelSettings() {
  return place_.Write(
      [this](const std::string& path) {
        const std::unique_ptr<IIniFile> ini = files_.Open(path);
        // A new file is written whole, so that a failure never leaves half of it.
        if (!ini->Exists()) return ini->WriteWholeFile(FileText(settings_));
        for (const FileKey& k : kFileKeys) {
          if (!ini->WriteInteger(k.section, k.key, settings_[k.field])) return false;
        }
        return true;
      },
      [this](const std::string& folder) { return files_.MakeFolder(folder); });
}

void TWheelData::RefreshEnabledList() {
  for (size_t i = 0; i < enabled_.size(); ++i) enabled_[i] = settings_[kEnabledField[i]] ? 1 : 0;
}

int TWheelData::Next(int index) { return index >= kLastIndex || index < kFirstIndex ? kFirstIndex : index + 1; }

void TWheelData::NextEnabledFunction() {
  // A current function outside the dial (set by a window) starts the search
  // at the first index, and the search still visits every index once.
  const int start = CurrentFunction >= kFirstIndex && CurrentFunction <= kLastIndex ? CurrentFunction : kLastIndex;
  int a = Next(start);
  while (!enabled_[static_cast<size_t>(a)]) {
    a = Next(a);
    if (a == start) {
      if (!enabled_[static_cast<size_t>(a)]) a = wheel_function::kDisableAll;
      break;
    }
  }
  CurrentFunction = a;
}

bool TWheelData::CurrentFunctionEnabled() {
  if (CurrentFunction >= kFirstIndex && CurrentFunction <= kLastIndex && enabled_[static_cast<size_t>(CurrentFunction)])
    return true;
  NextEnabledFunction();
  return enabled_[static_cast<size_t>(CurrentFunction)] != 0;
}

}  // namespace pen
