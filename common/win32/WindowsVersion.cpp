#include "common/win32/WindowsVersion.h"

#include <windows.h>

namespace pen::win32 {

int WindowsMajorVersion() { return static_cast<int>(LOBYTE(LOWORD(GetVersion()))); }

}  // namespace pen::win32
