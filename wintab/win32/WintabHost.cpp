#include "wintab/win32/WintabHost.h"

namespace pen::wintab::win32 {

namespace {

constexpr wchar_t kClassName[] = L"PenTabletWintabClient";
constexpr UINT_PTR kReadTimer = 1;
constexpr UINT_PTR kServiceTimer = 2;
// The ring is read this often besides the service's notices: after the
// service re-targets the ring, it notifies again only once the tail moved.
constexpr UINT kReadMs = 15;
constexpr UINT kServiceMs = 250;

TWintabHost* g_host = nullptr;

HINSTANCE ThisModule() {
  HMODULE m = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&ThisModule), &m);
  return m;
}

}  // namespace

void TWin32WintabWindows::Post(uint64_t window, uint32_t msg, uint64_t wParam, int64_t lParam) {
  PostMessageW(reinterpret_cast<HWND>(static_cast<uintptr_t>(window)), msg, static_cast<WPARAM>(wParam),
               static_cast<LPARAM>(lParam));
}

TWintabHost::TWintabHost() : session_(windows_, sizeof(void*)) { QueryPerformanceFrequency(&frequency_); }

TWintabHost& TWintabHost::Instance() {
  // Made on first use, never from DllMain; kept until unload.
  static TWintabHost* host = (g_host = new TWintabHost());
  return *host;
}

void TWintabHost::Shutdown() {
  if (g_host == nullptr) return;
  if (g_host->window_ != nullptr && g_host->windowThread_ == GetCurrentThreadId()) {
    g_host->client_.reset();
    DestroyWindow(g_host->window_);
    UnregisterClassW(kClassName, ThisModule());
    g_host->window_ = nullptr;
  }
}

TWintabInfo TWintabHost::Info() {
  Desktop d;
  d.left = GetSystemMetrics(SM_XVIRTUALSCREEN);
  d.top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  d.width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
  d.height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  if (d.width <= 0 || d.height <= 0) {
    d.width = GetSystemMetrics(SM_CXSCREEN);
    d.height = GetSystemMetrics(SM_CYSCREEN);
  }
  return TWintabInfo(session_, d);
}

void TWintabHost::UpdateTimeOffset() {
  // The service stamps packets with the performance counter in
  // milliseconds; programs compare packet times with GetTickCount.
  LARGE_INTEGER now{};
  QueryPerformanceCounter(&now);
  const uint64_t ms = frequency_.QuadPart > 0 ? static_cast<uint64_t>(now.QuadPart) * 1000 / frequency_.QuadPart : 0;
  session_.SetTimeOffset(GetTickCount() - static_cast<uint32_t>(ms));
}

void TWintabHost::Attach() {
  if (window_ != nullptr) return;
  WNDCLASSW wc{};
  wc.lpfnWndProc = &WindowProc;
  wc.hInstance = ThisModule();
  wc.lpszClassName = kClassName;
  RegisterClassW(&wc);
  window_ = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  if (window_ == nullptr) return;
  windowThread_ = GetCurrentThreadId();
  client_ = std::make_unique<TChannelClient>(block_, service_, session_, reinterpret_cast<uintptr_t>(window_),
                                             GetCurrentProcessId());
  SetTimer(window_, kReadTimer, kReadMs, nullptr);
  SetTimer(window_, kServiceTimer, kServiceMs, nullptr);
  UpdateTimeOffset();
  client_->Poll();
}

LRESULT CALLBACK TWintabHost::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  TWintabHost* h = g_host;
  if (h != nullptr && h->client_ != nullptr) {
    if (msg == WM_TIMER && (wp == kReadTimer || wp == kServiceTimer)) {
      std::lock_guard<std::recursive_mutex> g(h->lock);
      h->UpdateTimeOffset();
      if (wp == kServiceTimer) {
        h->client_->Poll();
      } else if (h->session_.OpenContexts() > 0) {
        h->client_->Drain();
      }
      return 0;
    }
    if (msg != 0 && msg == h->service_.MessageA()) {
      std::lock_guard<std::recursive_mutex> g(h->lock);
      h->UpdateTimeOffset();
      h->client_->OnMessageA(static_cast<uint64_t>(wp), static_cast<int64_t>(lp));
      return 0;
    }
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace pen::wintab::win32
