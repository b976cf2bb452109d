#pragma once
#include <cstdint>

namespace pen {

// The vendor's device-memory library, as the device link calls it. Results
// are the library's own: non-zero means success.
class IPadLink {
 public:
  virtual ~IPadLink() = default;
  virtual int32_t DetectDevice(int32_t zero) = 0;
  virtual uint8_t ReadBuffer(uint32_t address, uint8_t* buffer, uint32_t length, uint32_t zero) = 0;
  virtual uint8_t WriteBuffer(uint32_t address, const uint8_t* buffer, uint32_t length, uint32_t zero) = 0;
  virtual uint8_t EraseBlock(uint32_t first, uint32_t last) = 0;
};

}  // namespace pen
