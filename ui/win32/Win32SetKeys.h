#pragma once
#include <windows.h>

#include <array>
#include <cstdint>
#include <string>

#include "keys/KeyboardLayout.h"
#include "ui/Language.h"
#include "ui/SetKeys.h"

namespace pen::win32 {

// A model key-setup window on Windows: borderless, plain Win32 controls for
// the editor and flat buttons drawn with GDI for the tablet's buttons. The
// model's row decides everything that differs between the models. Created
// once, hidden and shown again, always modally.
class TWin32SetKeys final {
 public:
  static constexpr const char* kClassName = "TSetKeys";
  static constexpr const char* kButtonClass = "TSetKeysButton";
  // Control ids: the tablet's button k is kFirstButtonId + k.
  static constexpr int kFirstButtonId = 2000;
  static constexpr int kChooserId = 2100;  // cbb1
  static constexpr int kShiftId = 2101;
  static constexpr int kCtrlId = 2102;
  static constexpr int kAltId = 2103;
  static constexpr int kResultId = 2104;  // lblResult
  static constexpr int kApplyId = 2105;   // BtnUpdate
  static constexpr int kResetId = 2106;   // BtnReset
  static constexpr int kCloseId = 2107;   // CloseBtn
  static constexpr int kButtonNoId = 2108;  // lbl1
  static constexpr int kNumberId = 2109;    // AALabel1

  TWin32SetKeys(const SetKeysModel& model, const IKeyboardLayout& layout, TLanguage& language);
  ~TWin32SetKeys();
  TWin32SetKeys(const TWin32SetKeys&) = delete;
  TWin32SetKeys& operator=(const TWin32SetKeys&) = delete;

  // The window, hidden, owned by `owner` (the settings window): no taskbar
  // button of its own, and the owner disabled while it is open.
  bool Create(HWND owner);
  HWND Window() const { return window_; }
  HWND Control(int id) const { return GetDlgItem(window_, id); }
  TSetKeys& Keys() { return keys_; }

  // Shows the window modally over `definitions`; true (OK) when closing
  // changed them. A quit message that arrives meanwhile closes it (with
  // its commit) and is passed on.
  bool ShowModal(ButtonDefinitions& definitions);
  bool Open() const { return open_; }
  void BringToFront();
  // Closes the open window as its close button does.
  void Close();

  // Saves a picture of the window as PNG `ms` after it is next shown.
  void ScreenshotAfterShow(const std::string& pngFile, uint32_t ms);

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK ButtonProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT HandleWindow(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT HandleButton(int id, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void CreateControls();
  HWND MakeControl(const wchar_t* cls, DWORD style, DWORD exStyle, int id, const Box& box, const wchar_t* text);
  void OnCommand(int id, UINT code, HWND from);
  void OnClick(int id);
  // Enter: the focused flat button, else the check mark.
  void OnEnter();
  void Sync();
  void PaintBackground(HDC dc);
  void PaintButton(int id, HWND hwnd, HDC dc);

  const SetKeysModel& model_;
  TLanguage& language_;
  TSetKeys keys_;
  HWND window_ = nullptr;
  bool open_ = false;
  bool closing_ = false;
  bool result_ = false;
  bool syncing_ = false;
  int hotId_ = 0;
  int pressedId_ = 0;
  std::array<std::wstring, kMaxSetKeysButtons> shownCaptions_;

  HFONT font_ = nullptr;
  HFONT bigFont_ = nullptr;
  HFONT keyFont_ = nullptr;
  HFONT sideFont_ = nullptr;  // written upwards, for the narrow keys
  HBRUSH formBrush_ = nullptr;
  HBRUSH whiteBrush_ = nullptr;
  std::string screenshotFile_;
  uint32_t screenshotMs_ = 0;
};

}  // namespace pen::win32
