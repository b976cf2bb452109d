#include "keys/VolControl.h"

#include "keys/SSVolumeController.h"
#include "keys/VistaVol.h"

namespace pen {

namespace {
constexpr int kFirstEndpointWindows = 6;  // Vista
}  // namespace

TVolControl::TVolControl(IAudioSystem& audio) : endpoint_(audio.WindowsMajorVersion() >= kFirstEndpointWindows) {
  if (endpoint_) {
    backEnd_ = std::make_unique<TVistaVolume>(audio.EndpointApi());
  } else {
    backEnd_ = std::make_unique<TssVolumeController>(audio.MixerApi());
  }
}

TVolControl::~TVolControl() = default;

}  // namespace pen
