#pragma once
#include <cstdint>

namespace pen {

// An area in the tablet's 12-bit logical units, as the host hands it to the
// device link, the shared channel and pointer emulation. Field order is part
// of the contract: Top, Left, Width, Height.
struct AreaRecord {
  uint16_t Top = 0;
  uint16_t Left = 0;
  uint16_t Width = 0;
  uint16_t Height = 0;

  friend bool operator==(const AreaRecord&, const AreaRecord&) = default;
};

// From a settings rectangle (left, top, right, bottom).
constexpr AreaRecord AreaFromRect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  return AreaRecord{static_cast<uint16_t>(top), static_cast<uint16_t>(left),
                    static_cast<uint16_t>(right - left), static_cast<uint16_t>(bottom - top)};
}

// An area as one 64-bit word, so that a thread reading it while another
// stores a new one sees one area or the other, never half of each: every
// compiler here makes that a plain lock-free load and store.
constexpr uint64_t PackArea(const AreaRecord& a) {
  return uint64_t{a.Top} | (uint64_t{a.Left} << 16) | (uint64_t{a.Width} << 32) | (uint64_t{a.Height} << 48);
}
constexpr AreaRecord UnpackArea(uint64_t v) {
  return AreaRecord{static_cast<uint16_t>(v), static_cast<uint16_t>(v >> 16), static_cast<uint16_t>(v >> 32),
                    static_cast<uint16_t>(v >> 48)};
}

}  // namespace pen
