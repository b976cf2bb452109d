#pragma once
#include <memory>

namespace pen {

// The three volume operations of the soft keys and the wheel.
class IVolumeControl {
 public:
  virtual ~IVolumeControl() = default;
  virtual void VolumeUp() = 0;
  virtual void VolumeDown() = 0;
  virtual void ToggleMute() = 0;
};

class IEndpointVolumeApi;
class IMixerApi;

// The system's audio as the volume control finds it.
class IAudioSystem {
 public:
  virtual ~IAudioSystem() = default;
  virtual int WindowsMajorVersion() = 0;
  virtual std::unique_ptr<IEndpointVolumeApi> EndpointApi() = 0;
  virtual std::unique_ptr<IMixerApi> MixerApi() = 0;
};

// The system volume: the endpoint back end (TVistaVolume) on Windows Vista
// and later, the mixer back end (TssVolumeController) before, chosen once at
// creation. The button manager and the wheel functions each have their own,
// on a TVolumeWorker's thread.
class TVolControl final : public IVolumeControl {
 public:
  explicit TVolControl(IAudioSystem& audio);
  ~TVolControl() override;

  void VolumeUp() override { backEnd_->VolumeUp(); }
  void VolumeDown() override { backEnd_->VolumeDown(); }
  void ToggleMute() override { backEnd_->ToggleMute(); }

 private:
  std::unique_ptr<IVolumeControl> backEnd_;
};

}  // namespace pen
