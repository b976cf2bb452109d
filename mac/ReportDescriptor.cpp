#include "mac/ReportDescriptor.h"

#include <algorithm>
#include <array>

namespace penmac {

namespace {

enum ItemType : uint8_t { kMain = 0, kGlobal = 1, kLocal = 2 };
constexpr uint8_t kLongItemPrefix = 0xFE;

// Main item tags.
constexpr uint8_t kInput = 8;
constexpr uint8_t kCollection = 10;
constexpr uint8_t kEndCollection = 12;
// Global item tags.
constexpr uint8_t kUsagePage = 0;
constexpr uint8_t kReportSize = 7;
constexpr uint8_t kReportId = 8;
constexpr uint8_t kReportCount = 9;
constexpr uint8_t kPush = 10;
constexpr uint8_t kPop = 11;
// Local item tags.
constexpr uint8_t kUsage = 0;

// Far beyond any real device; keeps a hostile descriptor's sums bounded.
constexpr uint64_t kMaxReportBits = uint64_t{1} << 24;
constexpr size_t kMaxPushDepth = 16;

struct Globals {
  uint32_t usagePage = 0;
  uint32_t reportSize = 0;
  uint32_t reportCount = 0;
  uint32_t reportId = 0;
};

}  // namespace

ReportDescriptorInfo ParseReportDescriptor(const uint8_t* data, size_t length) {
  ReportDescriptorInfo info;
  if (data == nullptr) return info;

  Globals globals;
  std::vector<Globals> stack;
  bool haveUsage = false;
  uint32_t firstUsage = 0;
  int depth = 0;
  bool numbered = false;
  std::array<uint64_t, 256> inputBits{};

  size_t i = 0;
  while (i < length) {
    const uint8_t prefix = data[i];
    if (prefix == kLongItemPrefix) {
      if (i + 1 >= length) break;
      i += 3 + size_t{data[i + 1]};  // prefix, size, tag, data: carries nothing we use
      continue;
    }
    const size_t size = (prefix & 3) == 3 ? 4 : (prefix & 3);
    if (i + 1 + size > length) break;
    uint32_t value = 0;
    for (size_t b = 0; b < size; ++b) value |= uint32_t{data[i + 1 + b]} << (8 * b);
    const uint8_t type = (prefix >> 2) & 3;
    const uint8_t tag = prefix >> 4;
    i += 1 + size;

    if (type == kGlobal) {
      switch (tag) {
        case kUsagePage: globals.usagePage = value; break;
        case kReportSize: globals.reportSize = value; break;
        case kReportCount: globals.reportCount = value; break;
        case kReportId:
          globals.reportId = value & 0xFF;
          numbered = true;
          break;
        case kPush:
          if (stack.size() < kMaxPushDepth) stack.push_back(globals);
          break;
        case kPop:
          if (!stack.empty()) {
            globals = stack.back();
            stack.pop_back();
          }
          break;
        default: break;
      }
      continue;
    }
    if (type == kLocal) {
      if (tag == kUsage && !haveUsage) {
        haveUsage = true;
        // A four-byte usage carries its own page in the upper half.
        firstUsage = size == 4 ? value : (globals.usagePage << 16) | (value & 0xFFFF);
      }
      continue;
    }
    if (type != kMain) continue;

    if (tag == kCollection) {
      if (depth == 0) {
        info.collections.push_back(UsagePair{haveUsage ? firstUsage >> 16 : globals.usagePage,
                                             haveUsage ? firstUsage & 0xFFFF : 0});
      }
      ++depth;
    } else if (tag == kEndCollection) {
      depth = std::max(0, depth - 1);
    } else if (tag == kInput) {
      uint64_t& bits = inputBits[globals.reportId];
      bits = std::min(kMaxReportBits, bits + uint64_t{globals.reportSize} * globals.reportCount);
    }
    // Local items last until the next main item.
    haveUsage = false;
    firstUsage = 0;
  }

  uint64_t maxBits = 0;
  for (const uint64_t bits : inputBits) maxBits = std::max(maxBits, bits);
  if (maxBits > 0) info.maxInputReportSize = static_cast<int64_t>((maxBits + 7) / 8 + (numbered ? 1 : 0));
  return info;
}

}  // namespace penmac
