#pragma once
#include <windows.h>

namespace pen::win32 {

// Keyboard use of the settings windows as of any dialog: Tab and Shift+Tab
// between the controls, Space and Enter on the focused one, Esc to close.
// A window takes part once marked; each message loop that runs while one of
// them may show hands its messages here before dispatching them.
void TakeDialogKeys(HWND window);

// True when `m` was a key of a marked window and has been handled (it must
// not be dispatched again).
bool HandleDialogKeys(MSG& m);

// The one loop of every modal window: runs the thread's messages until
// `done` turns true or a quit arrives; the quit is posted again for the loop
// below, as every inner loop of the main thread does. False on a quit.
// While it runs, the main thread is not at its top level (TModalGate).
bool RunModalLoop(const bool& done);

}  // namespace pen::win32
