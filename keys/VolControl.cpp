#include "keys/VolControl.h"

#include "keys/SSVolumeController.h"
#include "keys/VistaVol.h"

namespace pen {

namespace {
constexpr int kFirstEndpointWindows = 6;  // Vista
}  // namespace

TVolControl::TVolControl(IAudioSystem& audio) {
  if (audio.WindowsMajorVersion() >= kFirstEndpointWindows) {
    backEnd_ = std::make_unique<TVistaVolume>(audio.EndpointApi());
  } else {
    backEnd_ = std::make_unique<TssVolumeController>(audio.MixerApi());
  }
}

TVolControl::~TVolControl() = default;

}  // namespace pen
