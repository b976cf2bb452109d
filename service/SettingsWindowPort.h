#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "keys/KeyList.h"
#include "service/SettingsStore.h"

namespace pen {

// The main settings window as the host reads and fills it. Until the real
// window exists, TSettingsWindowStandIn keeps the same values in memory so
// that the commands that read the window behave as if it had been left alone.
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
  virtual void SetButtonDefinitions(const ButtonDefinitions& defs) = 0;
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

class TSettingsWindowStandIn : public ISettingsWindow {
 public:
  bool InkMode() const override { return inkMode_; }
  void SetInkMode(bool on) override { inkMode_ = on; }
  MapRect ScreenMapRect() const override { return screen_; }
  void SetScreenMapRect(const MapRect& r) override { screen_ = r; }
  MapRect TabletMapRect() const override { return tablet_; }
  void SetTabletMapRect(const MapRect& r) override { tablet_ = r; }
  bool LeftHandChecked() const override { return leftHand_; }
  void SetLeftHandChecked(bool on) override { leftHand_ = on; }
  int32_t GetPressureLevel() const override { return pressure_; }
  void SetPressureLevel(int32_t v) override { pressure_ = v; }
  uint8_t KeyUsage() const override { return keyUsage_; }
  void SetSelfDefineKey(uint8_t usage) override { keyUsage_ = usage; }
  uint8_t KeyModifiers() const override { return keyModifiers_; }
  void SetSelfDefineModifiers(uint8_t m) override { keyModifiers_ = m; }

  void SetFirmwareVersion(const std::string&) override {}
  void SetModelCode(const std::string&) override {}
  void SetProductString(const std::string&) override {}
  void SetPressureAdjustable(bool) override {}
  void SetTabletFound(bool) override {}
  void SetServiceVersion(const std::string&) override {}
  void SetServiceWindow(uintptr_t) override {}
  void SetButtonDefinitions(const ButtonDefinitions&) override {}
  void SetRotation(uint8_t) override {}

  uintptr_t Handle() const override { return 0; }
  bool Visible() const override { return false; }
  void Hide() override {}
  void ShowWindowOrOpenKeyWindow() override {}
  void RefreshShown() override {}
  void FeedPenSample(int32_t, int8_t, int8_t) override {}

 private:
  bool inkMode_ = true;
  MapRect screen_;
  MapRect tablet_;
  bool leftHand_ = false;
  int32_t pressure_ = 0;
  uint8_t keyUsage_ = 29;
  uint8_t keyModifiers_ = 1;
};

}  // namespace pen
