#include "pipeline/ParameterBlock.h"

#include <algorithm>

namespace pen {

uint16_t ReadBigEndian16(const ParamBlock& block, int offset) {
  return static_cast<uint16_t>(block[offset] << 8 | block[offset + 1]);
}

void WriteBigEndian16(ParamBlock& block, int offset, uint16_t value) {
  block[offset] = static_cast<uint8_t>(value >> 8);
  block[offset + 1] = static_cast<uint8_t>(value & 0xFF);
}

uint16_t ComputeChecksum(const ParamBlock& block) {
  uint32_t sum = 0;
  for (int i = 0; i < param::kChecksum; ++i) sum += block[i];
  return static_cast<uint16_t>(sum);
}

bool ChecksumHolds(const ParamBlock& block) {
  return ComputeChecksum(block) == ReadBigEndian16(block, param::kChecksum);
}

void StoreChecksum(ParamBlock& block) { WriteBigEndian16(block, param::kChecksum, ComputeChecksum(block)); }

uint32_t CopySum(const ParamBlock& block) {
  uint32_t sum = 0;
  for (uint8_t b : block) sum += b;
  return sum;
}

bool ChecksumErased(const ParamBlock& block) {
  return block[param::kChecksum] == 0xFF && block[param::kChecksum + 1] == 0xFF;
}

bool PressureBaseValid(uint16_t base) {
  return base == kPressureBaseErased || (base >= 1000 && base <= 2300);
}

uint16_t DefaultPressureBase(bool tracker) { return tracker ? kPressureBaseTracker : kPressureBaseClassic; }

bool SecondCopyOutvotesFirst(uint32_t sum1, uint32_t sum2, uint32_t sum3) {
  return sum1 != sum3 && sum2 == sum3 && sum2 != kErasedCopySum;
}

bool ForceTrackerBase(ParamBlock& block) {
  if (ReadBigEndian16(block, param::kPressureBase) == kPressureBaseTracker) return false;
  WriteBigEndian16(block, param::kPressureBase, kPressureBaseTracker);
  WriteBigEndian16(block, param::kPressure, 0);
  return true;
}

void RepairBlock(ParamBlock& block, bool tracker) {
  const uint16_t base = ReadBigEndian16(block, param::kPressureBase);
  if (!PressureBaseValid(base)) {
    // A base out of range means the block was never ours: start it afresh.
    std::fill(block.begin() + param::kRotation, block.begin() + param::kChecksum, uint8_t{0xFF});
    WriteBigEndian16(block, param::kPressureBase, DefaultPressureBase(tracker));
    block[param::kKeyUsage] = 29;
    block[param::kKeyModifiers] = 1;
    WriteBigEndian16(block, param::kPressure, 0);
  }
  if (ReadBigEndian16(block, param::kPressureBase) == kPressureBaseErased) {
    // Erased memory keeps its other bytes; only the tracker tablets also
    // start from a neutral pressure.
    WriteBigEndian16(block, param::kPressureBase, DefaultPressureBase(tracker));
    if (tracker) WriteBigEndian16(block, param::kPressure, 0);
  }
  StoreChecksum(block);
}

}  // namespace pen
