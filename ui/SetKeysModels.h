#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "keys/KeyList.h"
#include "ui/FormAPorts.h"

namespace pen {

// How a key-setup window lays out the tablet's buttons.
enum class KeySetupLayout : uint8_t {
  Columns,         // rows of two
  EndPairs,        // one row, a pair at each end
  Ring,            // four around a ring, rows of two below it
  RingNarrowKeys,  // four around a ring, a row of narrow keys below it
};

struct Box {
  int left = 0, top = 0, width = 0, height = 0;
  bool Contains(int x, int y) const { return x >= left && x < left + width && y >= top && y < top + height; }
  friend bool operator==(const Box&, const Box&) = default;
};

// One key-setup window: everything that differs between the tablet models.
// Adding a model's window is adding a row to the table in SetKeysModels.cpp.
struct SetKeysModel {
  std::string_view className;  // "TSetKeysR711"
  KeySetupWindow window;
  std::string_view groupCode;  // the button group whose factory table the resets use
  size_t buttons;
  size_t bytes;  // of the definitions, copied and compared
  KeySetupLayout layout;
  int clientWidth, clientHeight;
  Box panel;        // the shadowed button panel
  Box editor;       // the editor group (button number, chooser, modifiers, preview, apply, reset)
  int ringTop = 0;  // ring layouts: top of the 360-pixel circle inside the panel
  int gapAfterRow = 0;  // column layouts: a wider gap after this row (0: none)
};

constexpr size_t kMaxSetKeysButtons = 12;
constexpr size_t kWorkingCopyBytes = 24;
constexpr int kRingDiameter = 360;
constexpr int kSmallRingDiameter = 134;

// The window of a family; null for None.
const SetKeysModel* FindSetKeysModel(KeySetupWindow which);
std::span<const SetKeysModel> SetKeysModels();

// The default definition of button k (1-based) for the reset: the factory
// value of its slot.
KeyDefinition SetKeysDefault(const SetKeysModel& model, size_t button);

// Where button k (1-based) sits inside the panel.
Box SetKeysButtonBox(const SetKeysModel& model, size_t button);

// Where the controls of the editor sit inside the editor group.
namespace set_keys_editor {
constexpr Box kButtonNoLabel{12, 12, 120, 20};    // lbl1
constexpr Box kButtonNumber{130, 4, 60, 44};      // AALabel1
constexpr Box kChooser{12, 56, 176, 300};         // cbb1, dropped-down height included
constexpr Box kShift{12, 90, 60, 20};             // chkShift
constexpr Box kCtrl{76, 90, 56, 20};              // chkCtrl
constexpr Box kAlt{136, 90, 52, 20};              // chkAlt
constexpr Box kPreview{12, 118, 176, 44};         // pnl1 with lblResult
constexpr Box kApply{12, 172, 52, 36};            // BtnUpdate
constexpr Box kReset{76, 176, 112, 28};           // BtnReset
}  // namespace set_keys_editor

}  // namespace pen
