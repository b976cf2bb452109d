// penwatch: samples another program's resources from outside while it runs,
// for the long runs (scripts/soak.sh). One line per sample on standard
// output:
//   MS HANDLES GDI USER PRIVATE_BYTES
// MS counts from the first sample. The program is found by its file name and
// followed until it ends (or penwatch is stopped).
//
//   penwatch --name=penhost.exe [--interval-ms=500] [--wait-ms=60000]
//
// Wine (8.0) answers GetProcessHandleCount with 0, GetGuiResources with
// ERROR_CALL_NOT_IMPLEMENTED and PrivateUsage with 0. Where a figure is
// missing the same quantity is read another way, and a "# " line before the
// samples names each source:
//   handles  the system handle table, the entries owned by the process
//   GDI      the process's GDI handle table (the PEB's GdiSharedHandleTable
//            in Wine's layout), the entries in use
//   USER     the process's windows, top-level, child and message-only
//   private  PagefileUsage, which is the private commit charge as well
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>
#include <winternl.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

DWORD FindProcess(const std::string& name) {
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snap == INVALID_HANDLE_VALUE) return 0;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  DWORD found = 0;
  for (BOOL more = Process32First(snap, &entry); more; more = Process32Next(snap, &entry)) {
    if (_stricmp(entry.szExeFile, name.c_str()) == 0) {
      found = entry.th32ProcessID;
      break;
    }
  }
  CloseHandle(snap);
  return found;
}

// The system handle table (SystemHandleInformation), as far as is needed here.
struct SystemHandleEntry {
  ULONG ownerPid;
  BYTE objectType;
  BYTE flags;
  USHORT handle;
  PVOID object;
  ULONG access;
};
constexpr ULONG kSystemHandleInformation = 16;
constexpr NTSTATUS kInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004L);
using QuerySystemInformation = NTSTATUS(NTAPI*)(ULONG, PVOID, ULONG, PULONG);

class HandleCounter {
 public:
  HandleCounter() {
    query_ = reinterpret_cast<QuerySystemInformation>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    buffer_.resize(1 << 20);
  }
  // -1 when the table cannot be read.
  long Count(DWORD pid) {
    if (!query_) return -1;
    for (int tries = 0; tries < 8; ++tries) {
      ULONG needed = 0;
      const NTSTATUS status =
          query_(kSystemHandleInformation, buffer_.data(), static_cast<ULONG>(buffer_.size()), &needed);
      if (status == kInfoLengthMismatch) {
        buffer_.resize(std::max<size_t>(buffer_.size() * 2, needed + 65536));
        continue;
      }
      if (status < 0) return -1;
      ULONG n = 0;
      std::memcpy(&n, buffer_.data(), sizeof n);
      const size_t first = sizeof(void*);  // the count, padded to pointer alignment
      const size_t fit = (buffer_.size() - first) / sizeof(SystemHandleEntry);
      if (n > fit) n = static_cast<ULONG>(fit);
      long mine = 0;
      for (ULONG i = 0; i < n; ++i) {
        SystemHandleEntry e;
        std::memcpy(&e, buffer_.data() + first + i * sizeof e, sizeof e);
        if (e.ownerPid == pid) ++mine;
      }
      return mine;
    }
    return -1;
  }

 private:
  QuerySystemInformation query_ = nullptr;
  std::vector<char> buffer_;
};

// One entry of a process's GDI handle table as Wine keeps it; a free entry
// has type 0.
struct GdiHandleEntry {
  uint64_t object;
  uint32_t owner;
  uint16_t unique;
  uint8_t type;
  uint8_t flags;
  uint64_t user;
};
static_assert(sizeof(GdiHandleEntry) == 24, "Wine's GDI handle entry");
constexpr size_t kGdiHandles = 0x10000;
#ifdef _WIN64
constexpr size_t kPebGdiTable = 0xF8;
#else
constexpr size_t kPebGdiTable = 0x94;
#endif

class GdiCounter {
 public:
  explicit GdiCounter(HANDLE process) : process_(process), entries_(kGdiHandles) {
    PROCESS_BASIC_INFORMATION info{};
    ULONG length = 0;
    if (NtQueryInformationProcess(process, ProcessBasicInformation, &info, sizeof info, &length) < 0) return;
    SIZE_T read = 0;
    ReadProcessMemory(process, static_cast<const char*>(static_cast<const void*>(info.PebBaseAddress)) + kPebGdiTable,
                      &table_, sizeof table_, &read);
    if (read != sizeof table_) table_ = nullptr;
  }
  long Count() {
    if (!table_) return -1;
    SIZE_T read = 0;
    if (!ReadProcessMemory(process_, table_, entries_.data(), entries_.size() * sizeof(GdiHandleEntry), &read) ||
        read != entries_.size() * sizeof(GdiHandleEntry)) {
      return -1;
    }
    long used = 0;
    for (const GdiHandleEntry& e : entries_) used += e.type != 0;
    return used;
  }

 private:
  HANDLE process_;
  const void* table_ = nullptr;
  std::vector<GdiHandleEntry> entries_;
};

struct WindowCount {
  DWORD pid;
  long count;
};

BOOL CALLBACK CountChild(HWND window, LPARAM param) {
  auto* c = reinterpret_cast<WindowCount*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == c->pid) ++c->count;
  return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM param) {
  CountChild(window, param);
  EnumChildWindows(window, &CountChild, param);
  return TRUE;
}

long CountWindows(DWORD pid) {
  WindowCount c{pid, 0};
  EnumWindows(&CountTopLevel, reinterpret_cast<LPARAM>(&c));
  for (HWND w = FindWindowExA(HWND_MESSAGE, nullptr, nullptr, nullptr); w;
       w = FindWindowExA(HWND_MESSAGE, w, nullptr, nullptr)) {
    CountTopLevel(w, reinterpret_cast<LPARAM>(&c));
  }
  return c.count;
}

bool Option(const char* arg, const char* name, std::string& value) {
  const size_t n = std::strlen(name);
  if (std::strncmp(arg, name, n) != 0 || arg[n] != '=') return false;
  value = arg + n + 1;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::string name, value;
  DWORD intervalMs = 500, waitMs = 60000;
  for (int i = 1; i < argc; ++i) {
    if (Option(argv[i], "--name", value)) {
      name = value;
    } else if (Option(argv[i], "--interval-ms", value) && std::atol(value.c_str()) > 0) {
      intervalMs = static_cast<DWORD>(std::atol(value.c_str()));
    } else if (Option(argv[i], "--wait-ms", value)) {
      waitMs = static_cast<DWORD>(std::atol(value.c_str()));
    } else {
      std::fprintf(stderr, "usage: penwatch --name=PROGRAM.exe [--interval-ms=500] [--wait-ms=60000]\n");
      return 2;
    }
  }
  if (name.empty()) {
    std::fprintf(stderr, "penwatch: --name is needed\n");
    return 2;
  }

  DWORD pid = 0;
  const DWORD waitStart = GetTickCount();
  while ((pid = FindProcess(name)) == 0 && GetTickCount() - waitStart < waitMs) Sleep(100);
  if (pid == 0) {
    std::fprintf(stderr, "penwatch: no process %s\n", name.c_str());
    return 1;
  }
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | SYNCHRONIZE, FALSE, pid);
  if (!process) {
    std::fprintf(stderr, "penwatch: %s (process %lu) cannot be opened: error %lu\n", name.c_str(),
                 static_cast<unsigned long>(pid), static_cast<unsigned long>(GetLastError()));
    return 1;
  }

  HandleCounter systemHandles;
  GdiCounter gdiTable(process);
  bool sourcesNamed = false;
  const DWORD start = GetTickCount();
  for (;;) {
    DWORD handles = 0;
    const BOOL haveHandles = GetProcessHandleCount(process, &handles) && handles != 0;
    SetLastError(0);
    const DWORD gdi = GetGuiResources(process, GR_GDIOBJECTS);
    const bool haveGdi = !(gdi == 0 && GetLastError() == ERROR_CALL_NOT_IMPLEMENTED);
    SetLastError(0);
    const DWORD user = GetGuiResources(process, GR_USEROBJECTS);
    const bool haveUser = !(user == 0 && GetLastError() == ERROR_CALL_NOT_IMPLEMENTED);
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    if (!GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory)) break;
    const bool havePrivate = memory.PrivateUsage != 0;

    if (WaitForSingleObject(process, 0) == WAIT_OBJECT_0) break;
    if (!sourcesNamed) {
      std::printf("# process %s %lu\n", name.c_str(), static_cast<unsigned long>(pid));
      std::printf("# handles: %s\n", haveHandles ? "GetProcessHandleCount" : "system handle table");
      std::printf("# GDI: %s\n", haveGdi ? "GetGuiResources" : "GDI handle table");
      std::printf("# USER: %s\n", haveUser ? "GetGuiResources" : "windows");
      std::printf("# private: %s\n", havePrivate ? "PrivateUsage" : "PagefileUsage");
      std::printf("# ms handles gdi user private\n");
      sourcesNamed = true;
    }
    std::printf("%lu %ld %ld %ld %llu\n", static_cast<unsigned long>(GetTickCount() - start),
                haveHandles ? static_cast<long>(handles) : systemHandles.Count(pid),
                haveGdi ? static_cast<long>(gdi) : gdiTable.Count(), haveUser ? static_cast<long>(user) : CountWindows(pid),
                static_cast<unsigned long long>(havePrivate ? memory.PrivateUsage : memory.PagefileUsage));
    std::fflush(stdout);
    if (WaitForSingleObject(process, intervalMs) == WAIT_OBJECT_0) break;
  }
  CloseHandle(process);
  return 0;
}
