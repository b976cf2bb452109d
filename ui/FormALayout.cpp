#include "ui/FormALayout.h"

#include <array>

namespace pen {

namespace {

using C = FormAControl;
using K = ControlKind;
using A = TextAlign;
constexpr C kForm = C::kNone;

// Left column: logo and pen picture. Middle column: the self-defined key,
// the pressure, the buttons and choices. Right column: the live pressure and
// the test drawing area. Positions in pixels at 96 dpi.
constexpr std::array<ControlLayout, kFormAControls> kControls{{
    {C::imglogo, "imglogo", K::Image, kForm, 16, 10, 200, 44, u"", -1, A::Left},
    {C::pnlFound, "pnlFound", K::StatusPanel, kForm, 232, 16, 240, 32, u"Tablet not found", -1, A::Centre},
    {C::CloseBtn, "CloseBtn", K::CloseButton, kForm, 809, 6, 32, 32, u"", -1, A::Centre},
    {C::img1, "img1", K::Image, kForm, 20, 76, 78, 370, u"", -1, A::Left},
    {C::lblSelfDefineKey, "lblSelfDefineKey", K::Heading, kForm, 118, 72, 354, 20, u"Self-defined key", 10, A::Left},
    {C::chk1, "chk1", K::CheckBox, kForm, 118, 102, 70, 24, u"Ctrl  +", -1, A::Left},
    {C::chk2, "chk2", K::CheckBox, kForm, 190, 102, 62, 24, u"Alt  +", -1, A::Left},
    {C::chk3, "chk3", K::CheckBox, kForm, 254, 102, 56, 24, u"Shift", -1, A::Left},
    {C::lbl7, "lbl7", K::Label, kForm, 312, 105, 14, 20, u"+", -1, A::Centre},
    {C::edt1, "edt1", K::Edit, kForm, 330, 102, 34, 24, u"z", -1, A::Centre},
    {C::btnResetKey, "btnResetKey", K::Button, kForm, 376, 100, 96, 28, u"Set Default", 14, A::Centre},
    {C::lblPressureFirmSoft, "lblPressureFirmSoft", K::Heading, kForm, 118, 150, 354, 20, u"Pressure", 11, A::Left},
    {C::lblFirm, "lblFirm", K::Label, kForm, 118, 188, 40, 20, u"Hard", 12, A::Right},
    {C::jntrckr1, "jntrckr1", K::Tracker, kForm, 162, 176, 256, 40, u"", -1, A::Centre},
    {C::lblSoft, "lblSoft", K::Label, kForm, 422, 188, 50, 20, u"Soft", 13, A::Left},
    {C::btnResetPressure, "btnResetPressure", K::Button, kForm, 376, 224, 96, 28, u"Set Default", 15, A::Centre},
    {C::btnShowMapForm, "btnShowMapForm", K::Button, kForm, 118, 276, 170, 36, u"ScreenMapping", 5, A::Centre},
    {C::BtnKeyDefine, "BtnKeyDefine", K::Button, kForm, 302, 276, 170, 36, u"Key Define", 24, A::Centre},
    {C::chkUseInk, "chkUseInk", K::CheckBox, kForm, 118, 326, 354, 24, u"Use Windows Ink", 18, A::Left},
    {C::chkLeftHand, "chkLeftHand", K::CheckBox, kForm, 118, 354, 354, 24, u"Left Hand Mode", 44, A::Left},
    {C::CBLanguage, "CBLanguage", K::ComboBox, kForm, 118, 398, 170, 240, u"", -1, A::Left},
    {C::BtnResetAll, "BtnResetAll", K::Button, kForm, 302, 394, 170, 32, u"&ResetAll", 33, A::Centre},
    {C::btnInternet, "btnInternet", K::Button, kForm, 118, 432, 170, 26, u"O&nline", 4, A::Centre},
    {C::lblVer, "lblVer", K::Label, kForm, 118, 462, 360, 18, u"", -1, A::Left},
    {C::pnl1, "pnl1", K::Panel, kForm, 492, 52, 339, 100, u"", -1, A::Left},
    {C::lbl1, "lbl1", K::Label, C::pnl1, 2, 4, 38, 16, u"8192", -1, A::Right},
    {C::lbl2, "lbl2", K::Label, C::pnl1, 2, 78, 38, 16, u"0", -1, A::Right},
    {C::PressureLine, "PressureLine", K::Chart, C::pnl1, 44, 6, 236, 88, u"", -1, A::Left},
    {C::pbPressure, "pbPressure", K::Bar, C::pnl1, 286, 6, 14, 88, u"", -1, A::Left},
    {C::lblPressure, "lblPressure", K::Label, C::pnl1, 302, 41, 36, 18, u"0", -1, A::Left},
    {C::pnlDrawArea, "pnlDrawArea", K::Panel, kForm, 492, 160, 339, 313, u"", -1, A::Left},
    {C::ImgDraw, "ImgDraw", K::DrawArea, C::pnlDrawArea, 0, 0, 339, 313, u"", -1, A::Left},
    {C::lblDrawArea, "lblDrawArea", K::Heading, C::ImgDraw, 10, 14, 319, 22, u"Test Draw Area", 16, A::Centre},
    {C::lblNotice, "lblNotice", K::Label, C::ImgDraw, 20, 118, 299, 72,
     u"This area is only for testing, \r\nnot graphic software.", 22, A::Centre},
    {C::btnClearImage, "btnClearImage", K::Button, C::ImgDraw, 231, 275, 100, 30, u"Clear Image", 17, A::Centre},
}};

constexpr bool InOrder() {
  for (int i = 0; i < kFormAControls; ++i) {
    if (Index(kControls[i].id) != i) return false;
    if (kControls[i].parent != kForm && Index(kControls[i].parent) >= i) return false;
  }
  return true;
}
static_assert(InOrder(), "the table is indexed by FormAControl, parents first");

}  // namespace

const ControlLayout& LayoutOf(FormAControl c) { return kControls[static_cast<size_t>(Index(c))]; }

std::span<const ControlLayout> FormAControls() { return kControls; }

}  // namespace pen
