#pragma once
#include <cstdint>

#include "keys/KeyboardLayout.h"

namespace pen::test {

// The US English layout, as the system reports it.
class FakeKeyboardLayout : public IKeyboardLayout {
 public:
  uint32_t MapVirtualKeyCode(uint32_t code, uint32_t mapType) const override {
    if (mapType == map_type::kVirtualKeyToScanCode) {
      for (const auto& k : kScanCodes) {
        if (k.vk == code) return k.scan;
      }
      return 0;
    }
    if (mapType == map_type::kVirtualKeyToChar) {
      if ((code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9') || code == ' ') return code;
      for (const auto& k : kChars) {
        if (k.vk == code && k.shift == 0) return static_cast<uint8_t>(k.ch);
      }
      if (code == 0x6B) return '+';
      if (code == 0x6A) return '*';
      if (code == 0x09) return '\t';
      if (code == 0x0D) return '\r';
      return 0;
    }
    return 0;
  }

  uint16_t KeyForChar(char ch) const override {
    if (ch >= 'a' && ch <= 'z') return static_cast<uint16_t>(ch - 'a' + 'A');
    if (ch >= 'A' && ch <= 'Z') return static_cast<uint16_t>(0x100 | ch);
    if ((ch >= '0' && ch <= '9') || ch == ' ') return static_cast<uint16_t>(ch);
    for (const auto& k : kChars) {
      if (k.ch == ch) return static_cast<uint16_t>(k.shift << 8 | k.vk);
    }
    return 0xFFFF;
  }

 private:
  struct Scan {
    uint32_t vk, scan;
  };
  static constexpr Scan kScanCodes[] = {
      {'A', 0x1E}, {'B', 0x30}, {'C', 0x2E}, {'D', 0x20}, {'E', 0x12}, {'F', 0x21}, {'G', 0x22}, {'H', 0x23},
      {'I', 0x17}, {'J', 0x24}, {'K', 0x25}, {'L', 0x26}, {'M', 0x32}, {'N', 0x31}, {'O', 0x18}, {'P', 0x19},
      {'Q', 0x10}, {'R', 0x13}, {'S', 0x1F}, {'T', 0x14}, {'U', 0x16}, {'V', 0x2F}, {'W', 0x11}, {'X', 0x2D},
      {'Y', 0x15}, {'Z', 0x2C}, {'1', 0x02}, {'2', 0x03}, {'3', 0x04}, {'4', 0x05}, {'5', 0x06}, {'6', 0x07},
      {'7', 0x08}, {'8', 0x09}, {'9', 0x0A}, {'0', 0x0B}, {0x10, 0x2A}, {0x11, 0x1D}, {0x12, 0x38}, {0x09, 0x0F},
      {0x20, 0x39}, {0x0D, 0x1C}, {0x1B, 0x01}, {0x08, 0x0E}, {0xBD, 0x0C}, {0xBB, 0x0D}, {0xDB, 0x1A},
      {0xDD, 0x1B}, {0xDC, 0x2B}, {0xBA, 0x27}, {0xDE, 0x28}, {0xC0, 0x29}, {0xBC, 0x33}, {0xBE, 0x34},
      {0xBF, 0x35}, {0x70, 0x3B}, {0x71, 0x3C}, {0x72, 0x3D}, {0x73, 0x3E}, {0x74, 0x3F}, {0x75, 0x40},
      {0x76, 0x41}, {0x77, 0x42}, {0x78, 0x43}, {0x79, 0x44}, {0x7A, 0x57}, {0x7B, 0x58}, {0x24, 0x47},
      {0x23, 0x4F}, {0x26, 0x48}, {0x28, 0x50}, {0x25, 0x4B}, {0x27, 0x4D}, {0x21, 0x49}, {0x22, 0x51},
      {0x2D, 0x52}, {0x2E, 0x53}, {0x6B, 0x4E}, {0x6A, 0x37}, {0x5B, 0x5B},
  };
  struct Char {
    char ch;
    uint8_t vk, shift;
  };
  static constexpr Char kChars[] = {
      {'-', 0xBD, 0},  {'=', 0xBB, 0},  {'[', 0xDB, 0},  {']', 0xDD, 0},  {'\\', 0xDC, 0}, {';', 0xBA, 0},
      {'\'', 0xDE, 0}, {'`', 0xC0, 0},  {',', 0xBC, 0},  {'.', 0xBE, 0},  {'/', 0xBF, 0},  {'~', 0xC0, 1},
      {'!', '1', 1},   {'@', '2', 1},   {'#', '3', 1},   {'$', '4', 1},   {'%', '5', 1},   {'^', '6', 1},
      {'&', '7', 1},   {'*', '8', 1},   {'(', '9', 1},   {')', '0', 1},   {'_', 0xBD, 1},  {'+', 0xBB, 1},
      {'{', 0xDB, 1},  {'}', 0xDD, 1},  {'|', 0xDC, 1},  {':', 0xBA, 1},  {'"', 0xDE, 1},  {'<', 0xBC, 1},
      {'>', 0xBE, 1},  {'?', 0xBF, 1},
  };
};

}  // namespace pen::test
