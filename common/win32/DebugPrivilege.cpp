#include "common/win32/DebugPrivilege.h"

#include <windows.h>

namespace pen::win32 {

bool EnableDebugPrivilege() {
  HANDLE token;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return false;
  TOKEN_PRIVILEGES privileges{};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  bool ok = LookupPrivilegeValueA(nullptr, "SeDebugPrivilege", &privileges.Privileges[0].Luid) != FALSE;
  // AdjustTokenPrivileges succeeds even when the privilege was not granted.
  ok = ok && AdjustTokenPrivileges(token, FALSE, &privileges, sizeof(privileges), nullptr, nullptr) &&
       GetLastError() == ERROR_SUCCESS;
  CloseHandle(token);
  return ok;
}

}  // namespace pen::win32
