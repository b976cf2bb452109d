#include "pipeline/win32/Win32MainThread.h"

#include "pipeline/win32/MessageOnlyWindow.h"

namespace pen::win32 {

namespace {
constexpr UINT kInvokeMessage = WM_APP + 0x51;
constexpr wchar_t kClassName[] = L"PenMainThreadInvoker";

// Dispatches the messages other threads have sent to this one, and only those:
// posted messages stay queued for the real message loop.
void ServeSentMessages() {
  MSG msg;
  PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}
}  // namespace

Win32MainThread::Win32MainThread() : threadId_(GetCurrentThreadId()) {
  window_ = CreateMessageOnlyWindow(kClassName, &Win32MainThread::WindowProc);
}

Win32MainThread::~Win32MainThread() {
  if (window_) DestroyWindow(window_);
}

void Win32MainThread::Invoke(Event<> work) {
  // Without its window (creation failed) nothing could ever serve the call:
  // running it here beats blocking the caller for ever.
  if (GetCurrentThreadId() == threadId_ || !window_) {
    work();
    return;
  }
  SendMessageW(window_, kInvokeMessage, 0, reinterpret_cast<LPARAM>(&work));
}

void Win32MainThread::WaitServing(const std::atomic<bool>& finished) {
  while (!finished.load()) {
    MsgWaitForMultipleObjectsEx(0, nullptr, 10, QS_SENDMESSAGE, 0);
    ServeSentMessages();
  }
}

void Win32MainThread::WaitForThreadServing(HANDLE thread) {
  for (;;) {
    DWORD r = MsgWaitForMultipleObjectsEx(1, &thread, INFINITE, QS_SENDMESSAGE, 0);
    if (r != WAIT_OBJECT_0 + 1) return;  // the thread ended, or the wait itself failed
    ServeSentMessages();
  }
}

LRESULT CALLBACK Win32MainThread::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kInvokeMessage) {
    (*reinterpret_cast<Event<>*>(lp))();
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace pen::win32
