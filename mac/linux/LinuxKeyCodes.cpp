#include "mac/linux/LinuxKeyCodes.h"

#include <linux/input-event-codes.h>

#include <utility>
#include <vector>

namespace penmac::linux_layer {

namespace {

// Virtual key code -> KEY_*. The modifiers map to the left-hand keys:
// Command to the Super key, Option to Alt.
constexpr std::pair<uint16_t, uint16_t> kKeys[] = {
    {0, KEY_A},   {1, KEY_S},   {2, KEY_D},   {3, KEY_F},   {4, KEY_H},   {5, KEY_G},   {6, KEY_Z},
    {7, KEY_X},   {8, KEY_C},   {9, KEY_V},   {11, KEY_B},  {12, KEY_Q},  {13, KEY_W},  {14, KEY_E},
    {15, KEY_R},  {16, KEY_Y},  {17, KEY_T},  {18, KEY_1},  {19, KEY_2},  {20, KEY_3},  {21, KEY_4},
    {22, KEY_6},  {23, KEY_5},  {24, KEY_EQUAL}, {25, KEY_9}, {26, KEY_7}, {27, KEY_MINUS}, {28, KEY_8},
    {29, KEY_0},  {30, KEY_RIGHTBRACE}, {31, KEY_O}, {32, KEY_U}, {33, KEY_LEFTBRACE}, {34, KEY_I},
    {35, KEY_P},  {36, KEY_ENTER}, {37, KEY_L}, {38, KEY_J}, {39, KEY_APOSTROPHE}, {40, KEY_K},
    {41, KEY_SEMICOLON}, {42, KEY_BACKSLASH}, {43, KEY_COMMA}, {44, KEY_SLASH}, {45, KEY_N}, {46, KEY_M},
    {47, KEY_DOT}, {48, KEY_TAB}, {49, KEY_SPACE}, {50, KEY_GRAVE}, {51, KEY_BACKSPACE}, {53, KEY_ESC},
    {55, KEY_LEFTMETA}, {56, KEY_LEFTSHIFT}, {58, KEY_LEFTALT}, {59, KEY_LEFTCTRL}, {71, KEY_CLEAR},
    {96, KEY_F5}, {97, KEY_F6}, {98, KEY_F7}, {99, KEY_F3}, {100, KEY_F8}, {101, KEY_F9},
    {105, KEY_F13}, {109, KEY_F10}, {111, KEY_F12}, {114, KEY_INSERT}, {115, KEY_HOME}, {116, KEY_PAGEUP},
    {117, KEY_DELETE}, {118, KEY_F4}, {119, KEY_END}, {120, KEY_F2}, {121, KEY_PAGEDOWN}, {122, KEY_F1},
    {123, KEY_LEFT}, {124, KEY_RIGHT}, {125, KEY_DOWN}, {126, KEY_UP},
};

constexpr std::pair<int, uint16_t> kMedia[] = {
    {0, KEY_VOLUMEUP},
    {1, KEY_VOLUMEDOWN},
    {2, KEY_BRIGHTNESSUP},
    {3, KEY_BRIGHTNESSDOWN},
    {7, KEY_MUTE},
    {16, KEY_PLAYPAUSE},
    {17, KEY_NEXTSONG},
    {18, KEY_PREVIOUSSONG},
    {20, KEY_REWIND},
};

std::vector<uint16_t> Collect() {
  std::vector<uint16_t> all;
  for (const auto& k : kKeys) all.push_back(k.second);
  for (const auto& k : kMedia) all.push_back(k.second);
  return all;
}

}  // namespace

std::optional<uint16_t> LinuxKeyForKeyCode(uint16_t keyCode) {
  for (const auto& [code, key] : kKeys) {
    if (code == keyCode) return key;
  }
  return std::nullopt;
}

std::optional<uint16_t> LinuxKeyForMediaKey(int mediaKey) {
  for (const auto& [code, key] : kMedia) {
    if (code == mediaKey) return key;
  }
  return std::nullopt;
}

std::span<const uint16_t> AllLinuxKeys() {
  static const std::vector<uint16_t> all = Collect();
  return all;
}

}  // namespace penmac::linux_layer
