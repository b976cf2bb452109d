#pragma once
// What the runs that drive the service's windows share: the settings window
// shown as the tray shows it, the user's language choice, pictures of the
// windows left as build artefacts, and the programs' command line.
#include "PenHostRun.h"
#include "DesktopMouse.h"

#include <cstdio>

#include "ui/FormALayout.h"
#include "ui/win32/GdiPlus.h"
#include "ui/win32/Win32FormA.h"

namespace e2e {

inline std::string g_pictures;  // where the windows' pictures go

// The window of that class (and title, when given) once it is visible; null
// when it did not show within `ms`.
inline HWND WaitForVisible(const char* className, const char* title, DWORD ms) {
  HWND window = nullptr;
  WaitFor(
      [&] {
        window = FindWindowA(className, title);
        return window && IsWindowVisible(window);
      },
      ms);
  return window && IsWindowVisible(window) ? window : nullptr;
}

inline HWND SettingsControl(HWND form, pen::FormAControl c) {
  return GetDlgItem(form, pen::win32::TWin32FormA::kFirstControlId + pen::Index(c));
}

class WindowRun : public PenHostRun {
 protected:
  pen::win32::TGdiPlus gdiplus;

  // Shows the settings window as a second start or the tray would, and waits
  // until it has painted.
  HWND ShowSettings() {
    PostMessageA(Window(), kShowSettings, 0, 0);
    HWND form = WaitForVisible(pen::win32::TWin32FormA::kClassName, nullptr, 20000);
    EXPECT_NE(form, nullptr) << ReadAll(trace);
    Sleep(700);
    return form;
  }

  // The user's language choice in the setup file: English, whatever the
  // system's language.
  void ChooseEnglish() {
    WritePrivateProfileStringA("MainItem", "UserSelectLanEnable", "1", (dir + "\\LanSetup.ini").c_str());
    WritePrivateProfileStringA("MainItem", "UserSelectLan", "0", (dir + "\\LanSetup.ini").c_str());
  }

  void Picture(HWND window, const char* name) {
    const std::string file = g_pictures + "\\" + name;
    EXPECT_TRUE(pen::win32::SaveWindowShot(window, file)) << file;
  }
};

// main() of a window program: PROGRAM PENHOST.EXE WORK-FOLDER PICTURE-FOLDER.
inline int WindowRunMain(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc < 4) {
    std::fprintf(stderr, "usage: %s PENHOST.EXE WORK-FOLDER PICTURE-FOLDER\n", argv[0]);
    return 2;
  }
  g_penhost = WindowsPath(argv[1]);
  g_workRoot = WindowsPath(argv[2]);
  g_pictures = WindowsPath(argv[3]);
  return RUN_ALL_TESTS();
}

}  // namespace e2e
