#pragma once
#include "keys/WheelMessages.h"
#include "keys/WheelUI.h"
#include "service/HostMessages.h"
#include "service/HostShell.h"
#include "service/WheelOverlayPort.h"

namespace pen {

static_assert(host_msg::kWheelUi == wheel_message::kWheelUi && wheel_ui::kCentreButton == wheel_message::kCentreButton &&
                  wheel_ui::kStep == wheel_message::kStep,
              "the host and the wheel code must agree on WM_WHEELUI");

// The wheel overlay as the host drives it.
class TWheelUILink final : public IWheelOverlay {
 public:
  explicit TWheelUILink(TWheelUI& wheel) : w_(wheel) {}
  void HandleWheelMessage(uint64_t wparam, int64_t lparam) override { w_.HandleMessage(wparam, lparam); }
  void ReloadLanguage() override { w_.RefreshFaces(); }

 private:
  TWheelUI& w_;
};

// The host's own window, for the button manager's wheel-button message.
class TShellPoster final : public IWindowPoster {
 public:
  explicit TShellPoster(IHostShell& shell) : shell_(shell) {}
  void Post(uint32_t msg, uint64_t wparam, int64_t lparam) override { shell_.PostToSelf(msg, wparam, lparam); }

 private:
  IHostShell& shell_;
};

}  // namespace pen
