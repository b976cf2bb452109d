#pragma once
#include "pipeline/PerformanceCounter.h"

namespace pen::win32 {

class TWin32PerformanceCounter final : public IPerformanceCounter {
 public:
  uint64_t Frequency() override;
  uint64_t Count() override;
};

}  // namespace pen::win32
