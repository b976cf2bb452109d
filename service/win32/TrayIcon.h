#pragma once
#include <windows.h>

#include <shellapi.h>

#include <string>

#include "common/Event.h"
#include "service/HostShell.h"

namespace pen::win32 {

// The notification-area icon with its popup menu. It keeps a hidden window of
// its own so that the shell's "TaskbarCreated" broadcast reaches it.
class TWin32TrayIcon final : public ITrayIcon {
 public:
  static constexpr UINT kCallbackMessage = WM_APP + 1;
  static constexpr UINT kMenuShow = 1;
  static constexpr UINT kMenuStop = 2;

  // How the icon reaches the shell: Shell_NotifyIconW, or a stand-in that
  // refuses when a test needs a shell that is not ready.
  using NotifyFn = BOOL(WINAPI*)(DWORD action, PNOTIFYICONDATAW data);

  explicit TWin32TrayIcon(NotifyFn notify = &Shell_NotifyIconW);
  ~TWin32TrayIcon() override;
  TWin32TrayIcon(const TWin32TrayIcon&) = delete;
  TWin32TrayIcon& operator=(const TWin32TrayIcon&) = delete;

  Event<> onShow;  // "&Show" and a left double-click
  Event<> onStop;  // "&Stop service"
  // The restarted shell refused the icon; it counts as not enabled now.
  Event<> onLost;

  bool Enabled() const override { return enabled_; }
  bool Enable() override;
  int Index() const override { return index_; }
  void SetIndex(int index) override;
  void SetTexts(const std::string& hint, const std::string& showItem, const std::string& stopItem) override;

  HWND Window() const { return window_; }
  HICON Icon(int index) const { return icons_[index == 0 ? 0 : 1]; }

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);
  bool Notify(DWORD action);
  bool Add();
  void ShowMenu();

  NotifyFn notify_;
  HWND window_ = nullptr;
  HMENU menu_ = nullptr;
  HICON icons_[2] = {nullptr, nullptr};
  UINT taskbarCreated_ = 0;
  bool enabled_ = false;
  int index_ = 1;
  std::wstring hint_ = L"Pen Host";
};

}  // namespace pen::win32
