#pragma once
#include <windows.h>

#include <dbt.h>

#include <cwchar>
#include <cwctype>
#include <string>

namespace pen::win32 {

// What the system sends when a device interface goes away, for `path` (the
// notice's case may differ from the enumerated path's).
struct RemovalNotice {
  DEV_BROADCAST_DEVICEINTERFACE_W header;
  wchar_t rest[512];

  explicit RemovalNotice(const std::string& path, bool upperCase = false) : header{}, rest{} {
    std::wstring name(path.begin(), path.end());
    if (upperCase) {
      for (wchar_t& ch : name) ch = static_cast<wchar_t>(towupper(ch));
    }
    wcsncpy(header.dbcc_name, name.c_str(), 512);
    header.dbcc_size = static_cast<DWORD>(sizeof *this);
    header.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
  }
  // Handled by the controller's window as the system's notice would be.
  void SendTo(HWND controllerWindow) {
    SendMessageW(controllerWindow, WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, reinterpret_cast<LPARAM>(this));
  }
};

}  // namespace pen::win32
