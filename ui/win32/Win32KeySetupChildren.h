#pragma once
#include <memory>
#include <string>
#include <vector>

#include "keys/KeyboardLayout.h"
#include "ui/FormAPorts.h"
#include "ui/Language.h"
#include "ui/win32/Win32SetKeys.h"

namespace pen::win32 {

// The model key-setup windows the main settings window opens: one window
// per model family, created at start-up and reused. The screen mapping
// window is another object's.
class TWin32KeySetupChildren final : public IFormAChildren {
 public:
  TWin32KeySetupChildren(TLanguage& language, const IKeyboardLayout& layout);

  // Every family's window, hidden and owned by `owner` (the settings
  // window); false when one cannot be created.
  bool Create(HWND owner);
  TWin32SetKeys* Window(KeySetupWindow which);
  // Each window saves a picture of itself `ms` after it is next shown.
  void ScreenshotAfterShow(const std::string& pngFile, uint32_t ms);

  bool HasScreenMapping() const override { return false; }
  void ShowScreenMapping(MapRect&, MapRect&, const std::string&, bool) override {}
  bool HasKeySetup(KeySetupWindow which) const override;
  bool ShowKeySetup(KeySetupWindow which, ButtonDefinitions& definitions) override;
  void BringKeySetupToFront(KeySetupWindow which) override;
  void CloseKeySetup(KeySetupWindow which) override;

 private:
  TLanguage& language_;
  const IKeyboardLayout& layout_;
  std::vector<std::unique_ptr<TWin32SetKeys>> windows_;
};

}  // namespace pen::win32
