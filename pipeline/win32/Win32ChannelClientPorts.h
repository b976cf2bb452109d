#pragma once
#include <windows.h>

#include "pipeline/ChannelClient.h"
#include "pipeline/win32/Win32SharedBlock.h"

namespace pen::win32 {

// The service's hidden window by its class and caption, and messages A and B.
class TWin32ChannelService final : public IChannelService {
 public:
  TWin32ChannelService();
  uint64_t FindService() override;
  bool Register(uint64_t service, uint64_t window, uint32_t process) override;
  UINT MessageA() const { return messageA_; }
  // Each registration also posts message B, which sets the window's flag.
  void SetFlag(bool flag) { flag_ = flag; }

 private:
  UINT messageA_ = 0;
  UINT messageB_ = 0;
  bool flag_ = false;
};

}  // namespace pen::win32
