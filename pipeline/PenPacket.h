#pragma once
#include <array>
#include <cstdint>

#include "common/ByteOrder.h"

namespace pen {

// The 9-byte internal pen packet both report paths produce for the shared
// channel: status, X and Y (little-endian, 0..0xFFF0), pressure
// (little-endian, 0..2047), two signed tilt bytes. Kept as bytes so that its
// layout never depends on the compiler.
struct PenPacket {
  static constexpr uint8_t kStatusInRange = 0xC0;  // plus tip and side-button bits
  static constexpr uint8_t kStatusOut = 0x80;      // the pen has left

  std::array<uint8_t, 9> bytes{};

  uint8_t Status() const { return bytes[0]; }
  uint16_t X() const { return LoadLE16(&bytes[1]); }
  uint16_t Y() const { return LoadLE16(&bytes[3]); }
  uint16_t Pressure() const { return LoadLE16(&bytes[5]); }
  int8_t TiltA() const { return static_cast<int8_t>(bytes[7]); }
  int8_t TiltB() const { return static_cast<int8_t>(bytes[8]); }

  void SetStatus(uint8_t s) { bytes[0] = s; }
  void SetX(uint16_t v) { StoreLE16(&bytes[1], v); }
  void SetY(uint16_t v) { StoreLE16(&bytes[3], v); }
  void SetPressure(uint16_t v) { StoreLE16(&bytes[5], v); }
  void SetTilt(int8_t a, int8_t b) {
    bytes[7] = static_cast<uint8_t>(a);
    bytes[8] = static_cast<uint8_t>(b);
  }
};

}  // namespace pen
