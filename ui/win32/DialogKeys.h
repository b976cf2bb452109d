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

// Runs the thread's messages until `done` turns true or a quit arrives; the
// quit is posted again for the loop below. False on a quit.
bool RunModalLoop(const bool& done);

}  // namespace pen::win32
