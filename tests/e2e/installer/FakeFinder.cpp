// A stand-in inkprobe.dll for the setup program's tests: FindWintabInUsed
// returns what FAKE_FINDER_RESULT says (0 without it), so that the setup's
// answer to each result can be seen without the processes that would cause
// it, and notes each call's argument in the file FAKE_FINDER_LOG names.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" __declspec(dllexport) int32_t WINAPI FindWintabInUsed(int32_t showNotice) {
  char path[MAX_PATH] = {};
  if (GetEnvironmentVariableA("FAKE_FINDER_LOG", path, sizeof path) > 0) {
    if (FILE* log = std::fopen(path, "a")) {
      std::fprintf(log, "FindWintabInUsed(%ld)\n", static_cast<long>(showNotice));
      std::fclose(log);
    }
  }
  char value[32] = {};
  if (GetEnvironmentVariableA("FAKE_FINDER_RESULT", value, sizeof value) == 0) return 0;
  return static_cast<int32_t>(std::strtol(value, nullptr, 10));
}
