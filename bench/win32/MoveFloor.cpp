// The least a pointer driver can cost under a given system: the benchmark
// session's pointer moves, injected at the same moments with the same call
// as the service makes them, and nothing else.
//   penfloor.exe [--moves=N] [--length=MS]     inject, then stay until MS after start
//   penfloor.exe [--moves=N] --recording=FILE  write the session for the service
// N (default 2660) is the number of moves; 0 gives a run that only starts,
// waits and ends, the fixed part of the cost.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "BenchSession.h"

namespace {

int WriteRecording(const pen::bench::BenchSession& session, const std::string& path) {
  if (!session.Recording().SaveFile(path)) {
    std::fprintf(stderr, "penfloor: %s cannot be written\n", path.c_str());
    return 1;
  }
  return 0;
}

// Sleeps until `due` ms after `start` (GetTickCount), as the service's
// playback waits for each report's deadline.
void SleepUntil(DWORD start, DWORD due) {
  const DWORD now = GetTickCount() - start;
  if (now < due) Sleep(due - now);
}

}  // namespace

// A window program like the service, so that Wine gives neither a console.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const int argc = __argc;
  char** const argv = __argv;
  DWORD length = 0;
  pen::bench::BenchSession session;
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--recording=", 12) == 0) return WriteRecording(session, argv[i] + 12);
    if (std::strncmp(argv[i], "--length=", 9) == 0) {
      length = static_cast<DWORD>(std::strtoul(argv[i] + 9, nullptr, 10));
    } else if (std::strncmp(argv[i], "--moves=", 8) == 0) {
      session.moves = static_cast<uint32_t>(std::strtoul(argv[i] + 8, nullptr, 10));
    } else {
      std::fprintf(stderr, "usage: penfloor [--moves=N] [--length=MS | --recording=FILE]\n");
      return 2;
    }
  }
  const DWORD start = GetTickCount();
  const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN), height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  const int primaryWidth = GetSystemMetrics(SM_CXSCREEN), primaryHeight = GetSystemMetrics(SM_CYSCREEN);
  for (uint32_t i = 0; i < session.moves; ++i) {
    SleepUntil(start, session.leadInMs + session.Due(i));
    // Whole tablet on the whole virtual screen, in the absolute units of
    // the pointer call, as the service maps it.
    const long long px = static_cast<long long>(pen::bench::BenchSession::X(i)) * width / 4095;
    const long long py = static_cast<long long>(pen::bench::BenchSession::Y(i)) * height / 4095;
    mouse_event(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, static_cast<DWORD>(px * 65535 / primaryWidth),
                static_cast<DWORD>(py * 65535 / primaryHeight), 0, 0);
  }
  SleepUntil(start, length);
  return 0;
}
