#include "ui/win32/Win32FormA.h"

#include <shellapi.h>

#include "service/HostMessages.h"
#include "ui/win32/DialogKeys.h"
#include "ui/win32/FormAPainting.h"
#include "ui/win32/WideText.h"

namespace pen::win32 {

namespace {

using C = FormAControl;

constexpr UINT_PTR kScreenshotTimer = 9;
constexpr UINT_PTR TimerId(FormATimer t) { return static_cast<UINT_PTR>(t) + 1; }

bool HasCaption(ControlKind k) {
  switch (k) {
    case ControlKind::Label:
    case ControlKind::Heading:
    case ControlKind::StatusPanel:
    case ControlKind::CheckBox:
    case ControlKind::Button:
    case ControlKind::Edit:
      return true;
    default:
      return false;
  }
}

DWORD AlignStyle(TextAlign a) {
  switch (a) {
    case TextAlign::Centre: return SS_CENTER;
    case TextAlign::Right: return SS_RIGHT;
    case TextAlign::Left: break;
  }
  return SS_LEFT;
}

// Children of these show on white.
bool OnWhite(FormAControl parent) { return parent == C::pnl1 || parent == C::ImgDraw; }

}  // namespace

TWin32FormA::TWin32FormA(TLanguage& language, IFileReader& files, IFormAChildren& children, std::string programFolder,
                         uint16_t uiLanguage)
    : language_(language), files_(files), children_(children), folder_(std::move(programFolder)),
      uiLanguage_(uiLanguage) {}

TWin32FormA::~TWin32FormA() {
  if (window_) {
    for (UINT_PTR id = 1; id <= kScreenshotTimer; ++id) KillTimer(window_, id);
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
  form_.reset();
  for (HCURSOR& c : cursors_) {
    if (c) DestroyCursor(c);
  }
  if (drawDc_) {
    SelectObject(drawDc_, drawOld_);
    DeleteDC(drawDc_);
  }
  for (HGDIOBJ o : {static_cast<HGDIOBJ>(drawBitmap_), static_cast<HGDIOBJ>(logo_), static_cast<HGDIOBJ>(penFull_),
                    static_cast<HGDIOBJ>(penBlanked_), static_cast<HGDIOBJ>(font_),
                    static_cast<HGDIOBJ>(headingFont_), static_cast<HGDIOBJ>(smallFont_),
                    static_cast<HGDIOBJ>(formBrush_), static_cast<HGDIOBJ>(whiteBrush_),
                    static_cast<HGDIOBJ>(foundBrush_), static_cast<HGDIOBJ>(notFoundBrush_)}) {
    if (o) DeleteObject(o);
  }
}

bool TWin32FormA::Create() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  // Unicode classes: the procedures hand every message, texts included, to
  // DefWindowProcW, and the title is a language text.
  WNDCLASSW wc{};
  wc.lpfnWndProc = &TWin32FormA::FormProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = L"TFormA";
  RegisterClassW(&wc);
  WNDCLASSW cc{};
  cc.style = CS_HREDRAW | CS_VREDRAW;
  cc.lpfnWndProc = &TWin32FormA::ControlProc;
  cc.hInstance = instance;
  cc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  cc.lpszClassName = L"TFormAControl";
  RegisterClassW(&cc);

  CreateFonts();
  formBrush_ = CreateSolidBrush(Colour(form_a::kFormColour));
  whiteBrush_ = CreateSolidBrush(RGB(0xFF, 0xFF, 0xFF));
  foundBrush_ = CreateSolidBrush(Colour(form_a::kFoundColour));
  notFoundBrush_ = CreateSolidBrush(Colour(form_a::kNotFoundColour));
  LoadPictures();

  window_ = CreateWindowExW(0, L"TFormA", L"", WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0,
                            form_a::kClientWidth, form_a::kClientHeight, nullptr, nullptr, instance, this);
  if (!window_) return false;
  TakeDialogKeys(window_);
  form_ = std::make_unique<TFormA>(
      TFormA::Environment{*this, *this, children_, language_, files_, folder_, uiLanguage_});
  CreateControls();
  ClearDrawBuffer();
  BuildCursor();
  Sync();
  return true;
}

void TWin32FormA::CreateFonts() {
  auto make = [](int height, int weight) {
    return CreateFontW(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"MS Shell Dlg 2");
  };
  font_ = make(12, FW_NORMAL);
  headingFont_ = make(13, FW_BOLD);
  smallFont_ = make(11, FW_BOLD);
}

void TWin32FormA::LoadPictures() {
  // A missing or unreadable picture leaves its place empty.
  logo_ = LoadPicture(folder_ + std::string(TFormA::kLogoFile));
  penFull_ = LoadPicture(folder_ + std::string(TFormA::kPenPictureFile));
  penBlanked_ = BlankedPenPicture(penFull_);
}

void TWin32FormA::CreateControls() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  for (const ControlLayout& s : FormAControls()) {
    HWND parent = s.parent == C::kNone ? window_ : ControlWindow(s.parent);
    const auto id = reinterpret_cast<HMENU>(static_cast<intptr_t>(kFirstControlId + Index(s.id)));
    const wchar_t* cls = L"TFormAControl";
    DWORD style = WS_CHILD;
    DWORD exStyle = 0;
    switch (s.kind) {
      case ControlKind::Label:
      case ControlKind::Heading:
        cls = L"STATIC";
        style |= AlignStyle(s.align);
        break;
      case ControlKind::StatusPanel:
        cls = L"STATIC";
        style |= SS_CENTER | SS_CENTERIMAGE;
        break;
      case ControlKind::CheckBox:
        cls = L"BUTTON";
        style |= BS_AUTOCHECKBOX | WS_TABSTOP;
        break;
      case ControlKind::Button:
        cls = L"BUTTON";
        style |= BS_OWNERDRAW | WS_TABSTOP;
        break;
      case ControlKind::Edit:
        cls = L"EDIT";
        style |= ES_CENTER | ES_LOWERCASE | ES_AUTOHSCROLL | WS_TABSTOP;
        exStyle = WS_EX_CLIENTEDGE;
        break;
      case ControlKind::ComboBox:
        cls = L"COMBOBOX";
        style |= CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
        break;
      case ControlKind::Tracker:
        style |= WS_TABSTOP;
        break;
      case ControlKind::Panel:
      case ControlKind::DrawArea:
        style |= WS_CLIPCHILDREN;
        break;
      default:
        break;
    }
    HWND hwnd = CreateWindowExW(exStyle, cls, L"", style, s.x, s.y, s.width, s.height, parent, id, instance, this);
    Control& c = controls_[static_cast<size_t>(Index(s.id))];
    c.hwnd = hwnd;
    c.visible = false;
    if (!hwnd) continue;
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(s.kind == ControlKind::Heading ? headingFont_ : font_),
                 FALSE);
    if (s.kind == ControlKind::Edit) SendMessageW(hwnd, EM_LIMITTEXT, 1, 0);
    if (s.kind == ControlKind::ComboBox) {
      for (const std::u16string& name : form_->LanguageNames()) {
        SendMessageW(hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(name).c_str()));
      }
    }
  }
}

void TWin32FormA::Sync() {
  if (!form_ || !window_) return;
  syncing_ = true;
  for (const ControlLayout& s : FormAControls()) {
    Control& c = controls_[static_cast<size_t>(Index(s.id))];
    if (!c.hwnd) continue;
    const ControlState& want = form_->Control(s.id);
    if (HasCaption(s.kind) && want.caption != c.caption) {
      c.caption = want.caption;
      SetWindowTextW(c.hwnd, Wide(c.caption).c_str());
      if (s.kind == ControlKind::StatusPanel || s.kind == ControlKind::Button) InvalidateRect(c.hwnd, nullptr, TRUE);
    }
    if (s.kind == ControlKind::CheckBox) {
      const bool on = SendMessageW(c.hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
      if (on != want.checked) SendMessageW(c.hwnd, BM_SETCHECK, want.checked ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    if (want.visible != c.visible) {
      c.visible = want.visible;
      ShowWindow(c.hwnd, c.visible ? SW_SHOWNA : SW_HIDE);
    }
  }
  InvalidateRect(ControlWindow(C::jntrckr1), nullptr, FALSE);
  InvalidateRect(ControlWindow(C::pnlFound), nullptr, TRUE);
  InvalidateRect(ControlWindow(C::img1), nullptr, FALSE);
  HWND list = ControlWindow(C::CBLanguage);
  const int count = static_cast<int>(SendMessageW(list, CB_GETCOUNT, 0, 0));
  const int want = form_->LanguageSelected() >= 0 && form_->LanguageSelected() < count ? form_->LanguageSelected() : -1;
  if (static_cast<int>(SendMessageW(list, CB_GETCURSEL, 0, 0)) != want) SendMessageW(list, CB_SETCURSEL, want, 0);
  SetWindowTextW(window_, Wide(language_.Slot(lan::kSettings)).c_str());
  syncing_ = false;
}

// --- IFormAView --------------------------------------------------------

namespace {
POINT CentredOrigin() {
  return {(GetSystemMetrics(SM_CXSCREEN) - form_a::kClientWidth) / 2,
          (GetSystemMetrics(SM_CYSCREEN) - form_a::kClientHeight) / 2};
}
}  // namespace

RECT TWin32FormA::DrawAreaOnScreen() {
  const POINT o = CentredOrigin();
  const ControlLayout& s = LayoutOf(C::pnlDrawArea);
  return {o.x + s.x, o.y + s.y, o.x + s.x + s.width, o.y + s.y + s.height};
}

void TWin32FormA::ShowForm() {
  if (!IsWindowEnabled(window_)) {
    // One of its windows is open, modally: that one is the one to work in.
    if (HWND open = GetWindow(window_, GW_ENABLEDPOPUP)) SetForegroundWindow(open);
    return;
  }
  if (IsWindowVisible(window_)) {
    SetForegroundWindow(window_);
    return;
  }
  const POINT o = CentredOrigin();
  SetWindowPos(window_, HWND_TOP, o.x, o.y, form_a::kClientWidth, form_a::kClientHeight, SWP_SHOWWINDOW);
  SetForegroundWindow(window_);
  if (!screenshotFile_.empty()) SetTimer(window_, kScreenshotTimer, screenshotMs_ ? screenshotMs_ : 1, nullptr);
}

void TWin32FormA::HideForm() { ShowWindow(window_, SW_HIDE); }

void TWin32FormA::Changed(FormAChange what) {
  if (!form_ || !window_) return;
  switch (what) {
    case FormAChange::Controls:
      Sync();
      break;
    case FormAChange::Chart:
      InvalidateRect(ControlWindow(C::PressureLine), nullptr, FALSE);
      InvalidateRect(ControlWindow(C::pbPressure), nullptr, FALSE);
      Sync();
      break;
    case FormAChange::DrawArea:
      ClearDrawBuffer();
      InvalidateRect(ControlWindow(C::ImgDraw), nullptr, FALSE);
      break;
    case FormAChange::Cursor:
      BuildCursor();
      break;
  }
}

void TWin32FormA::StartTimer(FormATimer t, uint32_t ms) {
  if (window_) SetTimer(window_, TimerId(t), ms, nullptr);
}

void TWin32FormA::StopTimer(FormATimer t) {
  if (window_) KillTimer(window_, TimerId(t));
}

void TWin32FormA::RequestPressureLine() {
  if (window_) PostMessageW(window_, kPressureLineRequest, 0, 0);
}

void TWin32FormA::ScreenshotAfterShow(const std::string& pngFile, uint32_t ms) {
  screenshotFile_ = pngFile;
  screenshotMs_ = ms;
}

// --- IFormADesktop -----------------------------------------------------

bool TWin32FormA::IsWindow(uintptr_t window) { return window && ::IsWindow(reinterpret_cast<HWND>(window)); }

void TWin32FormA::PostCommand(uintptr_t window, int64_t code, uint64_t wparam) {
  PostMessageA(reinterpret_cast<HWND>(window), host_msg::kServiceCommand, static_cast<WPARAM>(wparam),
               static_cast<LPARAM>(code));
}

void TWin32FormA::OpenAddress(const std::string& address) {
  ShellExecuteA(nullptr, nullptr, address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

// --- drawing -----------------------------------------------------------

void TWin32FormA::ClearDrawBuffer() {
  if (!drawDc_) {
    HDC screen = GetDC(nullptr);
    drawDc_ = CreateCompatibleDC(screen);
    drawBitmap_ = CreateCompatibleBitmap(screen, form_a::kDrawWidth, form_a::kDrawHeight);
    ReleaseDC(nullptr, screen);
    drawOld_ = SelectObject(drawDc_, drawBitmap_);
  }
  RECT all{0, 0, form_a::kDrawWidth, form_a::kDrawHeight};
  FillRect(drawDc_, &all, whiteBrush_);
}

void TWin32FormA::BuildCursor() {
  if (!form_) return;
  const int slot = form_->CursorSlot() == 2 ? 2 : 1;
  // The other slot holds the cursor on screen; this one was replaced 50 ms ago.
  if (cursors_[slot] && cursors_[slot] != currentCursor_) DestroyCursor(cursors_[slot]);
  cursors_[slot] = MakeTestAreaCursor(form_->Cursor());
  if (!cursors_[slot]) return;
  currentCursor_ = cursors_[slot];
  POINT at{};
  GetCursorPos(&at);
  if (WindowFromPoint(at) == ControlWindow(C::ImgDraw)) SetCursor(currentCursor_);
}

void TWin32FormA::PaintControl(FormAControl id, HWND hwnd, HDC dc) {
  RECT r{};
  GetClientRect(hwnd, &r);
  switch (LayoutOf(id).kind) {
    case ControlKind::Image:
      PaintPicture(dc, r, id == C::imglogo ? logo_ : (form_->PenPictureBlanked() ? penBlanked_ : penFull_));
      break;
    case ControlKind::Panel:
      PaintPanel(dc, r);
      break;
    case ControlKind::Tracker:
      PaintTracker(dc, r, form_->TrackerValue(), GetFocus() == hwnd, smallFont_);
      break;
    case ControlKind::Chart:
      PaintChart(dc, r, form_->Chart());
      break;
    case ControlKind::Bar:
      PaintBar(dc, r, form_->ShownPressure());
      break;
    case ControlKind::DrawArea:
      BitBlt(dc, 0, 0, r.right, r.bottom, drawDc_, 0, 0, SRCCOPY);
      break;
    case ControlKind::CloseButton:
      PaintCloseButton(dc, r, closeHot_ || closePressed_);
      break;
    default:
      break;
  }
}

// --- messages ----------------------------------------------------------

LRESULT CALLBACK TWin32FormA::FormProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    static_cast<TWin32FormA*>(cs->lpCreateParams)->window_ = hwnd;
  }
  auto* self = reinterpret_cast<TWin32FormA*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self || !self->form_) return DefWindowProcW(hwnd, msg, wp, lp);
  return self->HandleForm(msg, wp, lp);
}

LRESULT CALLBACK TWin32FormA::ControlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  }
  auto* self = reinterpret_cast<TWin32FormA*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  const int index = GetDlgCtrlID(hwnd) - kFirstControlId;
  if (!self || !self->form_ || index < 0 || index >= kFormAControls) return DefWindowProcW(hwnd, msg, wp, lp);
  return self->HandleControl(static_cast<FormAControl>(index), hwnd, msg, wp, lp);
}

bool TWin32FormA::HandleChildNotice(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  switch (msg) {
    case WM_COMMAND: {
      if (lp == 0 && LOWORD(wp) == IDCANCEL) {
        // Esc: closed as with its close button, which applies.
        form_->btnOkClick();
        result = 0;
        return true;
      }
      if (LOWORD(wp) == IDOK) {
        // Enter presses the focused button; the window has no default one.
        HWND focus = GetFocus();
        if (focus && IsChild(window_, focus) && (SendMessageW(focus, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON) &&
            (GetWindowLongW(focus, GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW) {
          SendMessageW(focus, BM_CLICK, 0, 0);
        }
        result = 0;
        return true;
      }
      const int index = LOWORD(wp) - kFirstControlId;
      if (index >= 0 && index < kFormAControls) OnCommand(static_cast<FormAControl>(index), HIWORD(wp),
                                                          reinterpret_cast<HWND>(lp));
      result = 0;
      return true;
    }
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      PaintFlatButton(*item, font_);
      result = TRUE;
      return true;
    }
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wp);
      const int index = GetDlgCtrlID(reinterpret_cast<HWND>(lp)) - kFirstControlId;
      if (index < 0 || index >= kFormAControls) return false;
      const auto id = static_cast<FormAControl>(index);
      SetBkMode(dc, TRANSPARENT);
      if (id == C::pnlFound) {
        const bool found = form_->TabletFound();
        SetTextColor(dc, found ? RGB(0, 0, 0) : RGB(0xE0, 0, 0));
        SetBkColor(dc, Colour(found ? form_a::kFoundColour : form_a::kNotFoundColour));
        result = reinterpret_cast<LRESULT>(found ? foundBrush_ : notFoundBrush_);
        return true;
      }
      SetTextColor(dc, id == C::lblVer ? RGB(0x50, 0x50, 0x50) : RGB(0x10, 0x10, 0x10));
      const bool white = OnWhite(LayoutOf(id).parent);
      SetBkColor(dc, white ? RGB(0xFF, 0xFF, 0xFF) : Colour(form_a::kFormColour));
      result = reinterpret_cast<LRESULT>(white ? whiteBrush_ : formBrush_);
      return true;
    }
    default:
      return false;
  }
}

void TWin32FormA::OnCommand(FormAControl id, UINT code, HWND from) {
  if (syncing_) return;
  TFormA& f = *form_;
  const bool checked = SendMessageW(from, BM_GETCHECK, 0, 0) == BST_CHECKED;
  switch (id) {
    case C::chkUseInk:
      if (code == BN_CLICKED) f.chkUseInkMouseUp(checked);
      break;
    case C::chkLeftHand:
      if (code == BN_CLICKED) f.chkLeftHandMouseUp(checked);
      break;
    case C::chk1:
    case C::chk2:
    case C::chk3:
      if (code == BN_CLICKED) f.ModifierClick(id, checked);
      break;
    case C::edt1:
      if (code == EN_CHANGE) {
        wchar_t text[8] = {};
        GetWindowTextW(from, text, 8);
        f.edt1Change(FromWide(text));
        Sync();
      }
      break;
    case C::CBLanguage:
      if (code == CBN_SELCHANGE) f.ScreenMappingChange(static_cast<int>(SendMessageW(from, CB_GETCURSEL, 0, 0)));
      break;
    case C::btnResetKey:
      if (code == BN_CLICKED) f.btnResetKeyClick();
      break;
    case C::btnResetPressure:
      if (code == BN_CLICKED) f.btnResetPressureClick();
      break;
    case C::btnShowMapForm:
      if (code == BN_CLICKED) f.btnShowMapFormClick();
      break;
    case C::BtnKeyDefine:
      if (code == BN_CLICKED) f.BtnKeyDefineClick();
      break;
    case C::BtnResetAll:
      if (code == BN_CLICKED) f.BtnResetAllClick();
      break;
    case C::btnInternet:
      if (code == BN_CLICKED) f.btnInternetClick();
      break;
    case C::btnClearImage:
      if (code == BN_CLICKED) f.btnClearImageClick();
      break;
    default:
      break;
  }
}

LRESULT TWin32FormA::HandleForm(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  if (HandleChildNotice(msg, wp, lp, result)) return result;
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window_, &ps);
      RECT r{};
      GetClientRect(window_, &r);
      FillRect(dc, &r, formBrush_);
      HBRUSH frame = CreateSolidBrush(Colour(form_a::kFrameColour));
      FrameRect(dc, &r, frame);
      DeleteObject(frame);
      EndPaint(window_, &ps);
      return 0;
    }
    case WM_LBUTTONDOWN:
      // The background moves the window: there is no caption to hold.
      ReleaseCapture();
      SendMessageW(window_, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
      return 0;
    case WM_TIMER:
      if (wp == kScreenshotTimer) {
        KillTimer(window_, kScreenshotTimer);
        SaveWindowShot(window_, screenshotFile_);
        screenshotFile_.clear();
      } else if (wp >= TimerId(FormATimer::PressureLine) && wp <= TimerId(FormATimer::Cursor)) {
        form_->OnTimer(static_cast<FormATimer>(wp - 1));
      }
      return 0;
    case kPressureLineRequest:
      form_->PressureLineRequested();
      return 0;
    case WM_CLOSE:
      // Alt+F4 closes like the close button; the window itself stays.
      form_->btnOkClick();
      return 0;
    case WM_ACTIVATE:
      // As a dialog does: the control that had the keyboard gets it back.
      if (LOWORD(wp) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(window_, focus)) lastFocus_ = focus;
      } else if (!HIWORD(wp)) {
        HWND to = lastFocus_ && IsWindowVisible(lastFocus_) && IsWindowEnabled(lastFocus_)
                      ? lastFocus_
                      : GetNextDlgTabItem(window_, nullptr, FALSE);
        SetFocus(to ? to : window_);
      }
      return 0;
    default:
      return DefWindowProcW(window_, msg, wp, lp);
  }
}

}  // namespace pen::win32
