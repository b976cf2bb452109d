#include "ui/CodePage.h"

#include <cstdint>

namespace pen {

namespace {

// 0x80..0x9F; every other byte is the code point of the same value. The five
// unassigned bytes map to the C1 controls, as Windows' own conversion does.
constexpr char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

}  // namespace

std::u16string TCodePage1252::Decode(std::string_view bytes) const {
  std::u16string out;
  out.reserve(bytes.size());
  for (char c : bytes) {
    const uint8_t b = static_cast<uint8_t>(c);
    out.push_back(b >= 0x80 && b < 0xA0 ? kHigh[b - 0x80] : static_cast<char16_t>(b));
  }
  return out;
}

}  // namespace pen
