// The settings window's own controls: the pressure tracker, the close
// button and the test drawing area, and what their mouse and keys do.
#include <windowsx.h>

#include <algorithm>

#include "ui/Tracker.h"
#include "ui/win32/FormAPainting.h"
#include "ui/win32/Win32FormA.h"

namespace pen::win32 {

using C = FormAControl;

void TWin32FormA::TrackerMouse(HWND hwnd, int x) {
  RECT r{};
  GetClientRect(hwnd, &r);
  const int32_t v = tracker::ValueAt(x, r.right);
  if (v != form_->TrackerValue()) form_->jntrckr1ChangedValue(v);
  InvalidateRect(hwnd, nullptr, FALSE);
}

void TWin32FormA::TrackerKey(WPARAM key) {
  int32_t v = form_->TrackerValue();
  switch (key) {
    case VK_LEFT: case VK_DOWN: --v; break;
    case VK_RIGHT: case VK_UP: ++v; break;
    case VK_PRIOR: v -= tracker::kPageStep; break;
    case VK_NEXT: v += tracker::kPageStep; break;
    case VK_HOME: v = tracker::kMin; break;
    case VK_END: v = tracker::kMax; break;
    default: return;
  }
  v = std::clamp(v, tracker::kMin, tracker::kMax);
  if (v != form_->TrackerValue()) form_->jntrckr1ChangedValue(v);
  InvalidateRect(ControlWindow(C::jntrckr1), nullptr, FALSE);
}

void TWin32FormA::DrawAreaMouse(UINT msg, LPARAM lp) {
  const int x = GET_X_LPARAM(lp), y = GET_Y_LPARAM(lp);
  HWND area = ControlWindow(C::ImgDraw);
  TFormA& f = *form_;
  if (msg == WM_LBUTTONDOWN) {
    SetCapture(area);
    f.ImgDrawMouseDown(x, y);
    return;
  }
  if (msg == WM_LBUTTONUP) {
    ReleaseCapture();
    f.ImgDrawMouseUp();
    return;
  }
  // The labels let the mouse through; moving over them hides them.
  const POINT at{x, y};
  for (C label : {C::lblNotice, C::lblDrawArea}) {
    const ControlLayout& s = LayoutOf(label);
    const RECT r{s.x, s.y, s.x + s.width, s.y + s.height};
    if (f.Shown(label) && PtInRect(&r, at)) f.lblNoticeMouseMove();
  }
  StrokeStep step;
  if (f.ImgDrawMouseMove(x, y, step)) {
    PaintStrokeStep(*drawing_, step);
    InvalidateRect(area, nullptr, FALSE);
  }
}

namespace {
bool IsControl(int index) { return index >= 0 && index < kFormAControls; }
}  // namespace

void TWin32FormA::OnPaintChild(int id, HWND child, HDC dc) {
  const int index = id - kFirstControlId;
  if (form_ && IsControl(index)) PaintControl(static_cast<FormAControl>(index), child, dc);
}

LRESULT TWin32FormA::OnChildMessage(int id, HWND child, UINT msg, WPARAM wp, LPARAM lp) {
  if (!form_ || !IsControl(id - kFirstControlId)) return DefWindowProcW(child, msg, wp, lp);
  return HandleControl(static_cast<FormAControl>(id - kFirstControlId), child, msg, wp, lp);
}

LRESULT TWin32FormA::HandleControl(FormAControl id, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  if (HandleChildNotice(msg, wp, lp, result)) return result;
  const ControlKind kind = LayoutOf(id).kind;
  if (kind == ControlKind::Tracker) {
    switch (msg) {
      case WM_LBUTTONDOWN:
        SetFocus(hwnd);
        SetCapture(hwnd);
        trackerDragging_ = true;
        TrackerMouse(hwnd, GET_X_LPARAM(lp));
        return 0;
      case WM_MOUSEMOVE:
        if (trackerDragging_) TrackerMouse(hwnd, GET_X_LPARAM(lp));
        return 0;
      case WM_LBUTTONUP:
      case WM_CAPTURECHANGED:
        trackerDragging_ = false;
        if (msg == WM_LBUTTONUP) ReleaseCapture();
        return 0;
      case WM_KEYDOWN:
        TrackerKey(wp);
        return 0;
      case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
      case WM_SETFOCUS:
      case WM_KILLFOCUS:
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
      default:
        break;
    }
  } else if (kind == ControlKind::CloseButton) {
    switch (msg) {
      case WM_MOUSEMOVE:
        if (!closeHot_) {
          closeHot_ = true;
          TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, hwnd, 0};
          TrackMouseEvent(&t);
          InvalidateRect(hwnd, nullptr, FALSE);
        }
        return 0;
      case WM_MOUSELEAVE:
        closeHot_ = false;
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
      case WM_LBUTTONDOWN:
        closePressed_ = true;
        SetCapture(hwnd);
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
      case WM_LBUTTONUP: {
        const bool was = closePressed_;
        closePressed_ = false;
        ReleaseCapture();
        RECT r{};
        GetClientRect(hwnd, &r);
        const POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        InvalidateRect(hwnd, nullptr, FALSE);
        if (was && PtInRect(&r, at)) form_->btnOkClick();
        return 0;
      }
      default:
        break;
    }
  } else if (kind == ControlKind::DrawArea) {
    switch (msg) {
      case WM_LBUTTONDOWN:
      case WM_LBUTTONUP:
      case WM_MOUSEMOVE:
        DrawAreaMouse(msg, lp);
        return 0;
      case WM_SETCURSOR:
        if (LOWORD(lp) == HTCLIENT && cursor_) {
          SetCursor(cursor_);
          return TRUE;
        }
        break;
      default:
        break;
    }
  } else if (kind == ControlKind::Panel || kind == ControlKind::Image) {
    // Their background moves the window like the form's.
    if (msg == WM_LBUTTONDOWN) {
      DragWindow();
      return 0;
    }
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace pen::win32
