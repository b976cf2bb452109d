#include "mac/ModiKey.h"

#include <cstdio>

#include "mac/KeyTables.h"

namespace penmac {

namespace {

constexpr const char* kPrompt = "Press the tablet button to be customized";
constexpr const char* kKeyLabel = "Key: ";
constexpr const char* kPointer = "   ☞";

bool Has(std::string_view s, std::string_view what) { return s.find(what) != std::string_view::npos; }

}  // namespace

size_t CharacterCount(std::string_view text) {
  size_t n = 0;
  for (const char c : text) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
  }
  return n;
}

void ModiKey::OnAppear() {
  const auto it = usbDevice.keyDefs.find(usbDevice.buttonId);
  if (it == usbDevice.keyDefs.end()) return;
  const KeyDef& def = it->second;
  mL = Has(def.mouse, "L");
  mM = Has(def.mouse, "M");
  mR = Has(def.mouse, "R");
  mI = Has(def.mouse, "+");
  mD = Has(def.mouse, "-");
  const auto modifiers = ModifierKeys();
  k0 = Has(def.key, modifiers[0].symbol);
  k1 = Has(def.key, modifiers[1].symbol);
  k2 = Has(def.key, modifiers[2].symbol);
  k3 = Has(def.key, modifiers[3].symbol);
}

void ModiKey::KeyDown(uint16_t keyCode, std::string_view characters) {
  if (CharacterCount(keyvalue) > kMaxKeyCharacters) return;
  if (const auto name = NamedKeyForCode(keyCode)) {
    keyvalue += *name;
  } else {
    keyvalue += characters;
  }
}

void ModiKey::Ok() {
  const auto modifiers = ModifierKeys();
  if (k0) keyvalue += modifiers[0].symbol;
  if (k1) keyvalue += modifiers[1].symbol;
  if (k2) keyvalue += modifiers[2].symbol;
  if (k3) keyvalue += modifiers[3].symbol;
  mouse.clear();
  if (mL) mouse += 'L';
  if (mM) mouse += 'M';
  if (mR) mouse += 'R';
  if (mI) mouse += '+';
  if (mD) mouse += '-';
  usbDevice.keyDefs[usbDevice.buttonId] = KeyDef{keyvalue, mouse};
  usbDevice.keySetup = false;
  usbDevice.SetButtonId(0);
}

void ModiKey::Cancel() {
  usbDevice.keySetup = false;
  usbDevice.SetButtonId(0);
}

std::string ModiKey::Header() const {
  if (usbDevice.buttonId == 0) return kPrompt;
  char hex[8];
  std::snprintf(hex, sizeof hex, "%03X", static_cast<unsigned>(usbDevice.buttonId));
  return std::string(kKeyLabel) + hex + kPointer;
}

}  // namespace penmac
