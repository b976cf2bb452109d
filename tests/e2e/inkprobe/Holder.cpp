// inkprobe-holder EVENT: loads the wintab32.dll beside it, signals EVENT and
// waits to be ended. Ends by itself after two minutes so a failed test leaves
// nothing behind. Exit 3: wintab32.dll not loaded; 4: not the stand-in.
#include <windows.h>

#include <string>

int main(int argc, char** argv) {
  char path[MAX_PATH + 1] = {};
  std::string dir(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
  dir = dir.substr(0, dir.find_last_of("\\/") + 1);
  HMODULE wintab = LoadLibraryA((dir + "wintab32.dll").c_str());
  if (!wintab) return 3;
  if (!GetProcAddress(wintab, "InkprobeFakeWintab")) return 4;
  if (argc > 1) {
    HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[1]);
    if (ready) {
      SetEvent(ready);
      CloseHandle(ready);
    }
  }
  Sleep(120000);
  return 0;
}
