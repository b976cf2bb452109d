#pragma once
#include <array>
#include <cstdint>

namespace pen {

// The 64-byte parameter block the tablet keeps in its own memory:
//   0-1  PressureBase, big-endian (0xFFFF or 1000..2300)
//   2    KeyUsage          3  KeyModifiers
//   4-5  pressure word, big-endian
//   6    Rotation
//   7-61 filler (0xFF when initialised)
//   62-63 checksum, big-endian: 16-bit sum of bytes 0..61
using ParamBlock = std::array<uint8_t, 64>;

// The three copies, in the order they are tried.
inline constexpr std::array<uint32_t, 3> kParamCopyAddresses = {8191, 8190, 8189};
// EraseBlock(first, last) that clears all three copies.
inline constexpr uint32_t kEraseFirst = 0;
inline constexpr uint32_t kEraseLast = 31;

inline constexpr uint16_t kPressureBaseClassic = 1550;  // capability "00"
inline constexpr uint16_t kPressureBaseTracker = 1450;  // capability "01"
inline constexpr uint16_t kPressureBaseErased = 0xFFFF;
// Sum of all 64 bytes of an erased copy.
inline constexpr uint32_t kErasedCopySum = 64u * 0xFF;

namespace param {
inline constexpr int kPressureBase = 0;
inline constexpr int kKeyUsage = 2;
inline constexpr int kKeyModifiers = 3;
inline constexpr int kPressure = 4;
inline constexpr int kRotation = 6;
inline constexpr int kFillerFirst = 7;
inline constexpr int kChecksum = 62;
}  // namespace param

uint16_t ReadBigEndian16(const ParamBlock& block, int offset);
void WriteBigEndian16(ParamBlock& block, int offset, uint16_t value);

// 16-bit sum of bytes 0..61.
uint16_t ComputeChecksum(const ParamBlock& block);
bool ChecksumHolds(const ParamBlock& block);
void StoreChecksum(ParamBlock& block);
// Sum of all 64 bytes, used to compare copies.
uint32_t CopySum(const ParamBlock& block);
// The checksum bytes read as erased memory.
bool ChecksumErased(const ParamBlock& block);

bool PressureBaseValid(uint16_t base);
uint16_t DefaultPressureBase(bool tracker);

// Of three copies whose first has an erased checksum: true when the second
// should replace the first (it agrees with the third, which the first does
// not, and is not itself erased memory).
bool SecondCopyOutvotesFirst(uint32_t sum1, uint32_t sum2, uint32_t sum3);

// Tablets with the pressure tracker keep PressureBase at 1450; forces it (and
// the pressure word to 0) when it differs. True when the block changed.
bool ForceTrackerBase(ParamBlock& block);

// Makes the block fit to be written back: an invalid PressureBase
// reinitialises the whole block, an erased one is given the default, and the
// checksum is recomputed.
void RepairBlock(ParamBlock& block, bool tracker);

}  // namespace pen
