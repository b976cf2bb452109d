#include "service/win32/TrayIcon.h"

#include <cwchar>

#include "service/win32/Win32HostShell.h"

namespace pen::win32 {

namespace {

constexpr int kIconSize = 32;

// A small tablet drawn in code: blue with a pen stroke when the tablet is
// there, grey with a red bar when it is not.
HICON MakeIcon(bool connected) {
  BITMAPV5HEADER h{};
  h.bV5Size = sizeof h;
  h.bV5Width = kIconSize;
  h.bV5Height = -kIconSize;
  h.bV5Planes = 1;
  h.bV5BitCount = 32;
  h.bV5Compression = BI_BITFIELDS;
  h.bV5RedMask = 0x00FF0000;
  h.bV5GreenMask = 0x0000FF00;
  h.bV5BlueMask = 0x000000FF;
  h.bV5AlphaMask = 0xFF000000;
  void* bits = nullptr;
  HDC dc = GetDC(nullptr);
  HBITMAP color = CreateDIBSection(dc, reinterpret_cast<BITMAPINFO*>(&h), DIB_RGB_COLORS, &bits, nullptr, 0);
  ReleaseDC(nullptr, dc);
  if (!color || !bits) return nullptr;
  auto* px = static_cast<uint32_t*>(bits);
  const uint32_t body = connected ? 0xFF2060C0u : 0xFF808080u;
  const uint32_t face = connected ? 0xFFE8F0FFu : 0xFFD0D0D0u;
  const uint32_t mark = connected ? 0xFF103070u : 0xFFD02020u;
  for (int y = 0; y < kIconSize; ++y) {
    for (int x = 0; x < kIconSize; ++x) {
      uint32_t c = 0;  // transparent
      if (y >= 5 && y < 27 && x >= 1 && x < 31) c = body;
      if (y >= 8 && y < 24 && x >= 6 && x < 26) c = face;
      if (connected && x >= 9 && x < 24 && (x - 9) / 2 + 10 == y) c = mark;  // a pen stroke
      if (!connected && y >= 14 && y < 18 && x >= 8 && x < 24) c = mark;
      px[y * kIconSize + x] = c;
    }
  }
  HBITMAP mask = CreateBitmap(kIconSize, kIconSize, 1, 1, nullptr);
  ICONINFO info{};
  info.fIcon = TRUE;
  info.hbmColor = color;
  info.hbmMask = mask;
  HICON icon = CreateIconIndirect(&info);
  DeleteObject(color);
  DeleteObject(mask);
  return icon;
}

constexpr const char* kClassName = "TPenHostTray";

}  // namespace

TWin32TrayIcon::TWin32TrayIcon(NotifyFn notify) : notify_(notify) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA wc{};
  wc.lpfnWndProc = &TWin32TrayIcon::WindowProc;
  wc.hInstance = instance;
  wc.lpszClassName = kClassName;
  RegisterClassA(&wc);
  window_ = CreateWindowExA(WS_EX_TOOLWINDOW, kClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance,
                            this);
  taskbarCreated_ = RegisterWindowMessageA("TaskbarCreated");
  icons_[0] = MakeIcon(true);
  icons_[1] = MakeIcon(false);
  menu_ = CreatePopupMenu();
  AppendMenuW(menu_, MF_STRING, kMenuShow, L"&Show");
  AppendMenuW(menu_, MF_STRING, kMenuStop, L"&Stop service");
  SetMenuDefaultItem(menu_, kMenuShow, FALSE);
}

TWin32TrayIcon::~TWin32TrayIcon() {
  if (enabled_) Notify(NIM_DELETE);
  if (menu_) DestroyMenu(menu_);
  for (HICON& i : icons_) {
    if (i) DestroyIcon(i);
  }
  if (window_) DestroyWindow(window_);
}

bool TWin32TrayIcon::Notify(DWORD action) {
  if (!window_) return false;
  NOTIFYICONDATAW nid{};
  nid.cbSize = sizeof nid;
  nid.hWnd = window_;
  nid.uID = 1;
  nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  nid.uCallbackMessage = kCallbackMessage;
  nid.hIcon = Icon(index_);
  std::wcsncpy(nid.szTip, hint_.c_str(), sizeof nid.szTip / sizeof nid.szTip[0] - 1);
  return notify_(action, &nid) != FALSE;
}

// A shell that still shows the icon refuses to add it again (it announces
// itself on more occasions than a restart); the icon is there all the same.
bool TWin32TrayIcon::Add() { return Notify(NIM_ADD) || Notify(NIM_MODIFY); }

bool TWin32TrayIcon::Enable() {
  if (enabled_) return true;
  enabled_ = Add();
  return enabled_;
}

void TWin32TrayIcon::SetIndex(int index) {
  const int i = index == 0 ? 0 : 1;
  if (i == index_) return;
  index_ = i;
  if (enabled_) Notify(NIM_MODIFY);
}

void TWin32TrayIcon::SetTexts(const std::string& hint, const std::string& showItem, const std::string& stopItem) {
  std::wstring h = Widen(hint);
  if (!showItem.empty()) ModifyMenuW(menu_, kMenuShow, MF_BYCOMMAND | MF_STRING, kMenuShow, Widen(showItem).c_str());
  if (!stopItem.empty()) ModifyMenuW(menu_, kMenuStop, MF_BYCOMMAND | MF_STRING, kMenuStop, Widen(stopItem).c_str());
  SetMenuDefaultItem(menu_, kMenuShow, FALSE);
  if (h.empty() || h == hint_) return;
  hint_ = std::move(h);
  if (enabled_) Notify(NIM_MODIFY);
}

void TWin32TrayIcon::ShowMenu() {
  POINT at{};
  GetCursorPos(&at);
  // Without this the menu would not close when the user clicks elsewhere.
  SetForegroundWindow(window_);
  const UINT cmd = static_cast<UINT>(
      TrackPopupMenu(menu_, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, window_, nullptr));
  PostMessageA(window_, WM_NULL, 0, 0);
  if (cmd == kMenuShow) onShow();
  if (cmd == kMenuStop) onStop();
}

LRESULT CALLBACK TWin32TrayIcon::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    // Messages arrive before CreateWindowEx returns the handle.
    static_cast<TWin32TrayIcon*>(cs->lpCreateParams)->window_ = hwnd;
  }
  auto* self = reinterpret_cast<TWin32TrayIcon*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!self || msg == WM_NCDESTROY) return DefWindowProcA(hwnd, msg, wp, lp);
  return self->Handle(msg, wp, lp);
}

LRESULT TWin32TrayIcon::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kCallbackMessage) {
    switch (static_cast<UINT>(lp)) {
      case WM_LBUTTONDBLCLK: onShow(); break;
      case WM_RBUTTONUP:
      case WM_CONTEXTMENU: ShowMenu(); break;
      default: break;
    }
    return 0;
  }
  if (msg == taskbarCreated_ && taskbarCreated_ != 0) {
    // The shell restarted and forgot every icon. A shell that is not ready
    // yet refuses the icon: it is then no longer shown, and the owner's retry
    // must bring it back.
    if (enabled_ && !Add()) {
      enabled_ = false;
      onLost();
    }
    return 0;
  }
  return DefWindowProcA(window_, msg, wp, lp);
}

}  // namespace pen::win32
