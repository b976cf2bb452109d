// Starting a soft key's program: handed to the launcher's thread by a posted
// message that any program of the session could forge.
#include "keys/win32/ShellProgramLauncher.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pen::win32 {
namespace {

std::vector<std::string> g_started;

void Record(HWND, const char* verb, const char* file) {
  g_started.push_back(std::string(verb ? verb : "(none)") + " " + (file ? file : "(none)"));
}

void PumpAll() {
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
}

TEST(ShellProgramLauncher, StartsTheSoftKeysProgramsAndNothingAPostedMessageNames) {
  g_started.clear();
  ShellProgramLauncher launcher(0, &Record);
  ASSERT_NE(launcher.Window(), nullptr);

  launcher.Start(nullptr, "wmplayer.exe");
  launcher.Start("open", "calc.exe");
  PumpAll();
  EXPECT_EQ(g_started, (std::vector<std::string>{"(none) wmplayer.exe", "open calc.exe"}));

  // A program not in the list is not started.
  g_started.clear();
  launcher.Start("open", "cmd.exe");
  PumpAll();
  EXPECT_TRUE(g_started.empty());

  // What another program might post: texts of its choosing (here valid in
  // this process, the worst case), places beyond the list, anything.
  static const char kVerb[] = "open";
  static const char kFile[] = "cmd.exe";
  const UINT start = ShellProgramLauncher::kStartMessage;
  PostMessageW(launcher.Window(), start, reinterpret_cast<WPARAM>(kVerb), reinterpret_cast<LPARAM>(kFile));
  PostMessageW(launcher.Window(), start, 0, reinterpret_cast<LPARAM>(kFile));
  PostMessageW(launcher.Window(), start, ShellProgramLauncher::kProgramCount, 0);
  PostMessageW(launcher.Window(), start, static_cast<WPARAM>(-1), static_cast<LPARAM>(-1));
  PumpAll();
  // At most one of the fixed programs, never the named one.
  for (const std::string& s : g_started) {
    EXPECT_TRUE(s == "(none) wmplayer.exe" || s == "open calc.exe") << s;
  }
  EXPECT_LE(g_started.size(), 1u);
}

}  // namespace
}  // namespace pen::win32
