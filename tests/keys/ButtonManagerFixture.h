#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "KeysFakes.h"
#include "keys/ButtonManager.h"
#include "support/FakeKeyboardLayout.h"
#include "support/FakeTimers.h"
#include "support/MemoryFiles.h"

namespace pen::test {

using Events = std::vector<std::string>;

// Mask bit of a tablet button by its device number (key n is device n - 1).
constexpr uint32_t Device(int n) { return 1u << (3 + n); }
constexpr uint32_t SoftKey(int n) { return 1u << (15 + n); }

// The R711 factory file, byte for byte.
inline std::string R711File() {
  const uint8_t table[] = {0, 69, 0, 66, 1, 189, 1, 187, 0, 219, 0, 221, 0, 5,
                           0, 9, 0, 6,  0, 32,  1, 0,   2, 0,   1, 29,  0, 2};
  std::string bytes(reinterpret_cast<const char*>(table), sizeof table);
  bytes.resize(64, '\0');
  return bytes;
}

class ButtonManagerTest : public ::testing::Test {
 protected:
  FakeClock clock;
  FakeTimerQueue timers{clock};
  FakeTimer repeat{timers};
  RecordingInput input;
  FakeKeyboardLayout layout;
  FakeVolume volume{input};
  FakeLauncher launcher{input};
  MemoryFileStore store;
  MemoryDataFiles files{store};
  FixedFolders folders;
  FakePoster owner;
  TButtonManager buttons{ButtonManagerPorts{{input, layout}, volume, launcher, files, folders, repeat, nullptr}};

  void Connect(const std::string& model) {
    buttons.SetOwner(&owner);
    buttons.SetModelCode(model);
    buttons.LoadDefinitions();
    input.Take();
  }
  Events State(uint32_t mask) {
    buttons.SetButtonState(mask);
    return input.Take();
  }
  std::string File(const std::string& name) const {
    const auto it = store.files.find(name);
    return it == store.files.end() ? std::string("(none)") : it->second;
  }
};

}  // namespace pen::test
