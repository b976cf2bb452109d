#pragma once
#include <cstdint>

#include "keys/ProgramLauncher.h"

namespace pen::win32 {

// ShellExecuteA with the program's window, shown normally.
class ShellProgramLauncher : public IProgramLauncher {
 public:
  explicit ShellProgramLauncher(uintptr_t window) : window_(window) {}
  void Start(const char* verb, const char* file) override;

 private:
  uintptr_t window_;
};

}  // namespace pen::win32
