#pragma once
#include <windows.h>

#include <atomic>

#include "common/WindowTimer.h"

namespace pen::win32 {

// A window timer on a message-only window of the thread that creates it
// (the main thread). SetTimer only works for the window's own thread, so
// Start and Stop from another thread are posted to the window and carried
// out there; whatever the threads, the last request made is the one that
// holds.
class Win32WindowTimer final : public IWindowTimer {
 public:
  Win32WindowTimer();
  ~Win32WindowTimer() override;
  Win32WindowTimer(const Win32WindowTimer&) = delete;
  Win32WindowTimer& operator=(const Win32WindowTimer&) = delete;

  void SetOnTimer(Event<> handler) override { onTimer_ = handler; }
  void Start(uint32_t intervalMs) override;
  void Stop() override;
  bool Running() const override { return running_.load(); }

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

  HWND window_ = nullptr;
  DWORD thread_ = 0;
  Event<> onTimer_;
  std::atomic<bool> running_{false};
  std::atomic<LPARAM> generation_{0};
};

}  // namespace pen::win32
