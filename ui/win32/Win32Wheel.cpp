#include "ui/win32/Win32Wheel.h"

#include <algorithm>
#include <string>

#include "ui/FaceGeometry.h"
#include "ui/win32/DialogKeys.h"
#include "ui/win32/WideText.h"

namespace pen::win32 {

namespace {
const WindowClass kDefineKeyClass{L"PenCustomKey"};
const WindowClass kWheelClass{L"PenWheelSettings"};
const WindowClass kListClass{L"PenWheelList"};

constexpr COLORREF kBackground = RGB(250, 250, 250);
constexpr COLORREF kTitlePanel = RGB(228, 232, 238);
constexpr COLORREF kDefineKeyFrame = 12632256;
constexpr COLORREF kShadow = RGB(200, 200, 200);
constexpr COLORREF kDark = RGB(48, 48, 48);

std::wstring W(std::u16string_view s) { return Wide(s); }

void Text(HDC dc, const std::wstring& text, RECT r, UINT format, int height = 15, int weight = FW_NORMAL) {
  const TFont font = DialogFont(height, weight);
  const TSelection f(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, format | DT_NOPREFIX);
}

bool Checked(HWND control) { return SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED; }
void Check(HWND control, bool on) { SendMessageW(control, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0); }

// A turn of the wheel, drawn: a three-quarter circle with its arrowhead,
// anticlockwise for the left turn.
void TurnPicture(HDC dc, int left, int top, bool anticlockwise) {
  const TPen pen = SolidPen(RGB(41, 143, 204), 3);
  const TBrush head = SolidBrush(RGB(41, 143, 204));
  const TSelection p(dc, pen);
  const TSelection b(dc, GetStockObject(NULL_BRUSH));
  const int c = left + 14, m = top + 14;
  if (anticlockwise) {
    Arc(dc, left + 3, top + 3, left + 25, top + 25, c, top + 3, c + 11, m);
    const TSelection hb(dc, head);
    const POINT tri[3] = {{c - 6, top - 2}, {c - 6, top + 8}, {c + 2, top + 3}};
    Polygon(dc, tri, 3);
  } else {
    Arc(dc, left + 3, top + 3, left + 25, top + 25, c - 11, m, c, top + 3);
    const TSelection hb(dc, head);
    const POINT tri[3] = {{c + 6, top - 2}, {c + 6, top + 8}, {c - 2, top + 3}};
    Polygon(dc, tri, 3);
  }
}

// Control ids. The custom key window's:
constexpr int kKeyCloseId = 1, kResetId = 2, kChooserId = 10, kFirstCheckId = 20;  // 20 + 3 side + {Ctrl, Alt, Shift}
// The wheel settings window's:
constexpr int kWheelCloseId = 1, kHideId = 2, kListId = 3;
constexpr int kFirstEnableId = 100, kFirstDefineId = 110, kFirstRotateId = 120, kFirstUndoRedoId = 130;

constexpr int kFaceLeft = 20, kFaceTop = 30;
constexpr RECT kListBox{300, 24, 300 + TfrmWheel::kListWidth, 24 + TfrmWheel::kListHeight};

constexpr std::array<const wchar_t*, 4> kRotatePrograms = {L"Sai", L"SketchBook", L"MediBang", L"ClipStudioPaint"};
constexpr std::array<const wchar_t*, 2> kUndoRedoStyles = {L"ctrl+z /ctrl+y", L"photoshop"};
constexpr int kFirstNameSlot = 34;
constexpr int kEnabledSlot = 42, kDefineKeysSlot = 8, kWorkModeSlot = 43, kHideWheelSlot = 45;
}  // namespace

// --- the custom key window ---------------------------------------------------

TWin32DefineKey::TWin32DefineKey() {
  Style style;
  style.exStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
  style.width = kWidth;
  style.height = kHeight;
  if (!CreateWindowOf(kDefineKeyClass, style)) return;
  TakeDialogKeys(Window());
  CreateChild(L"BUTTON", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, kKeyCloseId, {kWidth - 28, 2, kWidth - 4, 24}, nullptr,
              L"\u00D7");
  for (int side = 0; side < 2; ++side) {
    const int y = 40 + side * 40;
    HWND chooser = CreateChild(L"COMBOBOX", WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN, 0, kChooserId + side,
                               {44, y, 164, y + 240});
    for (const CatalogueEntry& entry : KeyCatalogue) {
      const std::wstring name(entry.name.begin(), entry.name.end());
      SendMessageW(chooser, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }
    const wchar_t* labels[3] = {L"Ctrl  +", L"Alt  +", L"Shift"};
    for (int k = 0; k < 3; ++k) {
      CreateChild(L"BUTTON", WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 0, kFirstCheckId + side * 3 + k,
                  {172 + k * 62, y + 2, 172 + k * 62 + 60, y + 22}, nullptr, labels[k]);
    }
  }
  CreateChild(L"BUTTON", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, kResetId, {120, 118, 240, 142});
}

TWin32DefineKey::~TWin32DefineKey() { Destroy(); }

void TWin32DefineKey::Load() {
  if (!model_) return;
  for (int side = 0; side < 2; ++side) {
    const auto& row = model_->Controls(static_cast<TfrmDefineKey::Side>(side));
    HWND chooser = GetDlgItem(Window(), kChooserId + side);
    SendMessageW(chooser, CB_SETCURSEL, static_cast<WPARAM>(row.index), 0);
    SetWindowTextW(chooser, std::wstring(row.text.begin(), row.text.end()).c_str());
    Check(GetDlgItem(Window(), kFirstCheckId + side * 3 + 0), row.ctrl);
    Check(GetDlgItem(Window(), kFirstCheckId + side * 3 + 1), row.alt);
    Check(GetDlgItem(Window(), kFirstCheckId + side * 3 + 2), row.shift);
  }
  SetWindowTextW(GetDlgItem(Window(), kResetId), W(model_->ResetText()).c_str());
}

void TWin32DefineKey::Run(TfrmDefineKey& model, std::u16string_view heading, HWND owner) {
  if (!Window() || model_) return;
  model_ = &model;
  heading_ = heading;
  done_ = false;
  SetWindowLongPtrW(Window(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
  Load();
  SetTitle(heading);
  BeginModal(HWND_TOPMOST);
  // A quit closes it as its button does, and is passed on.
  if (!RunModalLoop(done_)) CloseWindow();
  EndModal();
  model_ = nullptr;
}

void TWin32DefineKey::CloseWindow() {
  if (!model_ || done_) return;
  model_->CloseBtnClick();
  done_ = true;
  PostMessageW(Window(), WM_NULL, 0, 0);
}

LRESULT TWin32DefineKey::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_LBUTTONDOWN) {
    DragWindow();
    return 0;
  }
  if (msg == WM_COMMAND && model_ && lp) {
    const int id = LOWORD(wp), code = HIWORD(wp);
    HWND control = reinterpret_cast<HWND>(lp);
    if (id == kKeyCloseId && code == BN_CLICKED) {
      CloseWindow();
    } else if (id == kResetId && code == BN_CLICKED) {
      model_->btnResetKeyClick();
      Load();
    } else if (id >= kChooserId && id < kChooserId + 2) {
      const auto side = static_cast<TfrmDefineKey::Side>(id - kChooserId);
      if (code == CBN_SELCHANGE) {
        model_->Pick(side, static_cast<int>(SendMessageW(control, CB_GETCURSEL, 0, 0)));
      } else if (code == CBN_EDITCHANGE) {
        char text[64] = {};
        GetWindowTextA(control, text, sizeof text);
        model_->Type(side, text);
      }
    } else if (id >= kFirstCheckId && id < kFirstCheckId + 6 && code == BN_CLICKED) {
      const auto side = static_cast<TfrmDefineKey::Side>((id - kFirstCheckId) / 3);
      const bool on = Checked(control);
      switch ((id - kFirstCheckId) % 3) {
        case 0: model_->SetCtrl(side, on); break;
        case 1: model_->SetAlt(side, on); break;
        default: model_->SetShift(side, on); break;
      }
    }
    return 0;
  }
  return TWin32Window::OnMessage(msg, wp, lp);
}

void TWin32DefineKey::OnPaint(HDC dc) {
  Fill(dc, RECT{0, 0, kWidth, kHeight}, kBackground);
  Fill(dc, RECT{0, 0, kWidth, 26}, kTitlePanel);
  Text(dc, W(heading_.empty() ? u"frm define key" : heading_), RECT{8, 0, kWidth - 32, 26}, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  TurnPicture(dc, 8, 38, true);
  TurnPicture(dc, 8, 78, false);
  Frame(dc, RECT{0, 0, kWidth, kHeight}, kDefineKeyFrame);
}

// --- the wheel settings window -----------------------------------------------

TWin32Wheel::TWin32Wheel(const TLanguage& language, const TWin32WheelFaces& faces, IClock& clock,
                         const IKeyboardLayout& layout)
    : language_(language),
      faces_(faces),
      model_(WheelWindowPorts{scrollTimer_, clock, language, *this, layout}),
      groupBrushes_{SolidBrush(TfrmWheel::kCurrentColour), SolidBrush(TfrmWheel::kOtherColour)} {
  Style style;
  style.exStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
  style.width = TfrmWheel::kWidth;
  style.height = TfrmWheel::kHeight;
  if (!CreateWindowOf(kWheelClass, style) || !RegisterChildClass(kListClass)) return;
  TakeDialogKeys(Window());
  MakeControls();
}

TWin32Wheel::~TWin32Wheel() { Destroy(); }

void TWin32Wheel::MakeControls() {
  CreateChild(L"BUTTON", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, kWheelCloseId,
              {TfrmWheel::kWidth - 28, 2, TfrmWheel::kWidth - 4, 24}, nullptr, L"\u00D7");
  CreateChild(L"BUTTON", WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 0, kHideId,
              {kListBox.left, kListBox.bottom + 12, kListBox.right, kListBox.bottom + 34});
  list_ = CreateChild(kListClass.name, WS_VISIBLE | WS_VSCROLL | WS_CLIPCHILDREN | WS_TABSTOP, 0, kListId, kListBox);
  auto add = [&](const wchar_t* cls, DWORD style, int id, RECT box, const wchar_t* text) {
    if (placedCount_ >= placed_.size()) return;
    placed_[placedCount_++] = Placed{CreateChild(cls, WS_VISIBLE | style, 0, id, box, list_, text), box};
  };
  for (int i = 0; i < wheel_function::kCount; ++i) {
    const int y = i * TfrmWheel::kGroupPitch;
    add(L"BUTTON", WS_TABSTOP | BS_AUTOCHECKBOX, kFirstEnableId + i, {14, y + 28, 130, y + 48}, L"");
    if (i == wheel_function::kLineWidth || i == wheel_function::kZoom || i == wheel_function::kUserKey) {
      const int which = i == wheel_function::kLineWidth ? 0 : i == wheel_function::kZoom ? 1 : 2;
      add(L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, kFirstDefineId + which, {14, y + 56, 150, y + 82}, L"");
    }
    if (i == wheel_function::kRotateCanvas) {
      for (int k = 0; k < 4; ++k) {
        add(L"BUTTON", BS_AUTORADIOBUTTON | (k == 0 ? WS_GROUP | WS_TABSTOP : 0), kFirstRotateId + k,
            {14 + (k % 2) * 128, y + 74 + (k / 2) * 22, 14 + (k % 2) * 128 + 124, y + 94 + (k / 2) * 22},
            kRotatePrograms[static_cast<size_t>(k)]);
      }
    }
    if (i == wheel_function::kUndoRedo) {
      for (int k = 0; k < 2; ++k) {
        add(L"BUTTON", BS_AUTORADIOBUTTON | (k == 0 ? WS_GROUP | WS_TABSTOP : 0), kFirstUndoRedoId + k,
            {14, y + 74 + k * 22, 200, y + 94 + k * 22}, kUndoRedoStyles[static_cast<size_t>(k)]);
      }
    }
  }
}

void TWin32Wheel::SyncControls() {
  for (size_t k = 0; k < placedCount_; ++k) {
    HWND c = placed_[k].control;
    const int id = GetDlgCtrlID(c);
    if (id >= kFirstEnableId && id < kFirstEnableId + wheel_function::kCount) {
      SetWindowTextW(c, W(language_.Slot(kEnabledSlot)).c_str());
      Check(c, model_.Enabled(id - kFirstEnableId));
    } else if (id >= kFirstDefineId && id < kFirstDefineId + 3) {
      SetWindowTextW(c, W(language_.Slot(kDefineKeysSlot)).c_str());
    } else if (id >= kFirstRotateId && id < kFirstRotateId + 4) {
      Check(c, model_.RotateType() == id - kFirstRotateId);
    } else if (id >= kFirstUndoRedoId && id < kFirstUndoRedoId + 2) {
      Check(c, model_.UndoRedoType() == id - kFirstUndoRedoId);
    }
  }
  HWND hide = GetDlgItem(Window(), kHideId);
  SetWindowTextW(hide, W(language_.Slot(kHideWheelSlot)).c_str());
  Check(hide, model_.HideWheel());
}

void TWin32Wheel::PlaceListControls() {
  const int pos = model_.ScrollPosition();
  HDWP moves = BeginDeferWindowPos(static_cast<int>(placedCount_));
  for (size_t k = 0; k < placedCount_ && moves; ++k) {
    const RECT& b = placed_[k].box;
    moves = DeferWindowPos(moves, placed_[k].control, nullptr, b.left, b.top - pos, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (moves) EndDeferWindowPos(moves);
  SCROLLINFO si{sizeof si, SIF_ALL, 0, TfrmWheel::kContentHeight - 1, TfrmWheel::kListHeight, pos, 0};
  SetScrollInfo(list_, SB_VERT, &si, TRUE);
}

void TWin32Wheel::Refresh() {
  if (!Window()) return;
  PlaceListControls();
  InvalidateRect(list_, nullptr, TRUE);
  for (size_t k = 0; k < placedCount_; ++k) InvalidateRect(placed_[k].control, nullptr, TRUE);
  const RECT face{kFaceLeft, kFaceTop, kFaceLeft + face::kFace, kFaceTop + face::kFace};
  InvalidateRect(Window(), &face, FALSE);
}

void TWin32Wheel::ShowModal(TWheelData& data) {
  if (!Window() || open_) return;
  open_ = true;
  done_ = false;
  animation_ = -1;
  model_.FormShow(data);
  SyncControls();
  SetTitle(language_.Slot(kFirstNameSlot + data.CurrentFunction));
  BeginModal(HWND_TOPMOST);
  SetFocus(list_);
  // A quit closes it as its button does (the commit included), and is passed on.
  if (!RunModalLoop(done_)) model_.CloseBtnClick();
  EndModal();
  model_.ModalEnded();
  open_ = false;
}

void TWin32Wheel::CloseWindow() {
  if (!open_ || model_.Closing() || done_) return;
  model_.CloseBtnClick();
  done_ = model_.Closed();
  PostMessageW(Window(), WM_NULL, 0, 0);
}

void TWin32Wheel::CloseAnimation(int step) {
  animation_ = step;
  const RECT face{kFaceLeft, kFaceTop, kFaceLeft + face::kFace, kFaceTop + face::kFace};
  InvalidateRect(Window(), &face, FALSE);
  UpdateWindow(Window());
}

void TWin32Wheel::FadeOut() {
  if (!AnimateWindow(Window(), 300, AW_HIDE | AW_BLEND)) ShowWindow(Window(), SW_HIDE);
}

void TWin32Wheel::RunDefineKey(TfrmDefineKey& window, std::u16string_view heading) {
  defineKey_.Run(window, heading, Window());
}

void TWin32Wheel::DrawFace(HDC dc) {
  const std::vector<uint32_t>& face = faces_.Face(model_.ShownFunction());
  const RECT box{kFaceLeft, kFaceTop, kFaceLeft + face::kFace, kFaceTop + face::kFace};
  if (face.empty()) {
    Fill(dc, box, RGB(0, 0, 0));
    return;
  }
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = face::kFace;
  bi.bmiHeader.biHeight = -face::kFace;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  if (animation_ == 0) {
    // Pressed: the face shrunk on white.
    Fill(dc, box, RGB(255, 255, 255));
    SetStretchBltMode(dc, HALFTONE);
    StretchDIBits(dc, box.left + 10, box.top + 10, 220, 220, 0, 0, face::kFace, face::kFace, face.data(), &bi,
                  DIB_RGB_COLORS, SRCCOPY);
    return;
  }
  SetDIBitsToDevice(dc, box.left, box.top, face::kFace, face::kFace, 0, 0, 0, face::kFace, face.data(), &bi,
                    DIB_RGB_COLORS);
  if (animation_ == 2) {
    const TPen ring = SolidPen(kDark, 4);
    const TSelection p(dc, ring);
    const TSelection b(dc, GetStockObject(NULL_BRUSH));
    Ellipse(dc, box.left + 2, box.top + 2, box.left + 238, box.top + 238);
  }
}

void TWin32Wheel::OnPaint(HDC dc) {
  const RECT all{0, 0, TfrmWheel::kWidth, TfrmWheel::kHeight};
  Fill(dc, all, kBackground);
  // The list's panel with its shadow.
  Fill(dc, RECT{kListBox.left + 4, kListBox.top + 4, kListBox.right + 4, kListBox.bottom + 4}, kShadow);
  DrawFace(dc);
  Frame(dc, all, TfrmWheel::kFrameColour);
}

void TWin32Wheel::OnPaintChild(int id, HWND, HDC dc) {
  if (id != kListId) return;
  const int pos = model_.ScrollPosition();
  Fill(dc, RECT{0, 0, TfrmWheel::kListWidth, TfrmWheel::kListHeight}, RGB(255, 255, 255));
  for (int i = 0; i < wheel_function::kCount; ++i) {
    const int y = i * TfrmWheel::kGroupPitch - pos;
    if (y > TfrmWheel::kListHeight || y + TfrmWheel::kGroupPitch < 0) continue;
    const RECT group{4, y + 4, TfrmWheel::kListWidth - 22, y + TfrmWheel::kGroupPitch - 6};
    Fill(dc, group, model_.GroupColour(i));
    Frame(dc, group, RGB(170, 170, 170));
    Text(dc, W(language_.Slot(kFirstNameSlot + i)), RECT{12, y + 6, group.right - 4, y + 26},
         DT_LEFT | DT_SINGLELINE, 15, FW_BOLD);
    if (i == wheel_function::kRotateCanvas || i == wheel_function::kUndoRedo) {
      Text(dc, W(language_.Slot(kWorkModeSlot)), RECT{14, y + 54, group.right - 4, y + 72}, DT_LEFT | DT_SINGLELINE);
    }
  }
}

void TWin32Wheel::Command(int id, int code, HWND control) {
  if (code != BN_CLICKED || !open_) return;
  if (id >= kFirstEnableId && id < kFirstEnableId + wheel_function::kCount) {
    model_.SetEnabled(id - kFirstEnableId, Checked(control));
  } else if (id == kFirstDefineId) {
    model_.btnLineWidthClick();
  } else if (id == kFirstDefineId + 1) {
    model_.btnZoomClick();
  } else if (id == kFirstDefineId + 2) {
    model_.btnSelfDefineClick();
  } else if (id >= kFirstRotateId && id < kFirstRotateId + 4) {
    model_.SetRotateType(id - kFirstRotateId);
  } else if (id >= kFirstUndoRedoId && id < kFirstUndoRedoId + 2) {
    model_.SetUndoRedoType(id - kFirstUndoRedoId);
  } else if (id == kHideId) {
    model_.SetHideWheel(Checked(control));
  } else if (id == kWheelCloseId) {
    CloseWindow();
  }
}

LRESULT TWin32Wheel::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_LBUTTONDOWN:
      DragWindow();
      return 0;
    case WM_COMMAND:
      if (lp) Command(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
      return 0;
    case WM_MOUSEWHEEL:
      if (open_) model_.MouseWheel(GET_WHEEL_DELTA_WPARAM(wp) < 0);
      return 0;
    default:
      return TWin32Window::OnMessage(msg, wp, lp);
  }
}

LRESULT TWin32Wheel::OnChildMessage(int id, HWND child, UINT msg, WPARAM wp, LPARAM lp) {
  if (id != kListId) return TWin32Window::OnChildMessage(id, child, msg, wp, lp);
  switch (msg) {
    case WM_COMMAND:
      if (lp) Command(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
      return 0;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC: {
      // The control's group box gives its background.
      RECT r{};
      GetWindowRect(reinterpret_cast<HWND>(lp), &r);
      POINT top{r.left, r.top};
      ScreenToClient(child, &top);
      const int group = std::clamp(static_cast<int>(top.y + model_.ScrollPosition()) / TfrmWheel::kGroupPitch, 0, 7);
      const bool current = group == model_.ShownFunction();
      SetBkColor(reinterpret_cast<HDC>(wp), current ? TfrmWheel::kCurrentColour : TfrmWheel::kOtherColour);
      return reinterpret_cast<LRESULT>(static_cast<HBRUSH>(groupBrushes_[current ? 0 : 1]));
    }
    case WM_VSCROLL: {
      int pos = model_.ScrollPosition();
      switch (LOWORD(wp)) {
        case SB_LINEUP: pos -= TfrmWheel::kLine; break;
        case SB_LINEDOWN: pos += TfrmWheel::kLine; break;
        case SB_PAGEUP: pos -= TfrmWheel::kListHeight; break;
        case SB_PAGEDOWN: pos += TfrmWheel::kListHeight; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: {
          SCROLLINFO si{sizeof si, SIF_TRACKPOS, 0, 0, 0, 0, 0};
          GetScrollInfo(child, SB_VERT, &si);
          pos = si.nTrackPos;
          break;
        }
        default: return 0;
      }
      if (open_) model_.VerticalScroll(pos);
      return 0;
    }
    case WM_MOUSEWHEEL:
      if (open_) model_.MouseWheel(GET_WHEEL_DELTA_WPARAM(wp) < 0);
      return 0;
    case WM_LBUTTONDOWN:
      SetFocus(child);
      return 0;
    default:
      return TWin32Window::OnChildMessage(id, child, msg, wp, lp);
  }
}

}  // namespace pen::win32
