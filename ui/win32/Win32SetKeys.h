#pragma once
#include <windows.h>

#include <array>
#include <cstdint>
#include <string>

#include "keys/KeyboardLayout.h"
#include "ui/Language.h"
#include "ui/SetKeys.h"
#include "ui/win32/Gdi.h"
#include "ui/win32/Win32Window.h"

namespace pen::win32 {

// A model key-setup window on Windows: borderless, plain Win32 controls for
// the editor and flat buttons drawn with GDI for the tablet's buttons. The
// model's row decides everything that differs between the models. Created
// once, hidden and shown again, always modally.
class TWin32SetKeys final : public TWin32Window {
 public:
  static constexpr const wchar_t* kClassName = L"TSetKeys";
  static constexpr const wchar_t* kButtonClass = L"TSetKeysButton";
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
  ~TWin32SetKeys() override;

  // The window, hidden, owned by `owner` (the settings window): no taskbar
  // button of its own, and the owner disabled while it is open.
  bool Create(HWND owner);
  HWND Control(int id) const { return GetDlgItem(Window(), id); }
  TSetKeys& Keys() { return keys_; }

  // Shows the window modally over `definitions`; true (OK) when closing
  // changed them. A quit message that arrives meanwhile closes it (with
  // its commit) and is passed on.
  bool ShowModal(ButtonDefinitions& definitions);
  bool Open() const { return open_; }
  void BringToFront();
  // Closes the open window as its close button does.
  void Close();

 private:
  // TWin32Window: Alt+F4 and Esc close as the close button does, committing
  // (there is no cancel); the window stays.
  void OnClose() override { Close(); }
  // Enter: the focused flat button, else the check mark.
  void OnEnter() override;
  void OnPaint(HDC dc) override;
  void OnPaintChild(int id, HWND child, HDC dc) override;
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  LRESULT OnChildMessage(int id, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) override;
  void CreateControls();
  HWND MakeControl(const wchar_t* cls, DWORD style, DWORD exStyle, int id, const RECT& box, const wchar_t* text);
  void OnCommand(int id, UINT code, HWND from);
  void OnClick(int id);
  void Sync();
  void PaintButton(int id, HWND hwnd, HDC dc);

  const SetKeysModel& model_;
  TLanguage& language_;
  TSetKeys keys_;
  bool open_ = false;
  bool closing_ = false;
  bool result_ = false;
  bool syncing_ = false;
  int hotId_ = 0;
  int pressedId_ = 0;
  std::array<std::wstring, kMaxSetKeysButtons> shownCaptions_;

  TFont font_;
  TFont bigFont_;
  TFont keyFont_;
  TFont sideFont_;  // written upwards, for the narrow keys
  TBrush formBrush_;
  TBrush whiteBrush_;
};

}  // namespace pen::win32
