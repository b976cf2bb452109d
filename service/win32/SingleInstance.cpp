#include "service/win32/SingleInstance.h"

namespace pen::win32 {

bool MutexShowsAnotherInstance(HANDLE mutex, DWORD lastError) {
  if (mutex != nullptr) return lastError == ERROR_ALREADY_EXISTS;
  return lastError == ERROR_ACCESS_DENIED;
}

}  // namespace pen::win32
