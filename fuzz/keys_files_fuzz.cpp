// Arbitrary bytes as a button definitions file and as "TabletWheel.ini":
// no crash, and every value in its range afterwards.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "common/ModelCatalogue.h"
#include "keys/ButtonManager.h"
#include "keys/WheelData.h"
#include "keys/WheelFunc.h"
#include "support/FakeKeyboardLayout.h"
#include "support/MemoryFiles.h"
#include "support/QuietButtons.h"
#include "support/QuietPorts.h"

namespace {

using namespace pen;

void Check(bool ok) {
  if (!ok) std::abort();
}

void DefinitionsFile(const std::string& bytes, uint8_t pick) {
  // Every catalogued model, and one past the end for a code outside it.
  const auto models = ModelRows();
  const size_t at = pick % (models.size() + 1);
  const std::string model(at < models.size() ? models[at].code : std::string_view("X1"));
  test::QuietButtons<> rig;
  TButtonManager& buttons = rig.buttons;
  auto& store = rig.store;
  buttons.SetModelCode(model);
  const std::string path = buttons.DefinitionsPath();
  store.files[path] = bytes;
  buttons.LoadDefinitions();
  const ButtonDefinitions block = buttons.Definitions();
  const std::string stored = store.files[path];
  if (bytes.size() == 64) {
    Check(std::string(block.begin(), block.end()) == bytes);
    Check(stored == bytes);
  } else if (const ModelGroup* group = FindModelGroup(model)) {
    // Replaced by the factory table, and the file holds what is in use.
    Check(stored.size() == 64 && std::string(block.begin(), block.end()) == stored);
    for (size_t slot = 0; slot < group->factory.size(); ++slot) Check(buttons.Definition(slot) == group->factory[slot]);
  } else {
    Check(stored == bytes);  // a model without a group keeps its file as it is
  }
  // Every state change is safe with whatever was loaded.
  for (uint32_t mask : {0x7FFFFFFFu, 0u, 0xAAAAAAAAu, 0x55555555u, 0u}) buttons.SetButtonState(mask);
}

void WheelFile(const std::string& text) {
  static test::CountingInput input;
  static test::FakeKeyboardLayout layout;
  static test::SilentVolume volume;
  static test::NoWaitClock clock;
  static TWheelFunction wheel{WheelFunctionPorts{{input, layout}, volume, clock, nullptr}};
  test::MemoryFileStore store;
  test::MemoryIniFileSystem ini{store};
  test::FixedFolders folders;
  store.files["/prog/TabletWheel.ini"] = text;
  TWheelData data(ini, folders);
  const WheelSettings& s = data.Settings();
  for (size_t f : kEnabledField) Check(s[f] <= 1);
  Check(s[wheel_field::kHideWheel] <= 1);
  Check(data.CurrentFunction >= 0 && data.CurrentFunction <= 7);
  for (int i = 0; i < 9; ++i) {
    data.NextEnabledFunction();
    Check(data.CurrentFunction >= 0 && data.CurrentFunction <= 7);
    const bool enabled = data.EnabledList()[static_cast<size_t>(data.CurrentFunction)] != 0;
    Check(enabled || data.CurrentFunction == wheel_function::kDisableAll);
  }
  wheel.SetWheelSettings(s);
  for (int mode = 0; mode < 8; ++mode) {
    wheel.SetMode(mode);
    if (mode == wheel_function::kRotateCanvas) Check(wheel.Active() == (s[wheel_field::kRotateCanvasType] < 4));
    if (mode == wheel_function::kUndoRedo) Check(wheel.Active() == (s[wheel_field::kUndoRedoType] < 2));
    wheel.ExecuteStep(0xFF);
    wheel.ExecuteStep(0x01);
  }
  // Written back and read again, the settings are the same.
  Check(data.SaveWheelSettings());
  TWheelData again(ini, folders);
  Check(again.Settings() == s);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string rest(reinterpret_cast<const char*>(data + 1), size - 1);
  DefinitionsFile(rest, data[0]);
  WheelFile(rest);
  return 0;
}
