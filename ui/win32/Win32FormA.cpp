#include "ui/win32/Win32FormA.h"

#include <shellapi.h>

#include "common/ModalGate.h"
#include "service/HostMessages.h"
#include "ui/win32/DialogKeys.h"
#include "ui/win32/FormAPainting.h"
#include "ui/win32/WideText.h"

namespace pen::win32 {

namespace {

using C = FormAControl;

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
  Destroy();
  form_.reset();
}

bool TWin32FormA::Create() {
  if (!RegisterChildClass({kControlClass, CS_HREDRAW | CS_VREDRAW})) return false;
  CreateFonts();
  formBrush_ = SolidBrush(Colour(form_a::kFormColour));
  whiteBrush_ = SolidBrush(RGB(0xFF, 0xFF, 0xFF));
  foundBrush_ = SolidBrush(Colour(form_a::kFoundColour));
  notFoundBrush_ = SolidBrush(Colour(form_a::kNotFoundColour));
  LoadPictures();

  Style style;
  style.style = WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX;
  style.width = form_a::kClientWidth;
  style.height = form_a::kClientHeight;
  if (!CreateWindowOf({kClassName}, style)) return false;
  TakeDialogKeys(Window());
  form_ = std::make_unique<TFormA>(
      TFormA::Environment{*this, *this, children_, language_, files_, folder_, uiLanguage_});
  CreateControls();
  ClearDrawBuffer();
  BuildCursor();
  Sync();
  return true;
}

void TWin32FormA::CreateFonts() {
  font_ = DialogFont(12, FW_NORMAL);
  headingFont_ = DialogFont(13, FW_BOLD);
  smallFont_ = DialogFont(11, FW_BOLD);
}

void TWin32FormA::LoadPictures() {
  // A missing or unreadable picture leaves its place empty.
  logo_ = LoadPicture(folder_ + std::string(TFormA::kLogoFile));
  penFull_ = LoadPicture(folder_ + std::string(TFormA::kPenPictureFile));
  penBlanked_ = BlankedPenPicture(penFull_);
}

void TWin32FormA::CreateControls() {
  for (const ControlLayout& s : FormAControls()) {
    HWND parent = s.parent == C::kNone ? Window() : ControlWindow(s.parent);
    const wchar_t* cls = kControlClass;
    DWORD style = 0;
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
    const RECT box{s.x, s.y, s.x + s.width, s.y + s.height};
    HWND hwnd = CreateChild(cls, style, exStyle, kFirstControlId + Index(s.id), box, parent);
    Control& c = controls_[static_cast<size_t>(Index(s.id))];
    c.hwnd = hwnd;
    c.visible = false;
    if (!hwnd) continue;
    HFONT font = s.kind == ControlKind::Heading ? headingFont_ : font_;
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (s.kind == ControlKind::Edit) SendMessageW(hwnd, EM_LIMITTEXT, 1, 0);
    if (s.kind == ControlKind::ComboBox) {
      for (const std::u16string& name : form_->LanguageNames()) {
        SendMessageW(hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(name).c_str()));
      }
    }
  }
}

void TWin32FormA::Sync() {
  if (!form_ || !Window()) return;
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
  SetTitle(language_.Slot(lan::kSettings));
  syncing_ = false;
}

// --- IFormAView --------------------------------------------------------

RECT TWin32FormA::DrawAreaOnScreen() {
  const POINT o = CentredOrigin(form_a::kClientWidth, form_a::kClientHeight);
  const ControlLayout& s = LayoutOf(C::pnlDrawArea);
  return {o.x + s.x, o.y + s.y, o.x + s.x + s.width, o.y + s.y + s.height};
}

void TWin32FormA::ShowForm() {
  if (!IsWindowEnabled(Window())) {
    // One of its windows is open, modally: that one is the one to work in.
    if (HWND open = GetWindow(Window(), GW_ENABLEDPOPUP)) SetForegroundWindow(open);
    return;
  }
  if (IsWindowVisible(Window())) {
    SetForegroundWindow(Window());
    return;
  }
  ShowCentred(HWND_TOP);
}

void TWin32FormA::HideForm() { ShowWindow(Window(), SW_HIDE); }

void TWin32FormA::Changed(FormAChange what) {
  if (!form_ || !Window()) return;
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
  if (Window()) SetTimer(Window(), TimerId(t), ms, nullptr);
}

void TWin32FormA::StopTimer(FormATimer t) {
  if (Window()) KillTimer(Window(), TimerId(t));
}

void TWin32FormA::RequestPressureLine() {
  if (Window()) PostMessageW(Window(), kPressureLineRequest, 0, 0);
}

// --- IFormADesktop -----------------------------------------------------

bool TWin32FormA::IsWindow(uintptr_t window) { return window && ::IsWindow(reinterpret_cast<HWND>(window)); }

void TWin32FormA::PostCommand(uintptr_t window, int64_t code, uint64_t wparam) {
  PostMessageW(reinterpret_cast<HWND>(window), host_msg::kServiceCommand, static_cast<WPARAM>(wparam),
               static_cast<LPARAM>(code));
}

void TWin32FormA::OpenAddress(const std::string& address) {
  ShellExecuteW(nullptr, nullptr, WidePath(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

// --- drawing -----------------------------------------------------------

void TWin32FormA::ClearDrawBuffer() {
  if (!drawing_) drawing_.emplace(nullptr, form_a::kDrawWidth, form_a::kDrawHeight);
  RECT all{0, 0, form_a::kDrawWidth, form_a::kDrawHeight};
  FillRect(*drawing_, &all, whiteBrush_);
}

void TWin32FormA::BuildCursor() {
  if (!form_) return;
  TCursor made(MakeTestAreaCursor(form_->Cursor()));
  if (!made) return;
  // The one replaced now may be on screen until the new one is set; the one
  // before it, replaced 50 ms ago, is not.
  previousCursor_ = std::move(cursor_);
  cursor_ = std::move(made);
  POINT at{};
  GetCursorPos(&at);
  if (WindowFromPoint(at) == ControlWindow(C::ImgDraw)) SetCursor(cursor_);
}

void TWin32FormA::PaintControl(FormAControl id, HWND hwnd, HDC dc) {
  RECT r{};
  GetClientRect(hwnd, &r);
  switch (LayoutOf(id).kind) {
    case ControlKind::Image:
      PaintPicture(dc, r, id == C::imglogo ? logo_.Get() : (form_->PenPictureBlanked() ? penBlanked_ : penFull_).Get());
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
      BitBlt(dc, 0, 0, r.right, r.bottom, *drawing_, 0, 0, SRCCOPY);
      break;
    case ControlKind::CloseButton:
      PaintCloseButton(dc, r, closeHot_ || closePressed_);
      break;
    default:
      break;
  }
}

// --- messages ----------------------------------------------------------

bool TWin32FormA::HandleChildNotice(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  switch (msg) {
    case WM_COMMAND: {
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
        result = reinterpret_cast<LRESULT>(found ? foundBrush_.Get() : notFoundBrush_.Get());
        return true;
      }
      SetTextColor(dc, id == C::lblVer ? RGB(0x50, 0x50, 0x50) : RGB(0x10, 0x10, 0x10));
      const bool white = OnWhite(LayoutOf(id).parent);
      SetBkColor(dc, white ? RGB(0xFF, 0xFF, 0xFF) : Colour(form_a::kFormColour));
      result = reinterpret_cast<LRESULT>(white ? whiteBrush_.Get() : formBrush_.Get());
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
      if (code == BN_CLICKED && OpensAtTopLevel(id)) f.btnShowMapFormClick();
      break;
    case C::BtnKeyDefine:
      if (code == BN_CLICKED && OpensAtTopLevel(id)) f.BtnKeyDefineClick();
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

// A click handled inside a wait that runs messages (the show delay, the
// report-mode retry, the device-memory wait) would open its window there and
// hold the wait, its clock running, until the user closed the window.
bool TWin32FormA::OpensAtTopLevel(FormAControl id) {
  const Event<> repost = id == C::btnShowMapForm ? Event<>::Bind<&TWin32FormA::RepostShowMapForm>(this)
                                                 : Event<>::Bind<&TWin32FormA::RepostKeyDefine>(this);
  return TModalGate::ForThisThread().OpenNowOrLater(repost);
}

void TWin32FormA::RepostClick(FormAControl id) {
  const HWND button = ControlWindow(id);
  if (button == nullptr) return;
  PostMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(kFirstControlId + Index(id), BN_CLICKED),
               reinterpret_cast<LPARAM>(button));
}

void TWin32FormA::OnPaint(HDC dc) {
  RECT r{};
  GetClientRect(Window(), &r);
  FillRect(dc, &r, formBrush_);
  Frame(dc, r, Colour(form_a::kFrameColour));
}

void TWin32FormA::OnTimer(UINT_PTR id) {
  if (form_ && id >= TimerId(FormATimer::PressureLine) && id <= TimerId(FormATimer::Cursor)) {
    form_->OnTimer(static_cast<FormATimer>(id - 1));
  }
}

void TWin32FormA::OnClose() {
  // Alt+F4 and Esc close as the close button does, which applies; the
  // window itself stays.
  if (form_) form_->btnOkClick();
}

void TWin32FormA::OnEnter() {
  // Enter presses the focused button; the window has no default one.
  HWND focus = GetFocus();
  if (focus && IsChild(Window(), focus) && (SendMessageW(focus, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON) &&
      (GetWindowLongW(focus, GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW) {
    SendMessageW(focus, BM_CLICK, 0, 0);
  }
}

LRESULT TWin32FormA::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (!form_) return DefWindowProcW(Window(), msg, wp, lp);
  LRESULT result = 0;
  if (HandleChildNotice(msg, wp, lp, result)) return result;
  switch (msg) {
    case WM_LBUTTONDOWN:
      DragWindow();
      return 0;
    case kPressureLineRequest:
      form_->PressureLineRequested();
      return 0;
    case WM_ACTIVATE:
      // As a dialog does: the control that had the keyboard gets it back.
      if (LOWORD(wp) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(Window(), focus)) lastFocus_ = focus;
      } else if (!HIWORD(wp)) {
        HWND to = lastFocus_ && IsWindowVisible(lastFocus_) && IsWindowEnabled(lastFocus_)
                      ? lastFocus_
                      : GetNextDlgTabItem(Window(), nullptr, FALSE);
        SetFocus(to ? to : Window());
      }
      return 0;
    default:
      return DefWindowProcW(Window(), msg, wp, lp);
  }
}

}  // namespace pen::win32
