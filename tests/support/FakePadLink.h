#pragma once
#include <array>
#include <cstdint>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "common/Clock.h"
#include "pipeline/PadLink.h"

namespace pen::test {

// Device memory in memory: the three 64-byte copies (erased memory reads
// 0xFF), any call can be made to fail, and every call is recorded.
class FakePadLink : public IPadLink {
 public:
  using Copy = std::array<uint8_t, 64>;
  struct Call {
    std::string name;  // "Detect", "Read", "Write", "Erase"
    uint32_t address = 0;
    uint32_t tick = 0;
  };

  FakePadLink() {
    for (uint32_t a : {8191u, 8190u, 8189u}) memory[a].fill(0xFF);
  }

  std::map<uint32_t, Copy> memory;
  // DetectDevice answers 0 this many times first (negative: always 0).
  int detectFailures = 0;
  std::set<uint32_t> failRead;
  std::set<uint32_t> failWrite;
  bool failErase = false;
  std::vector<Call> calls;
  ITickSource* ticks = nullptr;

  int32_t DetectDevice(int32_t zero) override {
    Log("Detect", static_cast<uint32_t>(zero));
    if (detectFailures < 0) return 0;
    if (detectFailures > 0) {
      --detectFailures;
      return 0;
    }
    return 1;
  }
  uint8_t ReadBuffer(uint32_t address, uint8_t* buffer, uint32_t length, uint32_t) override {
    Log("Read", address);
    auto it = memory.find(address);
    if (failRead.count(address) || it == memory.end() || length != 64) {
      // A failed read may leave rubbish behind.
      std::memset(buffer, 0xA5, length);
      return 0;
    }
    std::memcpy(buffer, it->second.data(), 64);
    return 1;
  }
  uint8_t WriteBuffer(uint32_t address, const uint8_t* buffer, uint32_t length, uint32_t) override {
    Log("Write", address);
    auto it = memory.find(address);
    if (failWrite.count(address) || it == memory.end() || length != 64) return 0;
    std::memcpy(it->second.data(), buffer, 64);
    return 1;
  }
  uint8_t EraseBlock(uint32_t first, uint32_t last) override {
    Log("Erase", first << 16 | last);
    if (failErase) return 0;
    for (auto& [address, copy] : memory) copy.fill(0xFF);
    return 1;
  }

  void SetAll(const Copy& copy) {
    for (auto& [address, c] : memory) c = copy;
  }
  int Count(const std::string& name) const {
    int n = 0;
    for (const Call& c : calls) n += c.name == name;
    return n;
  }
  std::vector<uint32_t> Addresses(const std::string& name) const {
    std::vector<uint32_t> out;
    for (const Call& c : calls)
      if (c.name == name) out.push_back(c.address);
    return out;
  }

 private:
  void Log(const char* name, uint32_t address) { calls.push_back({name, address, ticks ? ticks->TickCount() : 0}); }
};

}  // namespace pen::test
