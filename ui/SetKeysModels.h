#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "common/ModelCatalogue.h"
#include "keys/KeyList.h"
#include "ui/FormAPorts.h"

namespace pen {

// The key-setup window of each family is laid out from its row in the model
// catalogue (common/ModelCatalogue.cpp); `Box`, `KeySetupLayout` and
// `SetKeysModel` come from there.

constexpr size_t kMaxSetKeysButtons = 12;
constexpr size_t kWorkingCopyBytes = 24;
constexpr int kRingDiameter = 360;
constexpr int kSmallRingDiameter = 134;

// The window of a family; null for None.
const SetKeysModel* FindSetKeysModel(KeySetupWindow which);

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
