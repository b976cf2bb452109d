#include "keys/ButtonManager.h"

#include <string>
#include <string_view>
#include <utility>

#include "keys/WheelMessages.h"

namespace pen {

namespace {

constexpr std::string_view kFileSuffix = "Def.bin";
constexpr size_t kFileBytes = 64;

// Soft-key media and shell keys go out with scan code 0, as they always did.
constexpr uint8_t kVkMediaPlayPause = 179;
constexpr uint8_t kVkMediaPrevTrack = 177;
constexpr uint8_t kVkMediaNextTrack = 176;
constexpr uint8_t kVkBrowserHome = 172;
constexpr uint8_t kVkLeftWindows = 91;
constexpr uint8_t kVkD = 68;

uint16_t Pack(uint8_t modifiers, uint8_t key) { return static_cast<uint16_t>(modifiers | key << 8); }
KeyDefinition Unpack(uint16_t v) { return {static_cast<uint8_t>(v & 0xFF), static_cast<uint8_t>(v >> 8)}; }

// The model code comes from the device's product string: it only becomes a
// file name when it cannot reach outside the program's folder.
bool UsableFileStem(std::string_view stem) {
  if (stem.empty()) return false;
  for (char c : stem) {
    if (static_cast<unsigned char>(c) < 32 || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos)
      return false;
  }
  return true;
}

bool Bit(uint32_t state, int bit) { return (state >> bit) & 1u; }

}  // namespace

TButtonManager::TButtonManager(const ButtonManagerPorts& ports) : p_(ports) {
  p_.repeatTimer.SetOnTimer(Event<>::Bind<&TButtonManager::RepeatStep>(this));
}

TButtonManager::~TButtonManager() {
  p_.repeatTimer.Stop();
  p_.repeatTimer.SetOnTimer({});
}

void TButtonManager::SetButtonState(uint32_t state) {
  std::lock_guard<std::mutex> lock(stateMutex_);
  if (state == lastState_) return;
  const uint32_t old = lastState_;
  lastState_ = state;
  const uint32_t changed = old ^ state;
  if (changed & 0x7FFFu) {
    for (int bit = 0; bit <= button_bit::kLastTabletButton; ++bit) {
      if (Bit(state, bit) && !Bit(old, bit)) PressButton(bit);
      if (Bit(old, bit) && !Bit(state, bit)) {
        std::lock_guard<std::mutex> held(heldMutex_);
        ReleaseButton(bit, false);
      }
    }
  }
  if (changed & 0xFFFF8000u) {
    for (int k = 0; k < button_bit::kSoftKeys; ++k) {
      const int bit = button_bit::kFirstSoftKey + k;
      if (Bit(changed, bit) && Bit(state, bit)) RunSoftKey(k);
    }
  }
}

void TButtonManager::PressButton(int bit) {
  if (bit == button_bit::kBarrel1) {
    TraceLine(p_.trace, "pen button 1 down: right button");
    std::lock_guard<std::mutex> lock(heldMutex_);
    pressed_[static_cast<size_t>(bit)] = {Sent::RightButton, {}};
    p_.synth.input.MouseEvent(mouse_flags::kRightDown, 0, 0, 0, 0);
    return;
  }
  if (bit == button_bit::kBarrel2) {
    const SelfDefinedKey k = GetSelfDefinedKey();
    PressDefinition(bit, SelfDefinedKeyToDefinition(k.KeyUsage, k.KeyModifiers, p_.synth.layout));
    return;
  }
  // The tip (bit 0) maps to no device button and so ends here too.
  const int device = bit - button_bit::kFirstTabletButton;
  const ModelGroup* group = group_.load();
  const int slot = group ? SlotForDeviceButton(*group, device) : -1;
  if (slot < 0) {
    if (group && device == group->wheelCentreButton) {
      if (IWindowPoster* owner = owner_.load()) {
        TraceLine(p_.trace, "wheel centre button down");
        std::lock_guard<std::mutex> lock(heldMutex_);
        pressed_[static_cast<size_t>(bit)] = {Sent::WheelCentre, {}};
        owner->Post(wheel_message::kWheelUi, wheel_message::kCentreButton, 1);
      }
    }
    return;
  }
  PressDefinition(bit, Definition(static_cast<size_t>(slot)));
}

void TButtonManager::TraceDefinition(int bit, const KeyDefinition& def, bool pressed) const {
  if (!p_.trace) return;
  // Only a traced run spends the text.
  const std::string text = KeyDefinitionText(def, p_.synth.layout);
  if (bit == button_bit::kBarrel2) {
    TraceLine(p_.trace, "pen button 2 %s: %s (modifiers %u, key %u)", pressed ? "down" : "up", text.c_str(),
              def.extraKey, def.MainKey);
  } else {
    TraceLine(p_.trace, "tablet button %d %s: %s (modifiers %u, key %u)", bit - button_bit::kFirstTabletButton,
              pressed ? "down" : "up", text.c_str(), def.extraKey, def.MainKey);
  }
}

void TButtonManager::PressDefinition(int bit, const KeyDefinition& def) {
  if (def.Empty()) return;
  TraceDefinition(bit, def, true);
  std::lock_guard<std::mutex> lock(heldMutex_);
  pressed_[static_cast<size_t>(bit)] = {Sent::Definition, def};
  // Only a wheel definition repeats; any other key is held down as long
  // as the button, and its press ends the repeat of another.
  if (def.MainKey == key_code::kWheelUp || def.MainKey == key_code::kWheelDown) {
    repeatBit_ = bit;
    p_.repeatTimer.Start(kRepeatDelayMs);
  } else if (repeatBit_ >= 0) {
    repeatBit_ = -1;
    p_.repeatTimer.Stop();
  }
  PostKeyPress(p_.synth, def.MainKey, ModifiersToShiftState(def.extraKey), true);
}

void TButtonManager::ReleaseButton(int bit, bool disconnect) {
  const Pressed was = std::exchange(pressed_[static_cast<size_t>(bit)], Pressed{});
  switch (was.sent) {
    case Sent::Nothing:
      return;
    case Sent::RightButton:
      TraceLine(p_.trace, "pen button 1 up: right button");
      p_.synth.input.MouseEvent(mouse_flags::kRightUp, 0, 0, 0, 0);
      return;
    case Sent::WheelCentre:
      if (disconnect) return;
      if (IWindowPoster* owner = owner_.load()) {
        TraceLine(p_.trace, "wheel centre button up");
        owner->Post(wheel_message::kWheelUi, wheel_message::kCentreButton, 0);
      }
      return;
    case Sent::Definition:
      TraceDefinition(bit, was.def, false);
      repeatBit_ = -1;
      p_.repeatTimer.Stop();
      PostKeyPress(p_.synth, was.def.MainKey, ModifiersToShiftState(was.def.extraKey), false);
      return;
  }
}

void TButtonManager::RepeatStep() {
  std::lock_guard<std::mutex> lock(heldMutex_);
  p_.repeatTimer.Stop();
  // A tick already on its way when the button was released must not press
  // the key again: it would never be released.
  if (repeatBit_ < 0) return;
  const KeyDefinition def = pressed_[static_cast<size_t>(repeatBit_)].def;
  const ShiftState shift = ModifiersToShiftState(def.extraKey);
  PostKeyPress(p_.synth, def.MainKey, shift, false);
  PostKeyPress(p_.synth, def.MainKey, shift, true);
  p_.repeatTimer.Start(kRepeatIntervalMs);
}

void TButtonManager::ReleaseHeldKey() {
  std::lock_guard<std::mutex> state(stateMutex_);
  // The tablet comes back with its buttons up: a button still down in the
  // old state would otherwise send an unpaired release at the next report.
  lastState_ = 0;
  std::lock_guard<std::mutex> lock(heldMutex_);
  if (repeatBit_ >= 0) {
    repeatBit_ = -1;
    p_.repeatTimer.Stop();
  }
  for (int bit = 0; bit <= button_bit::kLastTabletButton; ++bit) ReleaseButton(bit, true);
}

bool TButtonManager::Held() const {
  std::lock_guard<std::mutex> lock(heldMutex_);
  for (const Pressed& p : pressed_) {
    if (p.sent == Sent::Definition) return true;
  }
  return false;
}

void TButtonManager::SendPlainKey(uint8_t vk, bool down) {
  p_.synth.input.KeybdEvent(vk, 0, down ? 0 : key_flags::kKeyUp, 0);
}

void TButtonManager::TapPlainKey(uint8_t vk) {
  SendPlainKey(vk, true);
  SendPlainKey(vk, false);
}

void TButtonManager::RunSoftKey(int key) {
  static constexpr const char* kNames[button_bit::kSoftKeys] = {
      "mute",       "volume down",    "volume up",  "media player", "play/pause",
      "previous track", "next track", "home page", "calculator",   "show desktop"};
  TraceLine(p_.trace, "soft key %d: %s", key, kNames[key]);
  switch (key) {
    case 0: p_.volume.ToggleMute(); break;
    case 1: p_.volume.VolumeDown(); break;
    case 2: p_.volume.VolumeUp(); break;
    case 3: p_.launcher.Start(nullptr, "wmplayer.exe"); break;
    case 4: TapPlainKey(kVkMediaPlayPause); break;
    case 5: TapPlainKey(kVkMediaPrevTrack); break;
    case 6: TapPlainKey(kVkMediaNextTrack); break;
    case 7: TapPlainKey(kVkBrowserHome); break;
    case 8: p_.launcher.Start("open", "calc.exe"); break;
    case 9:
      SendPlainKey(kVkLeftWindows, true);
      SendPlainKey(kVkD, true);
      SendPlainKey(kVkLeftWindows, false);
      SendPlainKey(kVkD, false);
      break;
    default: break;
  }
}

void TButtonManager::SetModelCode(const std::string& code) {
  modelCode_ = code;
  group_.store(FindModelGroup(code));
}

void TButtonManager::SetSelfDefinedKey(uint8_t usage, uint8_t modifiers) {
  selfKey_.store(static_cast<uint16_t>(usage | modifiers << 8));
}

SelfDefinedKey TButtonManager::GetSelfDefinedKey() const {
  const uint16_t v = selfKey_.load();
  return {static_cast<uint8_t>(v & 0xFF), static_cast<uint8_t>(v >> 8)};
}

void TButtonManager::SetDefinition(size_t slot, uint8_t modifiers, uint8_t key) {
  if (slot >= kSlots) return;
  const uint16_t v = Pack(modifiers, key);
  if (slots_[slot].exchange(v) != v) dirty_.store(true);
}

KeyDefinition TButtonManager::Definition(size_t slot) const {
  return slot < kSlots ? Unpack(slots_[slot].load()) : KeyDefinition{};
}

ButtonDefinitions TButtonManager::Definitions() const {
  ButtonDefinitions block{};
  for (size_t slot = 0; slot < kSlots; ++slot) {
    const KeyDefinition d = Definition(slot);
    block[2 * slot] = d.extraKey;
    block[2 * slot + 1] = d.MainKey;
  }
  return block;
}

void TButtonManager::SetDefinitions(const ButtonDefinitions& block) {
  for (size_t slot = 0; slot < kSlots; ++slot) SetDefinition(slot, block[2 * slot], block[2 * slot + 1]);
}

std::optional<TFilePlace> TButtonManager::CurrentPlace() const {
  const std::string_view stem = DefinitionsStem(modelCode_);
  if (!UsableFileStem(stem)) return std::nullopt;
  std::optional<TFilePlace> place(std::in_place, p_.folders, std::string(stem) + std::string(kFileSuffix));
  place->Locate([this](const std::string& path) { return p_.files.Exists(path); });
  return place;
}

std::string TButtonManager::DefinitionsPath() const {
  const auto place = CurrentPlace();
  return place ? place->Path() : std::string();
}

void TButtonManager::LoadDefinitions() {
  const std::string path = DefinitionsPath();
  if (path.empty()) return;
  std::array<uint8_t, kFileBytes> bytes{};
  const auto size = p_.files.Read(path, bytes.data(), bytes.size());
  if (size && *size == kFileBytes) {
    for (size_t slot = 0; slot < kSlots; ++slot) slots_[slot].store(Pack(bytes[2 * slot], bytes[2 * slot + 1]));
    TraceLine(p_.trace, "button definitions read from %s", path.c_str());
    return;
  }
  // Missing, unreadable or of the wrong size: the factory table replaces it.
  // Its slots only; the others keep what they held.
  const ModelGroup* group = FindModelGroup(modelCode_);
  if (!group) return;
  for (size_t slot = 0; slot < group->factory.size(); ++slot) {
    SetDefinition(slot, group->factory[slot].extraKey, group->factory[slot].MainKey);
  }
  const std::string_view stem = DefinitionsStem(modelCode_);
  TraceLine(p_.trace, "factory button definitions of %.*s installed", static_cast<int>(stem.size()), stem.data());
  SaveDefinitions();
}

void TButtonManager::SaveDefinitions() {
  dirty_.store(false);
  auto place = CurrentPlace();
  if (!place) return;
  const ButtonDefinitions block = Definitions();
  const bool ok =
      place->Write([&](const std::string& path) { return p_.files.Replace(path, block.data(), block.size()); },
                   [this](const std::string& folder) { return p_.files.MakeFolder(folder); });
  TraceLine(p_.trace, "button definitions %s %s", ok ? "written to" : "could not be written to",
            place->Path().c_str());
}

void TButtonManager::ResetAllDefinitions() {
  ForEachDefinitionsStem([this](std::string_view stem) {
    TFilePlace place(p_.folders, std::string(stem) + std::string(kFileSuffix));
    p_.files.Remove(place.ProgramPath());
    const std::string user = place.UserPath();
    if (!user.empty()) p_.files.Remove(user);
  });
  TraceLine(p_.trace, "button definitions reset");
  if (!modelCode_.empty()) LoadDefinitions();
}

}  // namespace pen
