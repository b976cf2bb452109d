#pragma once
#include <cstdint>

// Explicit byte order for every wire and file format: no struct overlays.
namespace pen {

constexpr uint16_t LoadLE16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
constexpr uint16_t LoadBE16(const uint8_t* p) { return static_cast<uint16_t>((p[0] << 8) | p[1]); }
constexpr void StoreLE16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
constexpr void StoreBE16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v >> 8);
  p[1] = static_cast<uint8_t>(v);
}
constexpr uint32_t LoadLE32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}
constexpr void StoreLE32(uint8_t* p, uint32_t v) {
  StoreLE16(p, static_cast<uint16_t>(v));
  StoreLE16(p + 2, static_cast<uint16_t>(v >> 16));
}

}  // namespace pen
