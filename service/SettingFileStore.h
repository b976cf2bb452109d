#pragma once
#include "service/SettingFile.h"
#include "service/SettingsStore.h"

namespace pen {

// The settings file's fields as one record for the host; the file object
// stays the one that validates and writes.
class TSettingFileStore final : public ISettingsStore {
 public:
  explicit TSettingFileStore(TSettingFile& file) : file_(file) { Pull(); }
  HostSettings& Values() override { return values_; }
  void Validate() override {
    Push();
    file_.Validate();
    Pull();
  }
  void Write() override {
    Push();
    file_.Write();
    Pull();
  }

 private:
  void Pull() {
    values_.inkMode = file_.InkMode;
    values_.screen = {file_.ScreenMapLeft, file_.ScreenMapTop, file_.ScreenMapRight, file_.ScreenMapBottom};
    values_.tablet = {file_.TabletMapLeft, file_.TabletMapTop, file_.TabletMapRight, file_.TabletMapBottom};
    values_.leftHandMode = file_.LeftHandMode;
    values_.smoothness = file_.Smoothness;
  }
  void Push() {
    file_.InkMode = values_.inkMode;
    file_.ScreenMapLeft = values_.screen.left;
    file_.ScreenMapTop = values_.screen.top;
    file_.ScreenMapRight = values_.screen.right;
    file_.ScreenMapBottom = values_.screen.bottom;
    file_.TabletMapLeft = values_.tablet.left;
    file_.TabletMapTop = values_.tablet.top;
    file_.TabletMapRight = values_.tablet.right;
    file_.TabletMapBottom = values_.tablet.bottom;
    file_.LeftHandMode = values_.leftHandMode;
    file_.Smoothness = values_.smoothness;
  }

  TSettingFile& file_;
  HostSettings values_;
};

}  // namespace pen
