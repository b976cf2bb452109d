#pragma once
#include <windows.h>

namespace pen::win32 {

// A window that is never shown and only receives messages, owned by the
// calling thread. The class is registered on first use; null when the
// system refuses the window.
HWND CreateMessageOnlyWindow(const wchar_t* className, WNDPROC proc);

}  // namespace pen::win32
