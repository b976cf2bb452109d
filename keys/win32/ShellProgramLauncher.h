#pragma once
#include <windows.h>

#include <cstddef>

#include "keys/ProgramLauncher.h"

namespace pen::win32 {

// ShellExecuteA with the program's window, shown normally. A soft key is
// handled on a HID read thread, which must not wait for a program to start:
// the start is handed to the thread that created the launcher (the main
// thread) and carried out there.
//
// Only the programs of the fixed list below can be started, and the message
// that hands a start over carries the program's place in that list, never a
// pointer: any program of the session can post to the launcher's window, and
// whatever it posts starts at most one of these.
class ShellProgramLauncher : public IProgramLauncher {
 public:
  struct Program {
    const char* verb;  // null: the file's default action
    const char* file;
  };
  // What the soft keys start.
  static constexpr Program kPrograms[] = {{nullptr, "wmplayer.exe"}, {"open", "calc.exe"}};
  static constexpr size_t kProgramCount = sizeof kPrograms / sizeof kPrograms[0];
  // The message that carries out a start on the launcher's thread (WPARAM:
  // the program's place in kPrograms).
  static constexpr UINT kStartMessage = WM_APP + 1;

  // How a start is carried out; ShellExecuteA unless a test looks on.
  using Execute = void (*)(HWND owner, const char* verb, const char* file);

  explicit ShellProgramLauncher(uintptr_t ownerWindow, Execute execute = nullptr);
  ~ShellProgramLauncher() override;
  ShellProgramLauncher(const ShellProgramLauncher&) = delete;
  ShellProgramLauncher& operator=(const ShellProgramLauncher&) = delete;

  // A program that is not in the list is not started.
  void Start(const char* verb, const char* file) override;
  HWND Window() const { return window_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

  HWND owner_;
  Execute execute_;
  HWND window_ = nullptr;  // message-only, on the creating thread
};

}  // namespace pen::win32
