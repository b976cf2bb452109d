#include "keys/VistaVol.h"

namespace pen {

TVistaVolume::TVistaVolume(std::unique_ptr<IEndpointVolumeApi> api) : api_(std::move(api)) { SetUp(); }

void TVistaVolume::SetUp() {
  if (!api_ || !api_->CreateEnumerator() || !Acquire()) return;
  bool muted = false;
  if (api_->GetMute(muted)) muted_ = muted;
  // Started while the device is muted, the first unmute must bring back the
  // level the device has, not silence.
  float level = 0.0f;
  if (api_->GetLevel(level)) savedLevel_ = level;
  usable_ = true;
}

// Without an output at creation (a headset plugged in after logon, the
// audio service not up yet) the set-up is tried again at each operation
// until it succeeds; a usable one acquires the current default output.
bool TVistaVolume::Ready() {
  if (usable_) {
    Acquire();
  } else {
    SetUp();
  }
  return usable_;
}

bool TVistaVolume::Acquire() {
  return api_->EnumerateActiveEndpoints() && api_->GetDefaultRenderEndpoint() && api_->ActivateEndpointVolume();
}

void TVistaVolume::VolumeUp() {
  if (!Ready()) return;
  api_->StepUp();
}

void TVistaVolume::VolumeDown() {
  if (!Ready()) return;
  api_->StepDown();
}

void TVistaVolume::ToggleMute() {
  if (!Ready()) return;
  muted_ = !muted_;
  // The level goes to 0 with the mute and comes back before it is lifted,
  // so that devices which ignore the mute flag are silent too.
  if (muted_) {
    float level = 0.0f;
    if (api_->GetLevel(level)) savedLevel_ = level;
    api_->SetLevel(0.0f);
  } else {
    api_->SetLevel(savedLevel_);
  }
  api_->SetMute(muted_);
}

}  // namespace pen
