#pragma once
#include <windows.h>

#include "keys/ProgramLauncher.h"

namespace pen::win32 {

// ShellExecuteA with the program's window, shown normally. A soft key is
// handled on a HID read thread, which must not wait for a program to start:
// the start is handed to the thread that created the launcher (the main
// thread) and carried out there. `verb` and `file` must outlive the call
// (the soft keys pass literals).
class ShellProgramLauncher : public IProgramLauncher {
 public:
  explicit ShellProgramLauncher(uintptr_t ownerWindow);
  ~ShellProgramLauncher() override;
  ShellProgramLauncher(const ShellProgramLauncher&) = delete;
  ShellProgramLauncher& operator=(const ShellProgramLauncher&) = delete;

  void Start(const char* verb, const char* file) override;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

  HWND owner_;
  HWND window_ = nullptr;  // message-only, on the creating thread
};

}  // namespace pen::win32
