#include "keys/win32/ShellProgramLauncher.h"

#include <windows.h>
#include <shellapi.h>

namespace pen::win32 {

void ShellProgramLauncher::Start(const char* verb, const char* file) {
  // Failures are not reported: the soft key has nobody to tell.
  ShellExecuteA(reinterpret_cast<HWND>(window_), verb, file, nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace pen::win32
