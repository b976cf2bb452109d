#pragma once
// What a test does once a modal window is up: the window's own loop runs it
// from a thread timer, as it would run a user's input.
#include <windows.h>

#include <functional>
#include <utility>

namespace pen::test {

inline std::function<void()> g_modalScript;

inline void CALLBACK RunModalScript(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  auto script = std::move(g_modalScript);
  g_modalScript = nullptr;
  if (script) script();
}

// Runs `script` from the first message loop that turns after `delayMs`.
inline void RunInModalLoop(std::function<void()> script, UINT delayMs) {
  g_modalScript = std::move(script);
  SetTimer(nullptr, 0, delayMs, &RunModalScript);
}

}  // namespace pen::test
