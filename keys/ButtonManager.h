#pragma once
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

#include "common/AppFolders.h"
#include "common/DataFiles.h"
#include "common/FilePlace.h"
#include "common/Trace.h"
#include "common/WindowPoster.h"
#include "common/WindowTimer.h"
#include "keys/ButtonDefinitionsPort.h"
#include "keys/ButtonManagerPort.h"
#include "keys/KeyList.h"
#include "keys/ModelGroups.h"
#include "keys/PostKeyPress.h"
#include "keys/ProgramLauncher.h"
#include "keys/VolControl.h"

namespace pen {

struct ButtonManagerPorts {
  SynthPorts synth;
  IVolumeControl& volume;
  IProgramLauncher& launcher;
  IDataFiles& files;
  IAppFolders& folders;
  IWindowTimer& repeatTimer;  // ticks on the main thread
  ITrace* trace = nullptr;
};

// Bits of the button state the report decoders build.
namespace button_bit {
constexpr int kTip = 0;
constexpr int kBarrel1 = 1;
constexpr int kBarrel2 = 2;
constexpr int kFirstTabletButton = 3;  // device button 0
constexpr int kLastTabletButton = 14;
constexpr int kFirstSoftKey = 15;
constexpr int kSoftKeys = 10;
}  // namespace button_bit

// Turns the tablet's button state into actions: the connected model's 32
// key definitions (kept in "<group>Def.bin" beside the program), the right
// mouse button for the pen's first side button, the tablet's own key for
// the second, the ten fixed soft-key functions and the wheel's centre button.
//
// Each button remembers what its press sent, and its release sends exactly
// that back up: a definition changed while the button is held (key setup,
// a reset, a new self-defined key) must not leave the old key down. Several
// buttons may be held at once; only the last wheel definition pressed
// repeats, and releasing any button that sent a key ends the repeat.
//
// Threads: SetButtonState runs on the HID read threads (or the main thread
// before direct delivery); everything else on the main thread. Whole state
// changes are serialised among themselves; what the buttons hold, which the
// main thread's repeat tick and ReleaseHeldKey also use, has a lock of its
// own that is held only around its key events, never across a soft key's
// program start. The slots are atomic, so key-setup edits and reports never
// tear a definition. Nothing on the key path allocates.
class TButtonManager final : public IButtonManager, public IButtonDefinitions {
 public:
  static constexpr size_t kSlots = 32;
  static constexpr uint32_t kRepeatDelayMs = 1000;
  static constexpr uint32_t kRepeatIntervalMs = 100;

  explicit TButtonManager(const ButtonManagerPorts& ports);
  ~TButtonManager() override;
  TButtonManager(const TButtonManager&) = delete;
  TButtonManager& operator=(const TButtonManager&) = delete;

  // The window the wheel's centre button is posted to; none until set.
  void SetOwner(IWindowPoster* owner) { owner_.store(owner); }

  // The only input of button events.
  void SetButtonState(uint32_t state) override;

  // Written when a tablet connects, before LoadDefinitions.
  void SetModelCode(const std::string& code) override;
  const std::string& ModelCode() const { return modelCode_; }
  void SetSelfDefinedKey(uint8_t usage, uint8_t modifiers) override;
  SelfDefinedKey GetSelfDefinedKey() const;

  void LoadDefinitions() override;
  void SaveDefinitions() override;
  void ResetAllDefinitions() override;
  // At a disconnect and at shut-down: releases everything still held (the
  // keys, the right button of the pen's first side button) and forgets the
  // last button state, so that the next connection starts from nothing held.
  void ReleaseHeldKey() override;

  // The key-setup windows' access to the slots. Slots 32 and up are ignored.
  void SetDefinition(size_t slot, uint8_t modifiers, uint8_t key) override;
  KeyDefinition Definition(size_t slot) const override;
  ButtonDefinitions Definitions() const;
  void SetDefinitions(const ButtonDefinitions& block);
  bool Modified() const override { return dirty_.load(); }
  IButtonDefinitions* DefinitionsStore() override { return this; }

  // The file the current model's definitions are read from and written to.
  std::string DefinitionsPath() const;
  // Some button holds a key definition down.
  bool Held() const;

 private:
  // What a button's press sent, and so what its release sends.
  enum class Sent : uint8_t { Nothing, RightButton, WheelCentre, Definition };
  struct Pressed {
    Sent sent = Sent::Nothing;
    KeyDefinition def{};
  };
  static constexpr size_t kButtons = button_bit::kLastTabletButton + 1;

  void PressButton(int bit);
  void PressDefinition(int bit, const KeyDefinition& def);
  // Under heldMutex_. A disconnect forgets the wheel's centre button
  // instead of posting its release: the overlay would take that for a click.
  void ReleaseButton(int bit, bool disconnect);
  void TraceDefinition(int bit, const KeyDefinition& def, bool pressed) const;
  void RunSoftKey(int key);
  void SendPlainKey(uint8_t vk, bool down);
  void TapPlainKey(uint8_t vk);
  // The definitions file of the current model; none for a code that cannot
  // name a file.
  std::optional<TFilePlace> CurrentPlace() const;
  void RepeatStep();

  ButtonManagerPorts p_;
  std::atomic<IWindowPoster*> owner_{nullptr};

  std::mutex stateMutex_;
  uint32_t lastState_ = 0;

  mutable std::mutex heldMutex_;
  std::array<Pressed, kButtons> pressed_{};
  int repeatBit_ = -1;  // the button whose wheel definition repeats

  std::array<std::atomic<uint16_t>, kSlots> slots_{};  // modifier byte low, key high
  std::atomic<bool> dirty_{false};
  std::atomic<uint16_t> selfKey_{29 | (1 << 8)};      // usage low, modifiers high
  std::atomic<const ModelGroup*> group_{nullptr};
  std::string modelCode_;
};

}  // namespace pen
