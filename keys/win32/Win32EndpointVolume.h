#pragma once
#include "keys/VistaVol.h"

struct IMMDeviceEnumerator;
struct IMMDevice;
struct IAudioEndpointVolume;

namespace pen::win32 {

// The Core Audio calls of the endpoint back end. Made, called and released
// on one thread (the volume worker's), in the multithreaded apartment that
// it enters for them.
class Win32EndpointVolume : public IEndpointVolumeApi {
 public:
  Win32EndpointVolume() = default;
  ~Win32EndpointVolume() override;
  Win32EndpointVolume(const Win32EndpointVolume&) = delete;
  Win32EndpointVolume& operator=(const Win32EndpointVolume&) = delete;

  bool CreateEnumerator() override;
  bool EnumerateActiveEndpoints() override;
  bool GetDefaultRenderEndpoint() override;
  bool ActivateEndpointVolume() override;
  bool GetMute(bool& muted) override;
  bool GetLevel(float& level) override;
  bool SetLevel(float level) override;
  bool SetMute(bool muted) override;
  bool StepUp() override;
  bool StepDown() override;

 private:
  bool comStarted_ = false;
  IMMDeviceEnumerator* enumerator_ = nullptr;
  IMMDevice* candidate_ = nullptr;  // default device of the acquisition under way
  IMMDevice* device_ = nullptr;
  IAudioEndpointVolume* volume_ = nullptr;
};

}  // namespace pen::win32
