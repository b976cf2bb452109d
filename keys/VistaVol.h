#pragma once
#include <memory>

#include "keys/VolControl.h"

namespace pen {

// The Core Audio calls the endpoint back end makes, one method per call
// (Win32: keys/win32/Win32EndpointVolume). Every method reports success.
class IEndpointVolumeApi {
 public:
  virtual ~IEndpointVolumeApi() = default;
  // COM on the calling thread (multithreaded) and the device enumerator;
  // called again, only what is missing is made.
  virtual bool CreateEnumerator() = 0;
  // The three steps of acquiring the default output's volume control. A
  // failed step leaves the control of the last successful acquisition in use.
  virtual bool EnumerateActiveEndpoints() = 0;
  virtual bool GetDefaultRenderEndpoint() = 0;
  virtual bool ActivateEndpointVolume() = 0;
  // On the volume control in use.
  virtual bool GetMute(bool& muted) = 0;
  virtual bool GetLevel(float& level) = 0;  // scalar 0.0 .. 1.0
  virtual bool SetLevel(float level) = 0;
  virtual bool SetMute(bool muted) = 0;
  virtual bool StepUp() = 0;
  virtual bool StepDown() = 0;
};

// Volume through the default output device's endpoint volume (Vista and
// later). The device is acquired again before every operation, so the
// operations follow the user when the default output changes. Without an
// audio device an operation does nothing, and the next one tries again.
class TVistaVolume final : public IVolumeControl {
 public:
  explicit TVistaVolume(std::unique_ptr<IEndpointVolumeApi> api);

  void VolumeUp() override;
  void VolumeDown() override;
  void ToggleMute() override;

  bool Usable() const { return usable_; }
  bool Muted() const { return muted_; }

 private:
  void SetUp();
  bool Ready();
  bool Acquire();

  std::unique_ptr<IEndpointVolumeApi> api_;
  bool usable_ = false;
  bool muted_ = false;  // the program's own idea, read from the device once
  float savedLevel_ = 0.0f;
};

}  // namespace pen
