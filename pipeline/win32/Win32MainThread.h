#pragma once
#include <windows.h>

#include "pipeline/MainThread.h"

namespace pen::win32 {

// Work from other threads reaches the creating thread through SendMessage to
// a hidden message-only window, so it runs inside that thread's message loop
// or inside any wait there that serves sent messages.
class Win32MainThread : public IMainThread {
 public:
  Win32MainThread();
  ~Win32MainThread() override;
  Win32MainThread(const Win32MainThread&) = delete;
  Win32MainThread& operator=(const Win32MainThread&) = delete;

  void Invoke(Event<> work) override;
  void WaitServing(const std::atomic<bool>& finished) override;

  // Waits for a thread handle while serving sent messages, so that a thread
  // blocked in SendMessage to this thread can finish.
  static void WaitForThreadServing(HANDLE thread);

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  HWND window_ = nullptr;
  DWORD threadId_ = 0;
};

}  // namespace pen::win32
