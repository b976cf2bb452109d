#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace pen {

// The name a model is shown under in the version line. `siteFile`: the
// program folder has a "website.txt".
std::string DisplayName(const std::string& modelCode, const std::string& productString, bool siteFile);

// The model code inside a product string such as "[R788]R799 Pen": the text
// between the first ']' and the first blank after it, or to the end when no
// blank follows; empty when a blank comes before the ']' or there is none.
std::string ProductSubCode(const std::string& productString);

// "SVer: ...   HVer: 2210   ( 5080Max )"
std::string VersionLine(const std::string& serviceVersion, bool tabletFound, const std::string& firmwareVersion,
                        const std::string& displayName);

// True when the firmware version text, read as a decimal number, is 1803 or
// more; text that is not a decimal number counts as 0.
bool KeyDefineInInk(std::string_view firmwareVersion);

// The self-defined key: USB keyboard usage to the character on the key, "~"
// where the usage has no printable key.
namespace self_key {
constexpr std::string_view kTable =
    "~~~~abcdefghijklmnopqrstuvwxyz1234567890~~~~ -=[]\\~;'`,./~~~~~~~~~~~~~~~~~~~~~~~~~~~/*-+";
constexpr uint8_t kDefaultUsage = 29;  // "z"
constexpr uint8_t kDefaultModifiers = 1;  // Ctrl
constexpr uint8_t kCtrl = 1, kShift = 2, kAlt = 4;
// The usage of the first table entry equal to `c`; 0 when none.
uint8_t UsageOf(char16_t c);
}  // namespace self_key

}  // namespace pen
