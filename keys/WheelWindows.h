#pragma once
#include <cstdint>
#include <string>

#include "keys/WheelData.h"

namespace pen {

// The windows the wheel overlay drives, as it needs them. Their real
// implementations belong to the settings windows; until those exist the
// do-nothing ones below stand in, and the overlay's own rules work the same.

// The hidden face renderer: function names, icons and the name font size.
class IWheelFaces {
 public:
  virtual ~IWheelFaces() = default;
  virtual int NameFontSize() const = 0;
  virtual std::string FunctionName(int function) const = 0;  // UTF-8
  virtual uintptr_t FunctionIcon(int function) const = 0;    // an image the notice window can draw
  virtual void ReloadNames() = 0;                            // language (re)loaded
};

// The round on-screen notice of the current function.
class INoticeWindow {
 public:
  virtual ~INoticeWindow() = default;
  virtual void SetNameFontSize(int points) = 0;
  virtual void SetNoticeIcon(uintptr_t icon) = 0;
  virtual void SetNoticeText(const std::string& text) = 0;
  // 1 moves the marker one position back, 2 forward, 0 keeps it.
  virtual void ShowNotice(int direction) = 0;
  virtual bool Fading() const = 0;
  virtual void FadeStep() = 0;  // runs the fade; it processes messages meanwhile
};

// The wheel settings window, shown modally; it edits `data` in place.
class IWheelSettingsWindow {
 public:
  virtual ~IWheelSettingsWindow() = default;
  virtual bool Showing() const = 0;
  // Returns when the window is closed; messages keep flowing meanwhile.
  virtual void ShowModal(TWheelData& data) = 0;
  virtual void ScrollWheel(uint8_t step) = 0;
  virtual void CloseWindow() = 0;  // as its close button
  virtual void ShowCurrentFunction(int function) = 0;
};

// The custom key window, opened from the wheel settings window.
class ICustomKeyWindow {
 public:
  virtual ~ICustomKeyWindow() = default;
  virtual bool Showing() const = 0;
  virtual void CloseWindow() = 0;  // as its close button
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
  std::string FunctionName(int function) const override {
    return function >= 0 && function < wheel_function::kCount
               ? std::string(kWheelFunctionNames[static_cast<size_t>(function)])
               : std::string();
  }
  uintptr_t FunctionIcon(int) const override { return 0; }
  void ReloadNames() override {}
};

class TNullNoticeWindow final : public INoticeWindow {
 public:
  void SetNameFontSize(int) override {}
  void SetNoticeIcon(uintptr_t) override {}
  void SetNoticeText(const std::string&) override {}
  void ShowNotice(int) override {}
  bool Fading() const override { return false; }
  void FadeStep() override {}
};

class TNullWheelSettingsWindow final : public IWheelSettingsWindow {
 public:
  bool Showing() const override { return false; }
  void ShowModal(TWheelData&) override {}
  void ScrollWheel(uint8_t) override {}
  void CloseWindow() override {}
  void ShowCurrentFunction(int) override {}
};

class TNullCustomKeyWindow final : public ICustomKeyWindow {
 public:
  bool Showing() const override { return false; }
  void CloseWindow() override {}
};

}  // namespace pen
