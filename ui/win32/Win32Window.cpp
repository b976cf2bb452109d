#include "ui/win32/Win32Window.h"

#include <utility>

#include "ui/win32/Gdi.h"
#include "ui/win32/GdiPlus.h"
#include "ui/win32/WideText.h"

namespace pen::win32 {

bool RegisterClassOnce(const WindowClass& cls, WNDPROC proc) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (GetClassInfoExW(instance, cls.name, &wc)) return true;
  wc.style = cls.style;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  // The IDC_ names are resource numbers, the same for the wide call.
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(cls.cursor));
  wc.lpszClassName = cls.name;
  return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

TWin32Window::~TWin32Window() { Destroy(); }

bool TWin32Window::CreateWindowOf(const WindowClass& cls, const Style& style) {
  if (window_ || !RegisterClassOnce(cls, &TWin32Window::WindowProc)) return false;
  width_ = style.width;
  height_ = style.height;
  // Titled when shown, in the language of that moment.
  CreateWindowExW(style.exStyle, cls.name, L"", style.style, 0, 0, width_, height_, style.owner, nullptr,
                  GetModuleHandleW(nullptr), this);
  return window_ != nullptr;
}

void TWin32Window::Destroy() {
  if (!window_) return;
  HWND window = std::exchange(window_, nullptr);
  SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  DestroyWindow(window);
}

bool TWin32Window::RegisterChildClass(const WindowClass& cls) { return RegisterClassOnce(cls, &ChildProc); }

HWND TWin32Window::CreateChild(const wchar_t* cls, DWORD style, DWORD exStyle, int id, const RECT& box, HWND parent,
                               const wchar_t* text) {
  return CreateWindowExW(exStyle, cls, text, WS_CHILD | style, box.left, box.top, box.right - box.left,
                         box.bottom - box.top, parent ? parent : window_,
                         reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), GetModuleHandleW(nullptr), this);
}

void TWin32Window::ScreenshotAfterShow(const std::string& pngFile, uint32_t ms) {
  screenshotFile_ = pngFile;
  screenshotMs_ = ms;
}

POINT TWin32Window::CentredOrigin(int width, int height) {
  return {(GetSystemMetrics(SM_CXSCREEN) - width) / 2, (GetSystemMetrics(SM_CYSCREEN) - height) / 2};
}

void TWin32Window::ShowCentred(HWND insertAfter) {
  if (!window_) return;
  const POINT at = CentredOrigin(width_, height_);
  const bool activate = (GetWindowLongW(window_, GWL_EXSTYLE) & WS_EX_NOACTIVATE) == 0;
  SetWindowPos(window_, insertAfter, at.x, at.y, width_, height_, SWP_SHOWWINDOW | (activate ? 0 : SWP_NOACTIVATE));
  if (activate) SetForegroundWindow(window_);
  if (!screenshotFile_.empty()) SetTimer(window_, kScreenshotTimer, screenshotMs_ ? screenshotMs_ : 1, nullptr);
}

void TWin32Window::BeginModal(HWND insertAfter) {
  if (HWND owner = GetWindow(window_, GW_OWNER)) EnableWindow(owner, FALSE);
  ShowCentred(insertAfter);
}

void TWin32Window::EndModal() {
  if (HWND owner = GetWindow(window_, GW_OWNER)) EnableWindow(owner, TRUE);
  ShowWindow(window_, SW_HIDE);
}

void TWin32Window::DragWindow() {
  ReleaseCapture();
  SendMessageW(window_, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
}

void TWin32Window::SetTitle(std::u16string_view title) { SetWindowTextW(window_, Wide(title).c_str()); }

bool TWin32Window::SetAlpha(BYTE alpha) {
  return window_ && SetLayeredWindowAttributes(window_, 0, alpha, LWA_ALPHA) != FALSE;
}

LRESULT TWin32Window::OnMessage(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcW(window_, msg, wp, lp); }

LRESULT TWin32Window::OnChildMessage(int, HWND child, UINT msg, WPARAM wp, LPARAM lp) {
  return DefWindowProcW(child, msg, wp, lp);
}

LRESULT CALLBACK TWin32Window::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<TWin32Window*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->window_ = hwnd;
  }
  auto* self = reinterpret_cast<TWin32Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  return self ? self->Handle(msg, wp, lp) : DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT CALLBACK TWin32Window::ChildProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
  }
  auto* self = reinterpret_cast<TWin32Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  // Nothing reaches a window on its way out (see Destroy).
  if (!self || !self->window_) return DefWindowProcW(hwnd, msg, wp, lp);
  return self->HandleChild(hwnd, msg, wp, lp);
}

LRESULT TWin32Window::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      TPaintDc dc(window_);
      OnPaint(dc);
      return 0;
    }
    case WM_TIMER:
      if (wp == kScreenshotTimer) {
        KillTimer(window_, kScreenshotTimer);
        SaveWindowShot(window_, screenshotFile_);
        screenshotFile_.clear();
      } else {
        OnTimer(wp);
      }
      return 0;
    case WM_CLOSE:
      OnClose();
      return 0;
    case WM_COMMAND:
      // Esc and Enter from the dialog keys (there is no cancel or default
      // button to send them instead).
      if (lp == 0 && LOWORD(wp) == IDCANCEL) {
        OnClose();
        return 0;
      }
      if (lp == 0 && LOWORD(wp) == IDOK) {
        OnEnter();
        return 0;
      }
      break;
    default:
      break;
  }
  return OnMessage(msg, wp, lp);
}

LRESULT TWin32Window::HandleChild(HWND child, UINT msg, WPARAM wp, LPARAM lp) {
  const int id = GetDlgCtrlID(child);
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      TPaintDc dc(child);
      OnPaintChild(id, child, dc);
      return 0;
    }
    default:
      return OnChildMessage(id, child, msg, wp, lp);
  }
}

}  // namespace pen::win32
