// The installer's entry: wires the finder to the real system.
#include <windows.h>

#include <new>

#include "inkprobe/win32/SleepClock.h"
#include "inkprobe/WintabFinder.h"
#include "common/win32/DebugPrivilege.h"
#include "inkprobe/win32/ToolhelpProcesses.h"
#include "inkprobe/win32/Win32ClassRegistry.h"
#include "inkprobe/win32/Win32Desktop.h"
#include "inkprobe/win32/Win32Files.h"

namespace {

pen::win32::TToolhelpProcesses gProcesses;
pen::win32::TWin32ClassRegistry gRegistry;
pen::win32::TWin32Files gFiles;
pen::win32::TWin32Desktop gDesktop;
pen::win32::TSleepClock gClock;
// Made at load and kept until the process ends: it owns the process list.
pen::TWintabFinder* gFinder = nullptr;

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    const pen::TFinderPorts ports{gProcesses, gRegistry, gFiles, gDesktop, gDesktop, gClock};
    gFinder = new (std::nothrow) pen::TWintabFinder(ports, GetSystemDefaultLangID());
    // Without it only the caller's own processes can be ended; that is all
    // the finder can do then.
    pen::win32::EnableDebugPrivilege();
  }
  return TRUE;
}

// Exported through the .def file alone: a dllexport attribute would add the
// decorated 32-bit name beside the plain one.
extern "C" int32_t WINAPI FindWintabInUsed(int32_t showNotice) {
  return gFinder ? gFinder->FindWintabInUsed(showNotice) : 0;
}
