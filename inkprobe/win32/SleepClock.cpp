#include "inkprobe/win32/SleepClock.h"

#include <windows.h>

namespace pen::win32 {

uint32_t TSleepClock::TickCount() { return GetTickCount(); }

void TSleepClock::Sleep(uint32_t ms) { ::Sleep(ms); }

// The installer owns its message loop; the finder never pumps it.
void TSleepClock::ProcessMessagesFor(uint32_t ms) { ::Sleep(ms); }

}  // namespace pen::win32
