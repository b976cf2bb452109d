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
      if (Bit(state, bit) && !Bit(old, bit)) HandleButton(bit, true);
      if (Bit(old, bit) && !Bit(state, bit)) HandleButton(bit, false);
    }
  }
  if (changed & 0xFFFF8000u) {
    for (int k = 0; k < button_bit::kSoftKeys; ++k) {
      const int bit = button_bit::kFirstSoftKey + k;
      if (Bit(changed, bit) && Bit(state, bit)) RunSoftKey(k);
    }
  }
}

void TButtonManager::HandleButton(int bit, bool pressed) {
  if (bit == button_bit::kBarrel1) {
    TraceLine(p_.trace, "pen button 1 %s: right button", pressed ? "down" : "up");
    p_.synth.input.MouseEvent(pressed ? mouse_flags::kRightDown : mouse_flags::kRightUp, 0, 0, 0, 0);
    return;
  }
  if (bit == button_bit::kBarrel2) {
    const SelfDefinedKey k = GetSelfDefinedKey();
    ActOnDefinition(SelfDefinedKeyToDefinition(k.KeyUsage, k.KeyModifiers, p_.synth.layout), pressed, bit);
    return;
  }
  // The tip (bit 0) maps to no device button and so ends here too.
  const int device = bit - button_bit::kFirstTabletButton;
  const ModelGroup* group = group_.load();
  const int slot = group ? SlotForDeviceButton(*group, device) : -1;
  if (slot < 0) {
    if (device == kWheelCentreDeviceButton && wheelCentre_.load()) {
      if (IWindowPoster* owner = owner_.load()) {
        TraceLine(p_.trace, "wheel centre button %s", pressed ? "down" : "up");
        owner->Post(wheel_message::kWheelUi, wheel_message::kCentreButton, pressed ? 1 : 0);
      }
    }
    return;
  }
  ActOnDefinition(Definition(static_cast<size_t>(slot)), pressed, bit);
}

void TButtonManager::ActOnDefinition(const KeyDefinition& def, bool pressed, int bit) {
  if (def.Empty()) return;
  if (p_.trace) {
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
  const ShiftState shift = ModifiersToShiftState(def.extraKey);
  std::lock_guard<std::mutex> lock(heldMutex_);
  if (pressed) {
    held_ = true;
    heldKey_ = def.MainKey;
    heldModifiers_ = def.extraKey;
    heldShift_ = shift;
    // Only a wheel definition repeats; any other key is held down as long
    // as the button.
    repeating_ = def.MainKey == key_code::kWheelUp || def.MainKey == key_code::kWheelDown;
    if (repeating_) p_.repeatTimer.Start(kRepeatDelayMs);
  } else {
    held_ = false;
    repeating_ = false;
    p_.repeatTimer.Stop();
  }
  PostKeyPress(p_.synth, def.MainKey, shift, pressed);
}

void TButtonManager::RepeatStep() {
  std::lock_guard<std::mutex> lock(heldMutex_);
  p_.repeatTimer.Stop();
  // A tick already on its way when the button was released must not press
  // the key again: it would never be released.
  if (!held_ || !repeating_) return;
  PostKeyPress(p_.synth, heldKey_, heldShift_, false);
  PostKeyPress(p_.synth, heldKey_, heldShift_, true);
  p_.repeatTimer.Start(kRepeatIntervalMs);
}

void TButtonManager::ReleaseHeldKey() {
  std::lock_guard<std::mutex> lock(heldMutex_);
  if (!held_) return;
  p_.repeatTimer.Stop();
  held_ = false;
  repeating_ = false;
  TraceLine(p_.trace, "held key released: modifiers %u key %u", heldModifiers_, heldKey_);
  PostKeyPress(p_.synth, heldKey_, heldShift_, false);
}

bool TButtonManager::Held() const {
  std::lock_guard<std::mutex> lock(heldMutex_);
  return held_;
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
  wheelCentre_.store(HasWheelCentreButton(code));
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
  TraceLine(p_.trace, "factory button definitions of %.*s installed", static_cast<int>(group->groupCode.size()),
        group->groupCode.data());
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
  for (std::string_view code : kResetModelCodes) {
    TFilePlace place(p_.folders, std::string(code) + std::string(kFileSuffix));
    p_.files.Remove(place.ProgramPath());
    const std::string user = place.UserPath();
    if (!user.empty()) p_.files.Remove(user);
  }
  TraceLine(p_.trace, "button definitions reset");
  if (!modelCode_.empty()) LoadDefinitions();
}

}  // namespace pen
