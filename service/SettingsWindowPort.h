#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "keys/ButtonDefinitionsPort.h"
#include "keys/KeyList.h"
#include "service/SettingsStore.h"

namespace pen {

// The main settings window as the host reads and fills it (ui/UnitFormA.h).
class ISettingsWindow {
 public:
  virtual ~ISettingsWindow() = default;

  // Values the host reads back (command 0, 5, 7, 10, 11).
  virtual bool InkMode() const = 0;
  virtual void SetInkMode(bool on) = 0;
  virtual MapRect ScreenMapRect() const = 0;
  virtual void SetScreenMapRect(const MapRect& r) = 0;
  virtual MapRect TabletMapRect() const = 0;
  virtual void SetTabletMapRect(const MapRect& r) = 0;
  virtual bool LeftHandChecked() const = 0;
  virtual void SetLeftHandChecked(bool on) = 0;
  virtual int32_t GetPressureLevel() const = 0;
  virtual void SetPressureLevel(int32_t v) = 0;
  virtual uint8_t KeyUsage() const = 0;
  virtual void SetSelfDefineKey(uint8_t usage) = 0;
  virtual uint8_t KeyModifiers() const = 0;
  virtual void SetSelfDefineModifiers(uint8_t modifiers) = 0;

  // Device facts it shows.
  virtual void SetFirmwareVersion(const std::string& text) = 0;
  virtual void SetModelCode(const std::string& code) = 0;
  virtual void SetProductString(const std::string& text) = 0;
  virtual void SetPressureAdjustable(bool on) = 0;
  virtual void SetTabletFound(bool found) = 0;
  virtual void SetServiceVersion(const std::string& text) = 0;
  virtual void SetServiceWindow(uintptr_t handle) = 0;
  // The button manager's definitions, which the key-setup windows edit.
  virtual void SetButtonDefinitions(IButtonDefinitions* definitions) = 0;
  virtual void SetRotation(uint8_t rotation) = 0;

  virtual uintptr_t Handle() const = 0;
  virtual bool Visible() const = 0;
  virtual void Hide() = 0;
  // Shows the key-setup window the user left open, else the window itself.
  virtual void ShowWindowOrOpenKeyWindow() = 0;
  // Runs the show handler again so that a visible window redraws its state.
  virtual void RefreshShown() = 0;

  // Live pen display; called on the read threads, stores values only.
  virtual void FeedPenSample(int32_t pressure, int8_t tiltA, int8_t tiltB) = 0;
};

}  // namespace pen
