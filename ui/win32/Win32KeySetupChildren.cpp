#include "ui/win32/Win32KeySetupChildren.h"

namespace pen::win32 {

TWin32KeySetupChildren::TWin32KeySetupChildren(TLanguage& language, const IKeyboardLayout& layout)
    : language_(language), layout_(layout) {}

bool TWin32KeySetupChildren::Create(HWND owner) {
  bool all = true;
  for (const FamilyRow& family : FamilyRows()) {
    auto window = std::make_unique<TWin32SetKeys>(family.keySetup, layout_, language_);
    if (window->Create(owner)) {
      windows_.push_back(std::move(window));
    } else {
      all = false;
    }
  }
  return all;
}

TWin32SetKeys* TWin32KeySetupChildren::Window(KeySetupWindow which) {
  for (auto& w : windows_) {
    if (w->Keys().Model().window == which) return w.get();
  }
  return nullptr;
}

void TWin32KeySetupChildren::ScreenshotAfterShow(const std::string& pngFile, uint32_t ms) {
  for (auto& w : windows_) w->ScreenshotAfterShow(pngFile, ms);
}

bool TWin32KeySetupChildren::HasKeySetup(KeySetupWindow which) const {
  for (const auto& w : windows_) {
    if (w->Keys().Model().window == which) return true;
  }
  return false;
}

bool TWin32KeySetupChildren::ShowKeySetup(KeySetupWindow which, ButtonDefinitions& definitions) {
  TWin32SetKeys* w = Window(which);
  return w && w->ShowModal(definitions);
}

void TWin32KeySetupChildren::BringKeySetupToFront(KeySetupWindow which) {
  if (TWin32SetKeys* w = Window(which)) w->BringToFront();
}

void TWin32KeySetupChildren::CloseKeySetup(KeySetupWindow which) {
  if (TWin32SetKeys* w = Window(which)) w->Close();
}

}  // namespace pen::win32
