#include "E2eSupport.h"

#include <cstdio>

namespace inkprobe_e2e {
namespace {

BOOL CALLBACK FindText(HWND child, LPARAM out) {
  char cls[32] = {};
  GetClassNameA(child, cls, sizeof(cls));
  if (lstrcmpiA(cls, "Static") != 0) return TRUE;
  char text[4096] = {};
  if (GetWindowTextA(child, text, sizeof(text)) <= 0) return TRUE;  // the icon
  *reinterpret_cast<std::string*>(out) = text;
  return FALSE;
}

struct FoundBox {
  HWND window = nullptr;
};

BOOL CALLBACK FindBox(HWND window, LPARAM out) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  char cls[32] = {};
  GetClassNameA(window, cls, sizeof(cls));
  if (pid != GetCurrentProcessId() || lstrcmpA(cls, "#32770") != 0 || !IsWindowVisible(window)) return TRUE;
  reinterpret_cast<FoundBox*>(out)->window = window;
  return FALSE;
}

}  // namespace

BoxWatcher::BoxWatcher() : thread_([this] { Run(); }) {}

BoxWatcher::~BoxWatcher() {
  stop_ = true;
  thread_.join();
}

std::vector<SeenBox> BoxWatcher::Seen() {
  std::lock_guard<std::mutex> guard(lock_);
  return seen_;
}

void BoxWatcher::Run() {
  while (!stop_) {
    FoundBox found;
    EnumWindows(FindBox, reinterpret_cast<LPARAM>(&found));
    if (!found.window) {
      Sleep(20);
      continue;
    }
    // Give the box a moment to fill in its controls.
    Sleep(100);
    SeenBox box;
    char caption[1024] = {};
    GetWindowTextA(found.window, caption, sizeof(caption));
    box.caption = caption;
    EnumChildWindows(found.window, FindText, reinterpret_cast<LPARAM>(&box.text));
    {
      std::lock_guard<std::mutex> guard(lock_);
      seen_.push_back(box);
    }
    PostMessageA(found.window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    for (int i = 0; i < 250 && IsWindow(found.window); ++i) Sleep(20);
  }
}

std::string ProgramDir() {
  char path[MAX_PATH + 1] = {};
  std::string dir(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
  return dir.substr(0, dir.find_last_of("\\/") + 1);
}

Holder StartHolder(std::string& error) {
  static int serial = 0;
  // Wine has a wintab32.dll of its own; the holder must load the stand-in.
  // Set for the holder program alone; Windows ignores the key.
  if (serial == 0) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\inkprobe-holder.exe\\DllOverrides", 0,
                        nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) == ERROR_SUCCESS) {
      static const char kNative[] = "native";
      RegSetValueExA(key, "wintab32", 0, REG_SZ, reinterpret_cast<const BYTE*>(kNative), sizeof(kNative));
      RegCloseKey(key);
    }
  }
  Holder holder;
  char eventName[96];
  std::snprintf(eventName, sizeof(eventName), "inkprobe-holder-ready-%lu-%d", GetCurrentProcessId(), ++serial);
  HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, eventName);
  std::string command = "\"" + ProgramDir() + "inkprobe-holder.exe\" " + eventName;
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &holder.info)) {
    error = "cannot start the holder (error " + std::to_string(GetLastError()) + ")";
    CloseHandle(ready);
    return holder;
  }
  holder.started = true;
  HANDLE waits[2] = {ready, holder.info.hProcess};
  const DWORD woke = WaitForMultipleObjects(2, waits, FALSE, 30000);
  CloseHandle(ready);
  if (woke != WAIT_OBJECT_0) {
    DWORD code = 0;
    GetExitCodeProcess(holder.info.hProcess, &code);
    error = "the holder did not load the stand-in wintab32.dll (exit code " + std::to_string(code) +
            "; under Wine its own wintab32.dll may have been loaded)";
  }
  return holder;
}

bool HasEnded(const Holder& holder, DWORD waitMs) {
  return !holder.started || WaitForSingleObject(holder.info.hProcess, waitMs) == WAIT_OBJECT_0;
}

void EndHolder(Holder& holder) {
  if (!holder.started) return;
  TerminateProcess(holder.info.hProcess, 9);
  WaitForSingleObject(holder.info.hProcess, 5000);
  CloseHandle(holder.info.hProcess);
  CloseHandle(holder.info.hThread);
  holder.started = false;
}

bool SetClassesDefault(const std::string& subKey, const std::string& value) {
  HKEY key;
  if (RegCreateKeyExA(HKEY_CLASSES_ROOT, subKey.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS) {
    return false;
  }
  const LONG r = RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                static_cast<DWORD>(value.size() + 1));
  RegCloseKey(key);
  return r == ERROR_SUCCESS;
}

void ClearClassesKey(const std::string& subKey) {
  RegDeleteTreeA(HKEY_CLASSES_ROOT, subKey.c_str());
}

}  // namespace inkprobe_e2e
