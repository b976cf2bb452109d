#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "keys/WheelData.h"

namespace pen {

// The windows the wheel overlay drives, as it needs them. Their real
// implementations belong to the settings windows; until those exist the
// do-nothing ones below stand in, and the overlay's own rules work the same.

// A function's icon: its index and, once drawn, its picture (ARGB words,
// rows from the top; black is transparent). The one icon type of the wheel's
// windows.
struct WheelIcon {
  int function = -1;
  const uint32_t* argb = nullptr;
  int width = 0;
  int height = 0;
};

// The hidden face renderer: function names (wide, as the language gives
// them), icons and the name font size.
class IWheelFaces {
 public:
  virtual ~IWheelFaces() = default;
  virtual int NameFontSize() const = 0;
  virtual std::u16string FunctionName(int function) const = 0;
  virtual WheelIcon FunctionIcon(int function) const = 0;
  virtual void ReloadNames() = 0;  // language (re)loaded
};

// The round on-screen notice of the current function.
class INoticeWindow {
 public:
  virtual ~INoticeWindow() = default;
  virtual void SetNameFontSize(int points) = 0;
  virtual void SetNoticeIcon(const WheelIcon& icon) = 0;
  virtual void SetNoticeText(std::u16string_view text) = 0;
  // 1 moves the marker one position back, 2 forward, 0 keeps it.
  virtual void ShowNotice(int direction) = 0;
  virtual bool Fading() const = 0;
  virtual void FadeStep() = 0;  // runs the fade; it processes messages meanwhile
};

// The custom key window, opened from the wheel settings window.
class ICustomKeyWindow {
 public:
  virtual ~ICustomKeyWindow() = default;
  virtual bool Showing() const = 0;
  virtual void CloseWindow() = 0;  // as its close button
};

// The wheel settings window, shown modally; it edits `data` in place. It
// owns the custom key window it opens, so that the overlay reaches that
// window only through it.
class IWheelSettingsWindow {
 public:
  virtual ~IWheelSettingsWindow() = default;
  virtual ICustomKeyWindow& CustomKeyWindow() = 0;
  // From the start of ShowModal until it has returned, its closing
  // animation included.
  virtual bool Showing() const = 0;
  // Returns when the window is closed; messages keep flowing meanwhile.
  virtual void ShowModal(TWheelData& data) = 0;
  virtual void ScrollWheel(uint8_t step) = 0;
  virtual void CloseWindow() = 0;  // as its close button
  virtual void ShowCurrentFunction(int function) = 0;
};

// The system's foreground window.
class IForegroundWindows {
 public:
  virtual ~IForegroundWindows() = default;
  virtual uintptr_t Foreground() = 0;
  virtual void SetForeground(uintptr_t window) = 0;
};

class TNullWheelFaces final : public IWheelFaces {
 public:
  int NameFontSize() const override { return 36; }
  std::u16string FunctionName(int function) const override {
    if (function < 0 || function >= wheel_function::kCount) return {};
    const std::string_view stem = kWheelFunctionNames[static_cast<size_t>(function)];
    return std::u16string(stem.begin(), stem.end());  // ASCII
  }
  WheelIcon FunctionIcon(int function) const override { return WheelIcon{function}; }
  void ReloadNames() override {}
};

class TNullNoticeWindow final : public INoticeWindow {
 public:
  void SetNameFontSize(int) override {}
  void SetNoticeIcon(const WheelIcon&) override {}
  void SetNoticeText(std::u16string_view) override {}
  void ShowNotice(int) override {}
  bool Fading() const override { return false; }
  void FadeStep() override {}
};

class TNullCustomKeyWindow final : public ICustomKeyWindow {
 public:
  bool Showing() const override { return false; }
  void CloseWindow() override {}
};

class TNullWheelSettingsWindow final : public IWheelSettingsWindow {
 public:
  ICustomKeyWindow& CustomKeyWindow() override { return customKey_; }
  bool Showing() const override { return false; }
  void ShowModal(TWheelData&) override {}
  void ScrollWheel(uint8_t) override {}
  void CloseWindow() override {}
  void ShowCurrentFunction(int) override {}

 private:
  TNullCustomKeyWindow customKey_;
};

}  // namespace pen
