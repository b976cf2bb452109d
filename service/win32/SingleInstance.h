#pragma once
#include <windows.h>

namespace pen::win32 {

// What creating the single-instance mutex says about a running instance.
// ERROR_ALREADY_EXISTS with a handle: it runs. ERROR_ACCESS_DENIED without
// one: it runs too, with rights this process lacks (started elevated, or by
// another account on the same desktop), so that its mutex cannot even be
// opened here. Any other failure names no instance, and the program runs
// without the guarantee rather than not at all.
bool MutexShowsAnotherInstance(HANDLE mutex, DWORD lastError);

}  // namespace pen::win32
