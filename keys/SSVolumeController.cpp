#include "keys/SSVolumeController.h"

#include <algorithm>

namespace pen {

namespace {
constexpr int64_t kFullScale = 65535;
}  // namespace

TssVolumeController::TssVolumeController(std::unique_ptr<IMixerApi> api) : api_(std::move(api)) {
  // Creation only reads the mixer; it changes nothing.
  if (!api_) return;
  api_->Open();
  mute_ = Mute();
  ReadLevels(volume_, balance_);
}

void TssVolumeController::ReadLevels(int32_t& volume, int32_t& balance) {
  uint32_t left = 0, right = 0;
  if (!api_ || !api_->ReadVolume(left, right)) left = right = 0;
  const int64_t l = std::min<int64_t>(left, kFullScale), r = std::min<int64_t>(right, kFullScale);
  const int64_t loudest = std::max(l, r);
  volume = static_cast<int32_t>(loudest * 100 / kFullScale);
  balance = volume == 0 ? 0 : static_cast<int32_t>((r - l) * 100 / loudest);
}

int32_t TssVolumeController::Volume() {
  int32_t volume = 0, balance = 0;
  ReadLevels(volume, balance);
  return volume;
}

int32_t TssVolumeController::Balance() {
  int32_t volume = 0, balance = 0;
  ReadLevels(volume, balance);
  return balance;
}

bool TssVolumeController::Mute() {
  uint32_t value = 0;
  // A mute that cannot be read counts as not muted.
  return api_ && api_->ReadMute(value) && value == 1;
}

void TssVolumeController::WriteLevels() {
  const int64_t x = int64_t{volume_} * kFullScale / 100;
  int64_t left = x, right = x;
  if (balance_ >= 0) {
    left = x * (100 - balance_) / 100;
  } else {
    right = x * (balance_ + 100) / 100;
  }
  if (api_) api_->WriteVolume(static_cast<uint32_t>(left), static_cast<uint32_t>(right));
}

void TssVolumeController::SetVolume(int32_t volume) {
  if (volume < 0 || volume > 100) return;
  volume_ = volume;
  WriteLevels();
}

void TssVolumeController::SetBalance(int32_t balance) {
  if (balance < -100 || balance > 100) return;
  balance_ = balance;
  WriteLevels();
}

void TssVolumeController::SetMute(bool muted) {
  mute_ = muted;
  if (api_) api_->WriteMute(muted ? 1 : 0);
}

void TssVolumeController::VolumeUp() { SetVolume(std::min(Volume() + kStep, 100)); }

void TssVolumeController::VolumeDown() { SetVolume(std::max(Volume() - kStep, 0)); }

void TssVolumeController::ToggleMute() { SetMute(!Mute()); }

}  // namespace pen
