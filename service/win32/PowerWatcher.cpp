#include "service/win32/PowerWatcher.h"

#include <cstddef>

namespace pen::win32 {

namespace {

// GUID_MONITOR_POWER_ON.
constexpr GUID kMonitorPower = {0x02731015, 0x4510, 0x4526, {0x99, 0xE6, 0xE5, 0xA1, 0x7E, 0xBD, 0x1A, 0xEA}};
constexpr const char* kClassName = "TPowerWatcher";

// The message carries a pointer; any program can post the same number with
// garbage in it, so the memory is checked before it is read.
bool Readable(const void* p, size_t size) {
  if (!p) return false;
  MEMORY_BASIC_INFORMATION mbi{};
  const auto* at = static_cast<const char*>(p);
  while (size > 0) {
    if (VirtualQuery(at, &mbi, sizeof mbi) == 0) return false;
    if (mbi.State != MEM_COMMIT || (mbi.Protect & (PAGE_NOACCESS | PAGE_GUARD)) != 0) return false;
    const auto* end = static_cast<const char*>(mbi.BaseAddress) + mbi.RegionSize;
    const size_t here = static_cast<size_t>(end - at);
    if (here >= size) return true;
    size -= here;
    at = end;
  }
  return true;
}

}  // namespace

TPowerWatcher::TPowerWatcher() {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA wc{};
  wc.lpfnWndProc = &TPowerWatcher::WindowProc;
  wc.hInstance = instance;
  wc.lpszClassName = kClassName;
  RegisterClassA(&wc);
  window_ = CreateWindowExA(WS_EX_TOOLWINDOW, kClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, this);
  if (window_) notify_ = RegisterPowerSettingNotification(window_, &kMonitorPower, DEVICE_NOTIFY_WINDOW_HANDLE);
}

TPowerWatcher::~TPowerWatcher() {
  if (notify_) UnregisterPowerSettingNotification(notify_);
  if (window_) DestroyWindow(window_);
}

LRESULT CALLBACK TPowerWatcher::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  }
  auto* self = reinterpret_cast<TPowerWatcher*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (self && msg == WM_POWERBROADCAST && self->HandlePowerBroadcast(wp, lp)) return TRUE;
  return DefWindowProcA(hwnd, msg, wp, lp);
}

bool TPowerWatcher::HandlePowerBroadcast(WPARAM wp, LPARAM lp) {
  if (wp != PBT_POWERSETTINGCHANGE) return false;
  const auto* setting = reinterpret_cast<const POWERBROADCAST_SETTING*>(lp);
  if (!Readable(setting, offsetof(POWERBROADCAST_SETTING, Data))) return false;
  if (setting->PowerSetting != kMonitorPower || setting->DataLength < 1) return false;
  if (!Readable(setting->Data, 1)) return false;
  OnMonitorPowerChanged(setting->Data[0] == 0 ? TMonitorPower::PoOff : TMonitorPower::PoOn);
  return true;
}

}  // namespace pen::win32
