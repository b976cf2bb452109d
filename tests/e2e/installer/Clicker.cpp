// installer-clicker TEXT=BUTTON...: a user at the setup program's windows.
// For each step in turn: waits (30 s at most) for a visible top-level dialog
// of any process that shows TEXT (in its caption or any of its controls),
// prints its caption and texts, and presses the button BUTTON (a control id:
// 1 OK / Next / Install, 2 Cancel) as a click would. Exit 0 when every step
// found its window, 1 otherwise.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

struct Search {
  const char* text = nullptr;
  HWND found = nullptr;
  std::string texts;
};

BOOL CALLBACK CollectText(HWND child, LPARAM out) {
  char text[1024] = {};
  if (IsWindowVisible(child) && GetWindowTextA(child, text, sizeof text) > 0) {
    auto& texts = *reinterpret_cast<std::string*>(out);
    texts += " | ";
    texts += text;
  }
  return TRUE;
}

BOOL CALLBACK FindDialog(HWND window, LPARAM out) {
  auto& search = *reinterpret_cast<Search*>(out);
  char cls[32] = {};
  GetClassNameA(window, cls, sizeof cls);
  if (lstrcmpA(cls, "#32770") != 0 || !IsWindowVisible(window)) return TRUE;
  char caption[512] = {};
  GetWindowTextA(window, caption, sizeof caption);
  std::string texts = caption;
  EnumChildWindows(window, CollectText, reinterpret_cast<LPARAM>(&texts));
  if (texts.find(search.text) == std::string::npos) return TRUE;
  search.found = window;
  search.texts = texts;
  return FALSE;
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    std::string step = argv[i];
    const size_t equals = step.rfind('=');
    if (equals == std::string::npos) {
      std::printf("usage: installer-clicker TEXT=BUTTON...\n");
      return 2;
    }
    const std::string text = step.substr(0, equals);
    const int button = std::atoi(step.c_str() + equals + 1);
    Search search;
    search.text = text.c_str();
    for (int waited = 0; waited < 30000 && !search.found; waited += 100) {
      EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
      if (!search.found) Sleep(100);
    }
    if (!search.found) {
      std::printf("no window shows \"%s\"\n", text.c_str());
      return 1;
    }
    std::printf("window: %s\n", search.texts.c_str());
    std::fflush(stdout);
    // A moment for the window to finish showing, as a user would take.
    Sleep(300);
    PostMessageA(search.found, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(search.found, button)));
    // The same window may show the next step's text: wait until this one
    // has gone or changed.
    for (int waited = 0; waited < 5000 && IsWindow(search.found); waited += 100) {
      std::string now;
      char caption[512] = {};
      GetWindowTextA(search.found, caption, sizeof caption);
      now = caption;
      EnumChildWindows(search.found, CollectText, reinterpret_cast<LPARAM>(&now));
      if (now.find(text) == std::string::npos) break;
      Sleep(100);
    }
  }
  return 0;
}
