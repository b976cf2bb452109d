// USBDelegate: loading and storing the configuration files.
#include <functional>
#include <string>
#include <string_view>

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

void USBDelegate::LoadOrRepair(const std::string& name, const std::function<bool(std::string_view)>& decode,
                               const std::function<std::string()>& encodeFallback) {
  std::string text;
  const FileResult read = ports_.files.Read(name, text);
  if (read.ok() && decode(text)) return;
  const bool exists = read.status != FileResult::Status::NotFound;
  const std::string fallback = encodeFallback();
  // When the defective file cannot be moved out of the way the fallback
  // serves from memory, and the file stays for the user to look at.
  if (exists && !SetAsideDefective(name)) return;
  if (const FileResult written = ports_.files.Write(name, fallback); !written.ok()) ShowError(written.error);
}

void USBDelegate::LoadScreenFile() {
  LoadOrRepair(
      ScreenFileName(),
      [this](std::string_view text) {
        auto decoded = DecodeScreenConfig(text);
        if (decoded) screenConfig = std::move(*decoded);
        return decoded.has_value();
      },
      [this] {
        screenConfig = ScreenConfig{UnionOfFrames(ports_.screens.Screens()), std::string(kRotation0)};
        return EncodeScreenConfig(screenConfig);
      });
}

void USBDelegate::LoadKeysFile() {
  // The fallback is the table in memory: empty at the first plug-in, the
  // definitions held so far after that.
  LoadOrRepair(
      KeysFileName(),
      [this](std::string_view text) {
        auto decoded = DecodeKeyDefs(text);
        if (decoded) keyDefs = std::move(*decoded);
        return decoded.has_value();
      },
      [this] { return EncodeKeyDefs(keyDefs); });
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
