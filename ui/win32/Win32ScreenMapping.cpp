#include "ui/win32/Win32ScreenMapping.h"

#include "ui/win32/DialogKeys.h"
#include "ui/win32/GdiPlus.h"
#include "ui/win32/WideText.h"

namespace pen::win32 {

namespace {

constexpr UINT_PTR kScreenshotTimer = 1;
// Long enough for the programs under a hidden window to paint again.
constexpr DWORD kRepaintMs = 100;

BOOL CALLBACK AddMonitor(HMONITOR, HDC, LPRECT r, LPARAM out) {
  reinterpret_cast<DesktopGeometry*>(out)->monitors.push_back({r->left, r->top, r->right, r->bottom});
  return TRUE;
}

LPCSTR CursorName(FrameCursor c) {
  switch (c) {
    case FrameCursor::SizeNWSE: return IDC_SIZENWSE;
    case FrameCursor::SizeNESW: return IDC_SIZENESW;
    case FrameCursor::SizeWE: return IDC_SIZEWE;
    case FrameCursor::SizeNS: return IDC_SIZENS;
    case FrameCursor::Arrow: break;
  }
  return IDC_ARROW;
}

bool IsButton(MapScreenHit h) {
  return h == MapScreenHit::CloseButton || h == MapScreenHit::ToggleScreen || h == MapScreenHit::ToggleTablet;
}

}  // namespace

DesktopGeometry ReadDesktop() {
  DesktopGeometry g;
  const int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
  g.desktop = {x, y, x + GetSystemMetrics(SM_CXVIRTUALSCREEN), y + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  EnumDisplayMonitors(nullptr, nullptr, &AddMonitor, reinterpret_cast<LPARAM>(&g));
  return g;
}

TWin32ScreenMappingChild::TWin32ScreenMappingChild(const TLanguage& language, ScreenWait waitForScreen)
    : language_(language), waitForScreen_(waitForScreen) {}

void TWin32ScreenMappingChild::WaitForHiddenWindows() {
  GdiFlush();
  using IsCompositionEnabled = HRESULT(WINAPI*)(BOOL*);
  using Flush = HRESULT(WINAPI*)();
  // Loaded when there: systems before the compositor have no dwmapi.dll.
  static HMODULE dwm = LoadLibraryW(L"dwmapi.dll");
  auto enabled = dwm ? reinterpret_cast<IsCompositionEnabled>(
                           reinterpret_cast<void*>(GetProcAddress(dwm, "DwmIsCompositionEnabled")))
                     : nullptr;
  auto flush = dwm ? reinterpret_cast<Flush>(reinterpret_cast<void*>(GetProcAddress(dwm, "DwmFlush"))) : nullptr;
  BOOL composed = FALSE;
  if (enabled && flush && SUCCEEDED(enabled(&composed)) && composed) {
    // The frame being composed may be one from before the hide; the one
    // after it is not.
    if (SUCCEEDED(flush())) {
      flush();
      return;
    }
  }
  // Without a compositor the uncovered windows paint themselves again: this
  // thread's at once, other programs' within a moment.
  MSG m;
  for (int i = 0; i < 64 && PeekMessageW(&m, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE); ++i) DispatchMessageW(&m);
  Sleep(kRepaintMs);
}

TWin32ScreenMappingChild::~TWin32ScreenMappingChild() {
  if (window_) {
    KillTimer(window_, kScreenshotTimer);
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
  ReleaseDesktop();
  if (captionFont_) DeleteObject(captionFont_);
}

bool TWin32ScreenMappingChild::Create(HWND owner) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW wc{};
  // Double clicks step the frames through their cycles.
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = &TWin32ScreenMappingChild::WindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = L"TScreenMappingForm";
  RegisterClassW(&wc);
  // 36 points on the 96-dpi screen the window is laid out for.
  captionFont_ = CreateFontW(-48, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"MS Shell Dlg 2");
  window_ = CreateWindowExW(WS_EX_TOPMOST, L"TScreenMappingForm", L"", WS_POPUP | WS_SYSMENU, 0, 0,
                            TScreenMappingForm::kWidth, TScreenMappingForm::kHeight, owner, nullptr, instance, this);
  TakeDialogKeys(window_);
  return window_ != nullptr;
}

void TWin32ScreenMappingChild::ScreenshotAfterShow(const std::string& pngFile, uint32_t ms) {
  screenshotFile_ = pngFile;
  screenshotMs_ = ms;
}

void TWin32ScreenMappingChild::ShowScreenMapping(MapRect& screen, MapRect& tablet, const std::string& modelCode,
                                                 bool showTabletArea) {
  if (!window_) return;
  if (open_) {
    // Asked again while it is open: the open one stays the one the user
    // works in.
    SetForegroundWindow(window_);
    return;
  }
  form_.SetScreenArea(screen);
  form_.SetTabletArea(tablet);
  form_.ModelCode = modelCode;
  form_.ShowTabletArea = showTabletArea;
  form_.FormShow(ReadDesktop());
  // Taken before the window shows, so that the picture is the desktop
  // without it, and once the settings window that opened it has gone.
  waitForScreen_();
  CaptureDesktop();
  buttons_ = {};
  SetWindowTextW(window_, Wide(language_.Slot(lan::kScreenMapping)).c_str());
  const int x = (GetSystemMetrics(SM_CXSCREEN) - TScreenMappingForm::kWidth) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - TScreenMappingForm::kHeight) / 2;
  // Modal: its owner takes no input until it closes.
  HWND owner = GetWindow(window_, GW_OWNER);
  if (owner) EnableWindow(owner, FALSE);
  SetWindowPos(window_, HWND_TOPMOST, x, y, TScreenMappingForm::kWidth, TScreenMappingForm::kHeight,
               SWP_SHOWWINDOW);
  SetForegroundWindow(window_);
  SetFocus(window_);
  if (!screenshotFile_.empty()) SetTimer(window_, kScreenshotTimer, screenshotMs_ ? screenshotMs_ : 1, nullptr);

  open_ = true;
  closed_ = false;
  RunModalLoop(closed_);
  open_ = false;
  if (GetCapture() == window_) ReleaseCapture();
  form_.MouseUp();
  // Enabled before the hide, so that the owner is the window activated next.
  if (owner) EnableWindow(owner, TRUE);
  ShowWindow(window_, SW_HIDE);
  ReleaseDesktop();
  screen = form_.ScreenArea();
  tablet = form_.TabletArea();
}

void TWin32ScreenMappingChild::CaptureDesktop() {
  ReleaseDesktop();
  const PixelRect d = form_.Monitor().Desktop().desktop;
  HDC screen = GetDC(nullptr);
  desktopDc_ = CreateCompatibleDC(screen);
  desktopBitmap_ = CreateCompatibleBitmap(screen, d.Width(), d.Height());
  if (desktopDc_ && desktopBitmap_) {
    desktopOld_ = SelectObject(desktopDc_, desktopBitmap_);
    BitBlt(desktopDc_, 0, 0, d.Width(), d.Height(), screen, d.left, d.top, SRCCOPY | CAPTUREBLT);
  }
  ReleaseDC(nullptr, screen);
}

void TWin32ScreenMappingChild::ReleaseDesktop() {
  if (desktopDc_) {
    if (desktopOld_) SelectObject(desktopDc_, desktopOld_);
    DeleteDC(desktopDc_);
  }
  if (desktopBitmap_) DeleteObject(desktopBitmap_);
  desktopDc_ = nullptr;
  desktopBitmap_ = nullptr;
  desktopOld_ = nullptr;
}

LRESULT CALLBACK TWin32ScreenMappingChild::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<TWin32ScreenMappingChild*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->window_ = hwnd;
  }
  auto* self = reinterpret_cast<TWin32ScreenMappingChild*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  return self ? self->Handle(msg, wp, lp) : DefWindowProcW(hwnd, msg, wp, lp);
}

void TWin32ScreenMappingChild::Press(int x, int y) {
  const MapScreenHit hit = form_.MouseDown(x, y);
  if (hit == MapScreenHit::Background) {
    // The background moves the window: there is no caption to hold.
    ReleaseCapture();
    SendMessageW(window_, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
    return;
  }
  buttons_.pressed = IsButton(hit) ? hit : MapScreenHit::Background;
  buttons_.hot = hit;
  SetCapture(window_);
  Repaint();
}

void TWin32ScreenMappingChild::Release(int x, int y) {
  const MapScreenHit pressed = buttons_.pressed;
  buttons_.pressed = MapScreenHit::Background;
  if (GetCapture() == window_) ReleaseCapture();
  form_.MouseUp();
  if (IsButton(pressed) && form_.HitAt(x, y) == pressed) {
    switch (pressed) {
      case MapScreenHit::CloseButton: closed_ = true; break;
      case MapScreenHit::ToggleScreen: form_.btnToggleScreenClick(); break;
      case MapScreenHit::ToggleTablet: form_.BtnToggleTabletClick(); break;
      default: break;
    }
  }
  Repaint();
}

LRESULT TWin32ScreenMappingChild::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  const int x = static_cast<short>(LOWORD(lp)), y = static_cast<short>(HIWORD(lp));
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window_, &ps);
      // Drawn off screen first: the frames move with every mouse move.
      HDC back = CreateCompatibleDC(dc);
      HBITMAP bitmap = CreateCompatibleBitmap(dc, TScreenMappingForm::kWidth, TScreenMappingForm::kHeight);
      HGDIOBJ old = SelectObject(back, bitmap);
      PaintScreenMapping(back, form_, desktopDc_, buttons_, captionFont_);
      BitBlt(dc, 0, 0, TScreenMappingForm::kWidth, TScreenMappingForm::kHeight, back, 0, 0, SRCCOPY);
      SelectObject(back, old);
      DeleteObject(bitmap);
      DeleteDC(back);
      EndPaint(window_, &ps);
      return 0;
    }
    case WM_SETCURSOR:
      if (LOWORD(lp) == HTCLIENT) {
        POINT p{};
        GetCursorPos(&p);
        ScreenToClient(window_, &p);
        SetCursor(LoadCursorA(nullptr, CursorName(form_.CursorAt(p.x, p.y))));
        return TRUE;
      }
      break;
    case WM_LBUTTONDOWN:
      Press(x, y);
      return 0;
    case WM_LBUTTONDBLCLK: {
      const MapScreenHit hit = form_.HitAt(x, y);
      // A quick second press on a button is another press.
      if (IsButton(hit)) {
        Press(x, y);
      } else {
        form_.DoubleClick(x, y);
        Repaint();
      }
      return 0;
    }
    case WM_MOUSEMOVE: {
      form_.MouseMove(x, y);
      const MapScreenHit hot = form_.HitAt(x, y);
      if (hot != buttons_.hot || form_.Monitor().Shape().Dragging() || form_.TabletFrame().Dragging()) {
        buttons_.hot = hot;
        Repaint();
      }
      if (IsButton(hot)) {
        TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, window_, 0};
        TrackMouseEvent(&t);
      }
      return 0;
    }
    case WM_MOUSELEAVE:
      buttons_.hot = MapScreenHit::Background;
      Repaint();
      return 0;
    case WM_LBUTTONUP:
      Release(x, y);
      return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lp) != window_) {
        form_.MouseUp();
        buttons_.pressed = MapScreenHit::Background;
        Repaint();
      }
      return 0;
    case WM_KEYDOWN:
      if (wp == VK_ESCAPE) closed_ = true;
      return 0;
    case WM_COMMAND:
      // Esc and Enter from the dialog keys: there is nothing to cancel, the
      // caller always reads the areas.
      if (lp == 0 && (LOWORD(wp) == IDCANCEL || LOWORD(wp) == IDOK)) closed_ = true;
      return 0;
    case WM_DISPLAYCHANGE:
      // The picture follows the new desktop; the frame keeps its area. The
      // new screenshot shows this window too: hiding it would flicker.
      form_.Monitor().Refresh(ReadDesktop());
      CaptureDesktop();
      Repaint();
      return 0;
    case WM_TIMER:
      if (wp == kScreenshotTimer) {
        KillTimer(window_, kScreenshotTimer);
        SaveWindowShot(window_, screenshotFile_);
        screenshotFile_.clear();
      }
      return 0;
    case WM_CLOSE:
      // Alt+F4 closes like the close button; the window itself stays.
      closed_ = true;
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window_, msg, wp, lp);
}

}  // namespace pen::win32
