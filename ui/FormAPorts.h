#pragma once
#include <cstdint>
#include <string>

#include "common/ModelCatalogue.h"
#include "service/SettingsStore.h"
#include "service/SettingsWindowPort.h"

namespace pen {

enum class FormATimer : uint8_t { PressureLine, Apply, OnShow, Cursor, kCount };

// What changed, for the window to show.
enum class FormAChange : uint8_t {
  Controls,   // captions, visibility, checks, edit text, tracker, list
  Chart,      // the pressure chart, bar and label
  DrawArea,   // the test area was cleared
  Cursor,     // a new cursor was built
};

// The window of the main settings form, as its model drives it.
class IFormAView {
 public:
  virtual ~IFormAView() = default;
  virtual uintptr_t Handle() const = 0;
  // Centred on the screen and brought to the front / hidden.
  virtual void ShowForm() = 0;
  virtual void HideForm() = 0;
  virtual void Changed(FormAChange what) = 0;
  // Starting a running timer restarts it.
  virtual void StartTimer(FormATimer timer, uint32_t ms) = 0;
  virtual void StopTimer(FormATimer timer) = 0;
  // Safe from any thread: asks the window's thread to call
  // TFormA::PressureLineRequested.
  virtual void RequestPressureLine() = 0;
};

// The rest of the desktop the form reaches.
class IFormADesktop {
 public:
  virtual ~IFormADesktop() = default;
  virtual bool IsWindow(uintptr_t window) = 0;
  // Posted, never sent: nothing waits for the service.
  virtual void PostCommand(uintptr_t window, int64_t code, uint64_t wparam) = 0;
  virtual void OpenAddress(const std::string& address) = 0;
};

// The key-setup windows: one per model family.
using KeySetupWindow = ModelFamily;

// The modal child windows the form opens: the screen mapping window and the
// model key-setup windows.
class IFormAChildren {
 public:
  virtual ~IFormAChildren() = default;
  virtual bool HasScreenMapping() const = 0;
  // Shows the screen mapping window modally; the rectangles come back as
  // the user left them.
  virtual void ShowScreenMapping(MapRect& screen, MapRect& tablet, const std::string& modelCode,
                                 bool showTabletArea) = 0;
  virtual bool HasKeySetup(KeySetupWindow which) const = 0;
  // Shows it modally with the definitions; true when closed with OK.
  virtual bool ShowKeySetup(KeySetupWindow which, ButtonDefinitions& definitions) = 0;
  // The open key-setup window: brought to the front / closed.
  virtual void BringKeySetupToFront(KeySetupWindow which) = 0;
  virtual void CloseKeySetup(KeySetupWindow which) = 0;
};

// Until those windows exist, their buttons open nothing.
class TNoFormAChildren final : public IFormAChildren {
 public:
  bool HasScreenMapping() const override { return false; }
  void ShowScreenMapping(MapRect&, MapRect&, const std::string&, bool) override {}
  bool HasKeySetup(KeySetupWindow) const override { return false; }
  bool ShowKeySetup(KeySetupWindow, ButtonDefinitions&) override { return false; }
  void BringKeySetupToFront(KeySetupWindow) override {}
  void CloseKeySetup(KeySetupWindow) override {}
};

}  // namespace pen
