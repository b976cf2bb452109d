#include "ui/win32/Win32SetKeys.h"

#include <algorithm>

#include "ui/FormALayout.h"
#include "ui/win32/DialogKeys.h"
#include "ui/win32/FormAPainting.h"
#include "ui/win32/WideText.h"

namespace pen::win32 {

namespace {

constexpr uint32_t kFrameColour = 8421504;
constexpr COLORREF kPanelFace = RGB(0x3C, 0x3F, 0x44);
constexpr COLORREF kPanelShadow = RGB(0xA8, 0xA8, 0xA8);
constexpr COLORREF kRingFace = RGB(0x4C, 0x50, 0x56);
constexpr COLORREF kRingEdge = RGB(0x70, 0x75, 0x7C);
constexpr COLORREF kKeyFace = RGB(0xE8, 0xE8, 0xE8);
constexpr COLORREF kKeyHot = RGB(0xF8, 0xF8, 0xF8);
constexpr COLORREF kKeySelected = RGB(0x1E, 0x6F, 0xC8);
constexpr COLORREF kCheckMark = RGB(0x1A, 0x8A, 0x3A);
constexpr COLORREF kAccent = RGB(0x1E, 0x6F, 0xC8);
constexpr int kCloseSize = 32;
constexpr int kShadow = 4;

void Circle(HDC dc, int left, int top, int diameter, COLORREF face, COLORREF edge) {
  const TBrush brush = SolidBrush(face);
  const TPen pen = SolidPen(edge, 2);
  const TSelection useBrush(dc, brush), usePen(dc, pen);
  Ellipse(dc, left, top, left + diameter, top + diameter);
}

// The model's captions break lines with a lone carriage return.
std::wstring Lines(const std::string& ansi) {
  std::wstring out;
  for (wchar_t c : WidePath(ansi)) {
    out += c;
    if (c == L'\r') out += L'\n';
  }
  return out;
}

RECT Shifted(const Box& b, const Box& by) {
  return {b.left + by.left, b.top + by.top, b.left + by.left + b.width, b.top + by.top + b.height};
}

}  // namespace

TWin32SetKeys::TWin32SetKeys(const SetKeysModel& model, const IKeyboardLayout& layout, TLanguage& language)
    : model_(model), language_(language), keys_(model, layout) {}

TWin32SetKeys::~TWin32SetKeys() { Destroy(); }

bool TWin32SetKeys::Create(HWND owner) {
  if (!RegisterChildClass({kButtonClass, CS_HREDRAW | CS_VREDRAW, IDC_HAND})) return false;
  font_ = DialogFont(12, FW_NORMAL);
  bigFont_ = DialogFont(36, FW_BOLD);
  keyFont_ = DialogFont(12, FW_BOLD);
  sideFont_ = DialogFont(11, FW_BOLD, 900);
  formBrush_ = SolidBrush(Colour(form_a::kFormColour));
  whiteBrush_ = SolidBrush(RGB(0xFF, 0xFF, 0xFF));

  Style style;
  style.style = WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU;
  style.width = model_.clientWidth;
  style.height = model_.clientHeight;
  style.owner = owner;
  if (!CreateWindowOf({kClassName}, style)) return false;
  TakeDialogKeys(Window());
  CreateControls();
  return true;
}

HWND TWin32SetKeys::MakeControl(const wchar_t* cls, DWORD style, DWORD exStyle, int id, const RECT& box,
                                const wchar_t* text) {
  HWND hwnd = CreateChild(cls, WS_VISIBLE | style, exStyle, id, box, nullptr, text);
  if (hwnd) SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
  return hwnd;
}

void TWin32SetKeys::CreateControls() {
  namespace e = set_keys_editor;
  const Box& ed = model_.editor;
  for (size_t k = 1; k <= model_.buttons; ++k) {
    MakeControl(kButtonClass, WS_TABSTOP, 0, kFirstButtonId + static_cast<int>(k),
                Shifted(SetKeysButtonBox(model_, k), model_.panel), L"");
  }
  MakeControl(L"STATIC", SS_LEFT, 0, kButtonNoId, Shifted(e::kButtonNoLabel, ed), L"");
  HWND number = MakeControl(L"STATIC", SS_CENTER, 0, kNumberId, Shifted(e::kButtonNumber, ed), L"1");
  SendMessageW(number, WM_SETFONT, reinterpret_cast<WPARAM>(bigFont_.Get()), FALSE);
  HWND chooser =
      MakeControl(L"COMBOBOX", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, 0, kChooserId,
                  Shifted(e::kChooser, ed), L"");
  for (const CatalogueEntry& entry : KeyCatalogue) {
    SendMessageW(chooser, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WidePath(std::string(entry.name)).c_str()));
  }
  MakeControl(L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0, kShiftId, Shifted(e::kShift, ed), L"Shift");
  MakeControl(L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0, kCtrlId, Shifted(e::kCtrl, ed), L"Ctrl");
  MakeControl(L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0, kAltId, Shifted(e::kAlt, ed), L"Alt");
  MakeControl(L"STATIC", SS_CENTER, WS_EX_CLIENTEDGE, kResultId, Shifted(e::kPreview, ed), L"");
  MakeControl(kButtonClass, WS_TABSTOP, 0, kApplyId, Shifted(e::kApply, ed), L"");
  MakeControl(kButtonClass, WS_TABSTOP, 0, kResetId, Shifted(e::kReset, ed), L"");
  MakeControl(kButtonClass, WS_TABSTOP, 0, kCloseId,
              {model_.clientWidth - kCloseSize - 6, 6, model_.clientWidth - 6, 6 + kCloseSize}, L"");
}

// --- showing and closing ---------------------------------------------------

bool TWin32SetKeys::ShowModal(ButtonDefinitions& definitions) {
  if (!Window() || open_) return false;
  keys_.SetDefinitions(&definitions);
  keys_.FormShow(language_.Slot(lan::kButtonNumber), language_.Slot(lan::kKeyDefault));
  open_ = true;
  closing_ = false;
  result_ = false;
  Sync();
  SetTitle(language_.Slot(lan::kKeyDefine));
  BeginModal(HWND_TOP);
  // The keyboard starts in the key chooser.
  SetFocus(Control(kChooserId));
  // A quit closes the window, with its commit, and is passed on.
  if (!RunModalLoop(closing_)) Close();
  EndModal();
  open_ = false;
  // The definitions belong to the caller, who may let them go now.
  keys_.SetDefinitions(nullptr);
  return result_;
}

void TWin32SetKeys::BringToFront() {
  if (open_) SetForegroundWindow(Window());
}

void TWin32SetKeys::Close() {
  if (!open_ || closing_) return;
  result_ = keys_.CloseBtnClick();
  closing_ = true;
  // Wakes the modal loop when it waits for a message.
  PostMessageW(Window(), WM_NULL, 0, 0);
}

// --- what the model shows --------------------------------------------------

void TWin32SetKeys::Sync() {
  syncing_ = true;
  for (size_t k = 1; k <= model_.buttons; ++k) {
    const std::wstring caption = Lines(keys_.ButtonCaption(k));
    HWND button = Control(kFirstButtonId + static_cast<int>(k));
    if (caption != shownCaptions_[k - 1]) {
      shownCaptions_[k - 1] = caption;
      SetWindowTextW(button, caption.c_str());
    }
    InvalidateRect(button, nullptr, FALSE);  // the selection may have moved
  }
  SetWindowTextW(Control(kNumberId), std::to_wstring(keys_.SelectedButton()).c_str());
  SetWindowTextW(Control(kButtonNoId), Wide(keys_.ButtonNoText()).c_str());
  SetWindowTextW(Control(kResultId), Lines(keys_.Result()).c_str());
  InvalidateRect(Control(kResetId), nullptr, FALSE);
  const std::pair<int, bool> checks[] = {{kShiftId, keys_.Shift()}, {kCtrlId, keys_.Ctrl()}, {kAltId, keys_.Alt()}};
  for (const auto& [id, on] : checks) SendMessageW(Control(id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);

  HWND chooser = Control(kChooserId);
  if (static_cast<int>(SendMessageW(chooser, CB_GETCURSEL, 0, 0)) != keys_.ComboIndex()) {
    SendMessageW(chooser, CB_SETCURSEL, static_cast<WPARAM>(keys_.ComboIndex()), 0);
  }
  wchar_t shown[64] = {};
  GetWindowTextW(chooser, shown, 64);
  const std::wstring want = WidePath(keys_.ComboText());
  if (want != shown) {
    SetWindowTextW(chooser, want.c_str());
    const auto end = static_cast<WORD>(want.size());
    SendMessageW(chooser, CB_SETEDITSEL, 0, MAKELPARAM(end, end));
  }
  syncing_ = false;
}

void TWin32SetKeys::OnCommand(int id, UINT code, HWND from) {
  if (syncing_) return;
  const bool checked = SendMessageW(from, BM_GETCHECK, 0, 0) == BST_CHECKED;
  switch (id) {
    case kChooserId:
      if (code == CBN_EDITCHANGE) {
        wchar_t text[64] = {};
        GetWindowTextW(from, text, 64);
        keys_.cbb1Change(Ansi(text));
      } else if (code == CBN_SELCHANGE) {
        keys_.cbb1Select(static_cast<int>(SendMessageW(from, CB_GETCURSEL, 0, 0)));
      } else {
        return;
      }
      break;
    case kShiftId:
      if (code != BN_CLICKED) return;
      keys_.chkShiftMouseUp(checked);
      break;
    case kCtrlId:
      if (code != BN_CLICKED) return;
      keys_.chkCtrlMouseUp(checked);
      break;
    case kAltId:
      if (code != BN_CLICKED) return;
      keys_.chkAltMouseUp(checked);
      break;
    default:
      return;
  }
  Sync();
}

void TWin32SetKeys::OnClick(int id) {
  if (id == kCloseId) {
    Close();
    return;
  }
  if (id == kApplyId) {
    keys_.BtnUpdateClick();
  } else if (id == kResetId) {
    keys_.BtnResetClick();
  } else if (id > kFirstButtonId && id <= kFirstButtonId + static_cast<int>(model_.buttons)) {
    keys_.FlatBtnClick(static_cast<size_t>(id - kFirstButtonId));
  }
  Sync();
}

void TWin32SetKeys::OnEnter() {
  HWND focus = GetFocus();
  const int id = focus && GetParent(focus) == Window() ? GetDlgCtrlID(focus) : 0;
  const bool flatButton = id == kApplyId || id == kResetId || id == kCloseId ||
                          (id > kFirstButtonId && id <= kFirstButtonId + static_cast<int>(model_.buttons));
  OnClick(flatButton ? id : kApplyId);
}

// --- drawing ---------------------------------------------------------------

void TWin32SetKeys::OnPaint(HDC dc) {
  RECT all{};
  GetClientRect(Window(), &all);
  FillRect(dc, &all, formBrush_);
  Frame(dc, all, Colour(kFrameColour));
  // GroupBox1, drawn here: a group box control over the editor would hide
  // the background behind its children.
  const Box& ed = model_.editor;
  RECT group{ed.left, ed.top, ed.left + ed.width, ed.top + ed.height};
  DrawEdge(dc, &group, EDGE_ETCHED, BF_RECT);
  const Box& p = model_.panel;
  const RECT shadow{p.left + kShadow, p.top + kShadow, p.left + p.width + kShadow, p.top + p.height + kShadow};
  Fill(dc, shadow, kPanelShadow);
  const RECT panel{p.left, p.top, p.left + p.width, p.top + p.height};
  Fill(dc, panel, kPanelFace);
  if (model_.layout == KeySetupLayout::Ring || model_.layout == KeySetupLayout::RingNarrowKeys) {
    const int left = p.left + (p.width - kRingDiameter) / 2, top = p.top + model_.ringTop;
    Circle(dc, left, top, kRingDiameter, kRingFace, kRingEdge);  // shpRound
    const int inset = (kRingDiameter - kSmallRingDiameter) / 2;
    Circle(dc, left + inset, top + inset, kSmallRingDiameter, kPanelFace, kRingEdge);  // shpRoundSmall
  }
}

void TWin32SetKeys::PaintButton(int id, HWND hwnd, HDC dc) {
  RECT r{};
  GetClientRect(hwnd, &r);
  const bool hot = hotId_ == id, pressed = pressedId_ == id && hot;
  const int w = r.right - r.left, h = r.bottom - r.top;
  SetBkMode(dc, TRANSPARENT);
  if (id == kCloseId) {
    PaintCloseButton(dc, r, hot || pressed);
    return;
  }
  if (id == kApplyId) {
    Fill(dc, r, hot ? kAccent : Colour(form_a::kFormColour));
    const COLORREF mark = pressed ? RGB(0xE0, 0x10, 0x10) : hot ? RGB(0xFF, 0xFF, 0xFF) : kCheckMark;
    const TPen pen = SolidPen(mark, 4);
    const TSelection use(dc, pen);
    const POINT tick[] = {{w / 5, h / 2}, {w * 2 / 5, h * 3 / 4}, {w * 4 / 5, h / 4}};
    Polyline(dc, tick, 3);
    return;
  }
  if (id == kResetId) {
    Fill(dc, r, pressed ? RGB(0xCC, 0xE4, 0xF7) : hot ? RGB(0xE5, 0xF1, 0xFB) : RGB(0xFF, 0xFF, 0xFF));
    Frame(dc, r, RGB(0xA0, 0xA0, 0xA0));
    const TSelection use(dc, font_);
    SetTextColor(dc, RGB(0x20, 0x20, 0x20));
    const std::wstring text = Wide(keys_.ResetText());
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    return;
  }
  // A tablet button: the selected one is drawn pressed, as is one under a
  // held mouse button.
  const size_t k = static_cast<size_t>(id - kFirstButtonId);
  const bool down = keys_.SelectedButton() == k || pressed;
  Fill(dc, r, down ? kKeySelected : hot ? kKeyHot : kKeyFace);
  Frame(dc, r, down ? RGB(0x10, 0x40, 0x80) : RGB(0x20, 0x20, 0x20));
  SetTextColor(dc, down ? RGB(0xFF, 0xFF, 0xFF) : RGB(0x20, 0x20, 0x20));
  const std::wstring& caption = shownCaptions_[k - 1];
  if (w < 40) {
    // Too narrow for a line of text: the caption runs upwards.
    std::wstring line = caption;
    std::replace(line.begin(), line.end(), L'\r', L' ');
    line.erase(std::remove(line.begin(), line.end(), L'\n'), line.end());
    const TSelection use(dc, sideFont_);
    SIZE size{};
    GetTextExtentPoint32W(dc, line.c_str(), static_cast<int>(line.size()), &size);
    const int x = (w - 12) / 2, y = std::min(h - 2, (h + static_cast<int>(size.cx)) / 2);
    IntersectClipRect(dc, 1, 1, w - 1, h - 1);
    TextOutW(dc, x, y, line.c_str(), static_cast<int>(line.size()));
    return;
  }
  const TSelection use(dc, keyFont_);
  RECT measure{4, 0, w - 4, 0};
  DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &measure, DT_CENTER | DT_WORDBREAK | DT_CALCRECT);
  const int textHeight = measure.bottom - measure.top;
  RECT t{4, std::max(0, (h - textHeight) / 2), w - 4, h};
  DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &t, DT_CENTER | DT_WORDBREAK);
}

// --- messages --------------------------------------------------------------

void TWin32SetKeys::OnPaintChild(int id, HWND child, HDC dc) {
  PaintButton(id, child, dc);
  if (GetFocus() == child) {
    RECT r{};
    GetClientRect(child, &r);
    InflateRect(&r, -3, -3);
    DrawFocusRect(dc, &r);
  }
}

LRESULT TWin32SetKeys::OnChildMessage(int id, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_MOUSEMOVE: {
      const POINT at{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      RECT r{};
      GetClientRect(hwnd, &r);
      const bool inside = PtInRect(&r, at);
      if (inside && hotId_ != id) {
        hotId_ = id;
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd, 0};
        TrackMouseEvent(&track);
        InvalidateRect(hwnd, nullptr, FALSE);
      } else if (!inside && hotId_ == id) {
        hotId_ = 0;
        InvalidateRect(hwnd, nullptr, FALSE);
      }
      return 0;
    }
    case WM_MOUSELEAVE:
      if (hotId_ == id && GetCapture() != hwnd) {
        hotId_ = 0;
        InvalidateRect(hwnd, nullptr, FALSE);
      }
      return 0;
    case WM_LBUTTONDOWN:
      SetCapture(hwnd);
      pressedId_ = id;
      hotId_ = id;
      InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    case WM_LBUTTONUP: {
      const bool click = pressedId_ == id && hotId_ == id;
      pressedId_ = 0;
      ReleaseCapture();
      InvalidateRect(hwnd, nullptr, FALSE);
      if (click) OnClick(id);
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (pressedId_ == id) {
        pressedId_ = 0;
        InvalidateRect(hwnd, nullptr, FALSE);
      }
      return 0;
    case WM_GETDLGCODE:
      return DLGC_BUTTON;
    case WM_KEYUP:
      // Space presses the focused button, as it does a push button.
      if (wp == VK_SPACE) OnClick(id);
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    default:
      return DefWindowProcW(hwnd, msg, wp, lp);
  }
}

LRESULT TWin32SetKeys::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
      return 0;
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wp);
      const bool result = GetDlgCtrlID(reinterpret_cast<HWND>(lp)) == kResultId;
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, RGB(0x10, 0x10, 0x10));
      SetBkColor(dc, result ? RGB(0xFF, 0xFF, 0xFF) : Colour(form_a::kFormColour));
      return reinterpret_cast<LRESULT>(result ? whiteBrush_.Get() : formBrush_.Get());
    }
    case WM_LBUTTONDOWN:
      DragWindow();
      return 0;
    default:
      return DefWindowProcW(Window(), msg, wp, lp);
  }
}

}  // namespace pen::win32
