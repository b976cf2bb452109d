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

// A visible top-level window of that class (and title, when given): several
// windows may share a class, and only one of them shows.
struct VisibleSearch {
  const wchar_t* className;
  const char* title;
  HWND found;
};
inline BOOL CALLBACK MatchVisible(HWND w, LPARAM p) {
  auto* s = reinterpret_cast<VisibleSearch*>(p);
  wchar_t cls[64] = {};
  char title[256] = {};
  GetClassNameW(w, cls, 64);
  if (!IsWindowVisible(w) || lstrcmpW(cls, s->className) != 0) return TRUE;
  if (s->title) {
    GetWindowTextA(w, title, sizeof title);
    if (lstrcmpA(title, s->title) != 0) return TRUE;
  }
  s->found = w;
  return FALSE;
}

// The window of that class (and title, when given) once it is visible; null
// when it did not show within `ms`.
inline HWND WaitForVisible(const wchar_t* className, const char* title, DWORD ms) {
  VisibleSearch search{className, title, nullptr};
  WaitFor(
      [&] {
        search.found = nullptr;
        EnumWindows(&MatchVisible, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
      },
      ms);
  return search.found;
}

// One key pressed and released, as the keyboard would, with a modifier held
// when given.
inline void Type(WORD vk, WORD modifier = 0) {
  INPUT in[4]{};
  int n = 0;
  auto key = [&](WORD k, bool up) {
    in[n].type = INPUT_KEYBOARD;
    in[n].ki.wVk = k;
    in[n].ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    ++n;
  };
  if (modifier) key(modifier, false);
  key(vk, false);
  key(vk, true);
  if (modifier) key(modifier, true);
  SendInput(static_cast<UINT>(n), in, sizeof in[0]);
  Sleep(300);
}

// The window that has the keyboard focus in the thread of `window`.
inline HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

// What a taskbar or Alt+Tab list reads: the text stored with the window.
inline std::wstring Title(HWND window) {
  wchar_t text[256] = {};
  InternalGetWindowText(window, text, 256);
  return text;
}

// A window that belongs to `owner`: no taskbar button or Alt+Tab entry of its
// own.
inline void ExpectOwnedBy(HWND window, HWND owner) {
  EXPECT_EQ(GetWindow(window, GW_OWNER), owner);
  EXPECT_EQ(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_APPWINDOW, 0);
  EXPECT_TRUE(IsWindowUnicode(window));
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
