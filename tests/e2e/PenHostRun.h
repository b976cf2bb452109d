#pragma once
// The service program run for real under the virtual tablet, as the
// end-to-end tests drive it: a private copy per test, its trace, settings
// file and feature log, and other programs started beside it.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "pipeline/DemoSession.h"
#include "pipeline/TabletRecording.h"

namespace e2e {

inline std::string g_penhost;   // Windows path of penhost.exe
inline std::string g_tabclient; // Windows path of tabclient.exe
inline std::string g_workRoot;


inline constexpr const char* kClass = "TPenHostMain";
inline constexpr const char* kCaption = "70ea8e50-29b4-4832-b9f3-c75409347c2e";
inline constexpr UINT kShowSettings = WM_USER + 100;
inline constexpr UINT kServiceCommand = WM_USER + 101;

inline std::string WindowsPath(std::string p) {
  if (!p.empty() && p[0] == '/') p = "Z:" + p;  // Wine's drive for the Unix root
  for (char& c : p) {
    if (c == '/') c = '\\';
  }
  return p;
}

inline std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);) {
    if (!l.empty() && l.back() == '\r') l.pop_back();
    out.push_back(l);
  }
  return out;
}

inline size_t CountOf(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// One feature report as the virtual tablet logged it.
struct Feature {
  unsigned long tick = 0;
  std::string bytes;  // "08 03 00 FF ..."
};

inline std::vector<Feature> Features(const std::string& path) {
  std::vector<Feature> out;
  for (const std::string& l : Lines(ReadAll(path))) {
    const size_t space = l.find(' ');
    if (space == std::string::npos) continue;
    out.push_back({std::stoul(l.substr(0, space)), l.substr(space + 1)});
  }
  return out;
}

inline bool WaitFor(const std::function<bool()>& done, DWORD ms) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > ms) return false;
    Sleep(50);
  }
  return true;
}

// A private copy of the program per test, so that each starts from its own
// settings file.
class PenHostRun : public ::testing::Test {
 protected:
  std::string dir, exe, trace, features;
  PROCESS_INFORMATION pi{};

  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir = g_workRoot + "\\" + info->name();
    CreateDirectoryA(g_workRoot.c_str(), nullptr);
    CreateDirectoryA(dir.c_str(), nullptr);
    exe = dir + "\\penhost.exe";
    trace = dir + "\\trace.txt";
    features = dir + "\\features.txt";
    ASSERT_TRUE(CopyFileA(g_penhost.c_str(), exe.c_str(), FALSE)) << g_penhost;
    const std::string from = g_penhost.substr(0, g_penhost.find_last_of('\\') + 1) + "padlink_vc.dll";
    CopyFileA(from.c_str(), (dir + "\\padlink_vc.dll").c_str(), FALSE);  // optional
    DeleteFileA((dir + "\\TSetting.ini").c_str());
    DeleteFileA(trace.c_str());
    DeleteFileA(features.c_str());
  }

  void TearDown() override {
    if (pi.hProcess) {
      if (WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) {
        if (HWND w = FindWindowA(kClass, kCaption)) PostMessageA(w, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(pi.hProcess, 15000) == WAIT_TIMEOUT) TerminateProcess(pi.hProcess, 9);
      }
      CloseHandle(pi.hProcess);
      CloseHandle(pi.hThread);
    }
  }

  std::string SaveRecording(const pen::TTabletRecording& rec) {
    const std::string path = dir + "\\session.txt";
    EXPECT_TRUE(rec.SaveFile(path));
    return path;
  }

  PROCESS_INFORMATION Launch(const std::string& args) { return LaunchProgram(exe, args); }

  // Any program, started in this test's folder.
  PROCESS_INFORMATION LaunchProgram(const std::string& program, const std::string& args) {
    std::string cmd = "\"" + program + "\" " + args;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION p{};
    EXPECT_TRUE(CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &p))
        << cmd;
    return p;
  }

  // Starts the service and waits until it has set the tablet up.
  void Start(const std::string& recording, const std::string& extra = "") {
    pi = Launch("--virtual-tablet=\"" + recording + "\" --trace=\"" + trace + "\" --feature-log=\"" + features +
                "\" " + extra);
    const bool up = WaitFor([&] { return CountOf(ReadAll(trace), "service running") == 1; }, 30000);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(pi.hProcess, &code);
    ASSERT_TRUE(up) << "exit code " << code << " (" << STILL_ACTIVE << ": still running), trace:\n"
                    << ReadAll(trace);
  }

  HWND Window() { return FindWindowA(kClass, kCaption); }

  // Posts a command, then the harmless command 10 as a marker, and waits
  // until the marker has been handled: so has everything before it.
  void CommandAndSettle(int code, WPARAM arg) {
    const size_t before = Features(features).size();
    PostMessageA(Window(), kServiceCommand, arg, code);
    PostMessageA(Window(), kServiceCommand, 0, 10);
    ASSERT_TRUE(WaitFor(
        [&] {
          // The trace notes a command once all it sent has reached the tablet.
          return CountOf(ReadAll(trace), "command 10 handled") >= markers + 1 && Features(features).size() > before;
        },
        20000));
    ++markers;
  }

  int Stop() {
    PostMessageA(Window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(pi.hProcess, 20000), WAIT_OBJECT_0);
    DWORD code = 99;
    GetExitCodeProcess(pi.hProcess, &code);
    return static_cast<int>(code);
  }

  size_t markers = 0;
};

inline pen::TTabletRecording Idle() {
  pen::TTabletRecording rec;
  rec.identity.version = 0x2201;
  rec.identity.product = "[R711]Pen Tablet";
  return rec;
}

}  // namespace e2e
