#pragma once
#include <windows.h>

#include "pipeline/ChannelClient.h"
#include "pipeline/win32/Win32SharedBlock.h"

namespace pen::win32 {

// The service's hidden window by its class and caption, and message A.
class TWin32ChannelService final : public IChannelService {
 public:
  TWin32ChannelService();
  uint64_t FindService() override;
  bool Register(uint64_t service, uint64_t window, uint32_t process) override;
  UINT MessageA() const { return messageA_; }

 private:
  UINT messageA_ = 0;
};

}  // namespace pen::win32
