#pragma once
#include <windows.h>

namespace pen::test {

// A named mutex whose security grants nobody anything, as the mutex of an
// elevated process is to a process with normal rights: opening it by name
// fails with ERROR_ACCESS_DENIED. Null when it cannot be made.
inline HANDLE CreateGuardedMutex(const char* name) {
  static ACL empty;
  static SECURITY_DESCRIPTOR sd;
  if (!InitializeAcl(&empty, sizeof empty, ACL_REVISION) ||
      !InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION) ||
      !SetSecurityDescriptorDacl(&sd, TRUE, &empty, FALSE)) {
    return nullptr;
  }
  SECURITY_ATTRIBUTES sa{sizeof sa, &sd, FALSE};
  return CreateMutexA(&sa, FALSE, name);
}

}  // namespace pen::test
