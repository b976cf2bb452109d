#include "ui/Notice.h"

namespace pen {

TFormNotice::TFormNotice(const NoticePorts& ports) : p_(ports) {
  p_.hideTimer.SetOnTimer(Event<>::Bind<&TFormNotice::tmrHideTimer>(this));
}

TFormNotice::~TFormNotice() {
  p_.hideTimer.Stop();
  p_.hideTimer.SetOnTimer({});
}

std::array<int, 2> TFormNotice::MarkerAt(int position) {
  const auto& r = kRing[static_cast<size_t>(position & 15)];
  return {98 + 3 * r[0], 98 + 3 * r[1]};
}

std::array<int, 2> TFormNotice::DotAt(int position) {
  const auto& r = kRing[static_cast<size_t>(position & 15)];
  return {109 + 3 * r[0], 109 + 3 * r[1]};
}

std::array<int, 2> TFormNotice::PlaceOn(int screenWidth, int screenHeight) {
  return {(screenWidth - kSize) / 2, screenHeight - kBottomGap - kSize};
}

void TFormNotice::SetAlpha(uint8_t alpha) {
  alpha_ = alpha;
  p_.view.SetAlpha(alpha);
}

void TFormNotice::ShowNotice(int direction) {
  reshown_ = true;
  if (!visible_) p_.view.Place();
  if (direction == 1) ring_ = (ring_ + 15) % 16;
  if (direction == 2) ring_ = (ring_ + 1) % 16;
  p_.view.Draw();
  p_.hideTimer.Start(kHideAfterMs);
  if (!visible_) {
    visible_ = true;
    SetAlpha(kAlpha);
    p_.view.Show();
  }
}

void TFormNotice::tmrHideTimer() {
  // A tick on its way when the fade began (it processes messages) finds
  // the fade under way: it is the fade's to finish.
  if (fading_) return;
  reshown_ = false;
  p_.hideTimer.Stop();
  fading_ = true;
  while (alpha_ > kFadeStep && !reshown_) {
    SetAlpha(static_cast<uint8_t>(alpha_ - kFadeStep));
    for (uint32_t waited = 0; waited < kFadeWaitMs && !reshown_; waited += kFadeSliceMs) {
      p_.clock.ProcessMessagesFor(kFadeSliceMs);
    }
  }
  fading_ = false;
  if (reshown_) {
    SetAlpha(kAlpha);
    p_.hideTimer.Start(kHideAfterMs);
  } else {
    visible_ = false;
    p_.view.Hide();
  }
}

}  // namespace pen
