#include "ui/win32/Win32ScreenMapping.h"

#include "ui/win32/DialogKeys.h"

namespace pen::win32 {

namespace {

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

TWin32ScreenMappingChild::~TWin32ScreenMappingChild() { Destroy(); }

bool TWin32ScreenMappingChild::Create(HWND owner) {
  // 36 points on the 96-dpi screen the window is laid out for.
  captionFont_ = DialogFont(48, FW_NORMAL);
  Style style;
  style.style = WS_POPUP | WS_SYSMENU;
  style.exStyle = WS_EX_TOPMOST;
  style.width = TScreenMappingForm::kWidth;
  style.height = TScreenMappingForm::kHeight;
  style.owner = owner;
  // Double clicks step the frames through their cycles.
  if (!CreateWindowOf({kClassName, CS_DBLCLKS}, style)) return false;
  TakeDialogKeys(Window());
  return true;
}

void TWin32ScreenMappingChild::ShowScreenMapping(MapRect& screen, MapRect& tablet, const std::string& modelCode,
                                                 bool showTabletArea) {
  if (!Window()) return;
  if (open_) {
    // Asked again while it is open: the open one stays the one the user
    // works in.
    SetForegroundWindow(Window());
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
  SetTitle(language_.Slot(lan::kScreenMapping));
  BeginModal(HWND_TOPMOST);
  SetFocus(Window());

  open_ = true;
  closed_ = false;
  RunModalLoop(closed_);
  open_ = false;
  if (GetCapture() == Window()) ReleaseCapture();
  form_.MouseUp();
  EndModal();
  desktop_.reset();
  screen = form_.ScreenArea();
  tablet = form_.TabletArea();
}

void TWin32ScreenMappingChild::CaptureDesktop() {
  desktop_.reset();
  const PixelRect d = form_.Monitor().Desktop().desktop;
  const TWindowDc screen;
  desktop_.emplace(screen, d.Width(), d.Height());
  if (desktop_->Ok()) BitBlt(*desktop_, 0, 0, d.Width(), d.Height(), screen, d.left, d.top, SRCCOPY | CAPTUREBLT);
}

void TWin32ScreenMappingChild::Press(int x, int y) {
  const MapScreenHit hit = form_.MouseDown(x, y);
  if (hit == MapScreenHit::Background) {
    DragWindow();
    return;
  }
  buttons_.pressed = IsButton(hit) ? hit : MapScreenHit::Background;
  buttons_.hot = hit;
  SetCapture(Window());
  Repaint();
}

void TWin32ScreenMappingChild::Release(int x, int y) {
  const MapScreenHit pressed = buttons_.pressed;
  buttons_.pressed = MapScreenHit::Background;
  if (GetCapture() == Window()) ReleaseCapture();
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

void TWin32ScreenMappingChild::OnPaint(HDC dc) {
  // Drawn off screen first: the frames move with every mouse move.
  const TBitmapDc back(dc, TScreenMappingForm::kWidth, TScreenMappingForm::kHeight);
  PaintScreenMapping(back, form_, desktop_ && desktop_->Ok() ? static_cast<HDC>(*desktop_) : nullptr, buttons_,
                     captionFont_);
  BitBlt(dc, 0, 0, TScreenMappingForm::kWidth, TScreenMappingForm::kHeight, back, 0, 0, SRCCOPY);
}

LRESULT TWin32ScreenMappingChild::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  const int x = static_cast<short>(LOWORD(lp)), y = static_cast<short>(HIWORD(lp));
  switch (msg) {
    case WM_SETCURSOR:
      if (LOWORD(lp) == HTCLIENT) {
        POINT p{};
        GetCursorPos(&p);
        ScreenToClient(Window(), &p);
        // The IDC_ names are resource numbers, the same for the wide call.
        SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(CursorName(form_.CursorAt(p.x, p.y)))));
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
        TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, Window(), 0};
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
      if (reinterpret_cast<HWND>(lp) != Window()) {
        form_.MouseUp();
        buttons_.pressed = MapScreenHit::Background;
        Repaint();
      }
      return 0;
    case WM_KEYDOWN:
      if (wp == VK_ESCAPE) OnClose();
      return 0;
    case WM_COMMAND:
      return 0;
    case WM_DISPLAYCHANGE:
      // The picture follows the new desktop; the frame keeps its area. The
      // new screenshot shows this window too: hiding it would flicker.
      form_.Monitor().Refresh(ReadDesktop());
      CaptureDesktop();
      Repaint();
      return 0;
    default:
      break;
  }
  return DefWindowProcW(Window(), msg, wp, lp);
}

}  // namespace pen::win32
