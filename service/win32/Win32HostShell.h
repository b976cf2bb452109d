#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "service/HeldMessages.h"
#include "service/HostShell.h"

namespace pen {
class TPenHostMain;
}

namespace pen::win32 {

// The hidden main window: the class and caption a second instance and other
// programs look for, its timers, and the desktop calls the host asks for.
class TWin32HostShell final : public IHostShell {
 public:
  static constexpr const char* kClassName = "TPenHostMain";
  static constexpr const char* kCaption = "70ea8e50-29b4-4832-b9f3-c75409347c2e";
  static constexpr UINT_PTR kTrayTimer = 1;
  static constexpr UINT_PTR kDisplayTimer = 2;
  static constexpr UINT_PTR kExitTimer = 3;
  static constexpr UINT kTrayRetryMs = 5000;
  static constexpr UINT kDisplaySettleMs = 1500;

  TWin32HostShell();
  ~TWin32HostShell() override;
  TWin32HostShell(const TWin32HostShell&) = delete;
  TWin32HostShell& operator=(const TWin32HostShell&) = delete;

  // Creates the window (never shown, no taskbar button) and starts the tray
  // retry timer. False when the window cannot be created.
  bool Create();
  HWND Window() const { return window_; }
  // Messages go to the host from now on; before, only default processing,
  // except that a display change already starts the display timer and that
  // client registrations (messages A and B of the shared channel) and wheel
  // messages are held.
  void SetHost(TPenHostMain* host) { host_ = host; }
  // Hands the held messages to the attached (and started) host, in the order
  // they came; from then on nothing is held.
  void HandOverHeld();
  // Closes the program after `ms` (0: never).
  void CloseAfter(uint32_t ms);
  void Destroy();

  uintptr_t OwnWindow() const override { return reinterpret_cast<uintptr_t>(window_); }
  void PostToSelf(uint32_t msg, uint64_t wparam, int64_t lparam) override;
  void PostQuit() override;
  bool ConfirmStop(const std::string& caption, const std::string& text) override;
  void StartDisplayChangeTimer() override;
  void StopDisplayChangeTimer() override;
  bool MonitorsSettled() override;
  void StartTrayTimer() override;
  void StopTrayTimer() override;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);

  HWND window_ = nullptr;
  TPenHostMain* host_ = nullptr;
  THeldMessages held_;
};

// UTF-8 to UTF-16 for the wide calls.
std::wstring Widen(const std::string& text);

}  // namespace pen::win32
