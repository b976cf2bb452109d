#include "inkprobe/win32/ToolhelpProcesses.h"

#include <windows.h>
#include <tlhelp32.h>

namespace pen::win32 {
namespace {

using GetModuleFileNameExAFn = DWORD(WINAPI*)(HANDLE, HMODULE, LPSTR, DWORD);

GetModuleFileNameExAFn ModuleFileNameFunction() {
  static const GetModuleFileNameExAFn fn = [] {
    HMODULE psapi = LoadLibraryA("PSAPI.dll");
    FARPROC proc = psapi ? GetProcAddress(psapi, "GetModuleFileNameExA") : nullptr;
    // Through a plain function pointer: the compiler checks casts between
    // unrelated function types.
    return reinterpret_cast<GetModuleFileNameExAFn>(reinterpret_cast<void (*)()>(proc));
  }();
  return fn;
}

// A killed process lets go of its files only once it has really ended; the
// installer replaces them right after this call.
constexpr DWORD kEndWaitMs = 3000;
// A module snapshot can fail transiently while the process loads a module.
constexpr int kModuleSnapshotTries = 5;

}  // namespace

bool TToolhelpProcesses::ListProcesses(std::vector<TProcessEntry>& out) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return false;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
    out.push_back({entry.th32ProcessID, entry.szExeFile});
  }
  CloseHandle(snapshot);
  return true;
}

bool TToolhelpProcesses::ListModules(uint32_t processId, std::vector<TModuleEntry>& out) {
  // Id 0 is the idle process, but to the snapshot function it means the
  // calling process: it would list the installer's own modules.
  if (processId == 0) return false;
  HANDLE snapshot = INVALID_HANDLE_VALUE;
  for (int i = 0; i < kModuleSnapshotTries && snapshot == INVALID_HANDLE_VALUE; ++i) {
    snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId);
    if (snapshot == INVALID_HANDLE_VALUE && GetLastError() != ERROR_BAD_LENGTH) return false;
  }
  if (snapshot == INVALID_HANDLE_VALUE) return false;
  MODULEENTRY32 entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Module32First(snapshot, &entry); more; more = Module32Next(snapshot, &entry)) {
    out.push_back({entry.szModule, entry.szExePath});
  }
  CloseHandle(snapshot);
  return true;
}

bool TToolhelpProcesses::ImagePath(uint32_t processId, std::string& out) {
  const GetModuleFileNameExAFn getModuleFileNameEx = ModuleFileNameFunction();
  if (!getModuleFileNameEx) return false;
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
  if (!process) return false;
  char path[MAX_PATH + 1] = {};
  const DWORD length = getModuleFileNameEx(process, nullptr, path, MAX_PATH);
  CloseHandle(process);
  if (length == 0) return false;
  out.assign(path, length);
  return true;
}

TTerminateOutcome TToolhelpProcesses::Terminate(uint32_t processId) {
  HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId);
  const bool canWait = process != nullptr;
  if (!process) process = OpenProcess(PROCESS_TERMINATE, FALSE, processId);
  if (!process) {
    // An id that names no process any more: it ended since the snapshot.
    return GetLastError() == ERROR_INVALID_PARAMETER ? TTerminateOutcome::Gone : TTerminateOutcome::NotOpened;
  }
  const BOOL ok = TerminateProcess(process, 0);
  if (ok && canWait) WaitForSingleObject(process, kEndWaitMs);
  CloseHandle(process);
  return ok ? TTerminateOutcome::Terminated : TTerminateOutcome::Failed;
}

uint32_t TToolhelpProcesses::CurrentProcessId() { return GetCurrentProcessId(); }

}  // namespace pen::win32
