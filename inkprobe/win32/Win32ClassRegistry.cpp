#include "inkprobe/win32/Win32ClassRegistry.h"

#include <windows.h>
#include <objbase.h>

#include <vector>

namespace pen::win32 {

bool TWin32ClassRegistry::ProgIdRegistered(const char* progId) {
  wchar_t wide[256];
  if (!MultiByteToWideChar(CP_ACP, 0, progId, -1, wide, static_cast<int>(sizeof(wide) / sizeof(wide[0])))) {
    return false;
  }
  CLSID clsid;
  HRESULT result = CLSIDFromProgID(wide, &clsid);
  // The installer's thread may not have entered COM; enter it only for the
  // lookup so the caller's apartment stays its own choice.
  if (result == CO_E_NOTINITIALIZED && SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
    result = CLSIDFromProgID(wide, &clsid);
    CoUninitialize();
  }
  return SUCCEEDED(result);
}

bool TWin32ClassRegistry::ReadClassesRootDefault(const char* subKey, std::string& value) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, subKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  DWORD type = 0;
  DWORD size = 0;
  bool ok = RegQueryValueExA(key, nullptr, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
            (type == REG_SZ || type == REG_EXPAND_SZ);
  std::vector<char> data;
  if (ok) {
    data.resize(size + 1);  // stored strings need not end in a NUL
    ok = RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) ==
         ERROR_SUCCESS;
  }
  RegCloseKey(key);
  if (!ok) return false;
  data.resize(size);
  while (!data.empty() && data.back() == '\0') data.pop_back();
  value.assign(data.begin(), data.end());
  return true;
}

}  // namespace pen::win32
