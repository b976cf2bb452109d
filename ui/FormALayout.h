#pragma once
#include <cstdint>
#include <span>
#include <string_view>

namespace pen {

// The controls of the main settings window, in creation order (a parent
// before its children).
enum class FormAControl : uint8_t {
  imglogo,
  pnlFound,
  CloseBtn,
  img1,
  lblSelfDefineKey,
  chk1,
  chk2,
  chk3,
  lbl7,
  edt1,
  btnResetKey,
  lblPressureFirmSoft,
  lblFirm,
  jntrckr1,
  lblSoft,
  btnResetPressure,
  btnShowMapForm,
  BtnKeyDefine,
  chkUseInk,
  chkLeftHand,
  CBLanguage,
  BtnResetAll,
  btnInternet,
  lblVer,
  pnl1,
  lbl1,
  lbl2,
  PressureLine,
  pbPressure,
  lblPressure,
  pnlDrawArea,
  ImgDraw,
  lblDrawArea,
  lblNotice,
  btnClearImage,
  kCount,
  kNone = kCount,
};

constexpr int kFormAControls = static_cast<int>(FormAControl::kCount);
constexpr int Index(FormAControl c) { return static_cast<int>(c); }

enum class ControlKind : uint8_t {
  Label,
  Heading,      // a label in the bold heading font
  StatusPanel,  // the tablet found / not found panel
  Panel,
  Image,
  CheckBox,
  Button,
  Edit,
  ComboBox,
  Tracker,
  Chart,
  Bar,
  DrawArea,
  CloseButton,
};

enum class TextAlign : uint8_t { Left, Centre, Right };

struct ControlLayout {
  FormAControl id;
  std::string_view name;
  ControlKind kind;
  FormAControl parent;  // kNone: the form; otherwise the rectangle is in the parent's client area
  int16_t x, y, width, height;
  std::u16string_view caption;  // the design's caption, before the language texts
  int8_t languageSlot;          // -1: the caption is not translated
  TextAlign align;
};

// The window's fixed geometry and colours (colour values are 0x00BBGGRR).
namespace form_a {
constexpr int kClientWidth = 847;
constexpr int kClientHeight = 488;
constexpr uint32_t kFrameColour = 4210752;   // one-pixel frame round the client area
constexpr uint32_t kFormColour = 15790320;   // background, and the blanked strips of the pen
constexpr uint32_t kFoundColour = 13434828;  // light green, black text
constexpr uint32_t kNotFoundColour = 15793151;  // pale cream, red text
constexpr int kPenWidth = 78;
constexpr int kPenHeight = 370;
constexpr int kDrawWidth = 339;
constexpr int kDrawHeight = 313;
constexpr int kCursorSize = 170;
}  // namespace form_a

const ControlLayout& LayoutOf(FormAControl c);
std::span<const ControlLayout> FormAControls();

}  // namespace pen
