// USBDelegate: loading and storing the configuration files.
#include <string>

#include "mac/ConfigCoding.h"
#include "mac/USBDelegate.h"

namespace penmac {

namespace {

// An earlier defective file is kept under this suffix instead of being
// deleted: a hand-edited file with one typo is not lost.
constexpr const char* kDefectiveSuffix = ".bad";

}  // namespace

void USBDelegate::ShowError(const std::string& error) {
  ports_.alerts.Show(Alert{error, kAlertSource, {"OK"}});
}

bool USBDelegate::SetAsideDefective(const std::string& name) {
  const FileResult moved = ports_.files.MoveAside(name, name + kDefectiveSuffix);
  if (moved.ok() || moved.status == FileResult::Status::NotFound) return true;
  ShowError(moved.error);
  return false;
}

void USBDelegate::GetConfig() {
  LoadScreenFile();
  LoadKeysFile();
}

void USBDelegate::LoadScreenFile() {
  const std::string name = ScreenFileName();
  std::string text;
  const FileResult read = ports_.files.Read(name, text);
  if (read.ok()) {
    if (auto decoded = DecodeScreenConfig(text)) {
      screenConfig = std::move(*decoded);
      return;
    }
  }
  const bool exists = read.status != FileResult::Status::NotFound;

  screenConfig = ScreenConfig{UnionOfFrames(ports_.screens.Screens()), std::string(kRotation0)};

  // When the defective file cannot be moved out of the way the defaults
  // serve from memory, and the file stays for the user to look at.
  if (exists && !SetAsideDefective(name)) return;
  if (const FileResult written = ports_.files.Write(name, EncodeScreenConfig(screenConfig)); !written.ok()) {
    ShowError(written.error);
  }
}

void USBDelegate::LoadKeysFile() {
  const std::string name = KeysFileName();
  std::string text;
  const FileResult read = ports_.files.Read(name, text);
  if (read.ok()) {
    if (auto decoded = DecodeKeyDefs(text)) {
      keyDefs = std::move(*decoded);
      return;
    }
  }
  const bool exists = read.status != FileResult::Status::NotFound;
  if (exists && !SetAsideDefective(name)) return;
  if (const FileResult written = ports_.files.Write(name, EncodeKeyDefs(keyDefs)); !written.ok()) {
    ShowError(written.error);
  }
}

void USBDelegate::SetConfig() {
  if (const FileResult written = ports_.files.Write(ScreenFileName(), EncodeScreenConfig(screenConfig));
      !written.ok()) {
    ShowError(written.error);
  }
  if (const FileResult written = ports_.files.Write(KeysFileName(), EncodeKeyDefs(keyDefs)); !written.ok()) {
    ShowError(written.error);
  }
}

}  // namespace penmac
