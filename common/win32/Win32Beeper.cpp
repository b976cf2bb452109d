#include "common/win32/Win32Beeper.h"

#include <windows.h>

namespace pen::win32 {

void Win32Beeper::Beep() { MessageBeep(0); }

}  // namespace pen::win32
