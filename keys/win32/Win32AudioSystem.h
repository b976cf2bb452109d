#pragma once
#include "keys/VolControl.h"

namespace pen::win32 {

// The running Windows' version and its two audio interfaces.
class Win32AudioSystem : public IAudioSystem {
 public:
  int WindowsMajorVersion() override;
  std::unique_ptr<IEndpointVolumeApi> EndpointApi() override;
  std::unique_ptr<IMixerApi> MixerApi() override;
};

}  // namespace pen::win32
