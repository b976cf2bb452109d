#pragma once
#include <string>

#include "keys/ButtonManager.h"
#include "support/FakeKeyboardLayout.h"
#include "support/MemoryFiles.h"
#include "support/QuietPorts.h"

namespace pen::test {

// A button manager on quiet ports and files in memory, for the allocation
// tests, the benchmarks, the fuzzers and the threaded tests.
template <class Input = CountingInput>
struct QuietButtons {
  Input input;
  FakeKeyboardLayout layout;
  SilentVolume volume;
  TTracedLauncher launcher{nullptr, nullptr};
  MemoryFileStore store;
  MemoryDataFiles files{store};
  FixedFolders folders;
  ManualTimer timer;
  TButtonManager buttons{ButtonManagerPorts{{input, layout}, volume, launcher, files, folders, timer, nullptr}};

  void Connect(const std::string& model) {
    buttons.SetModelCode(model);
    buttons.LoadDefinitions();
  }
};

}  // namespace pen::test
