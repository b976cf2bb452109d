#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "common/Clock.h"
#include "common/WindowTimer.h"
#include "keys/WheelWindows.h"

namespace pen {

// What the notice needs of its window.
class INoticeView {
 public:
  virtual ~INoticeView() = default;
  // Puts the hidden window at the bottom centre of the screen.
  virtual void Place() = 0;
  // Draws the ring, the marker, the icon and the name as the notice has them.
  virtual void Draw() = 0;
  // Shows it on top without taking the focus / hides it.
  virtual void Show() = 0;
  virtual void Hide() = 0;
  virtual void SetAlpha(uint8_t alpha) = 0;
};

struct NoticePorts {
  IWindowTimer& hideTimer;
  IClock& clock;  // the fade's waits, which run messages
  INoticeView& view;
};

// The round notice of the current wheel function: its icon and name and a
// marker that moves one of 16 places per wheel step. It hides, fading, a
// second after the last show; a show during the fade keeps it up.
class TFormNotice final : public INoticeWindow {
 public:
  static constexpr int kSize = 220;
  static constexpr int kBottomGap = 50;
  static constexpr uint8_t kAlpha = 200;
  static constexpr uint8_t kFadeStep = 55;
  static constexpr uint32_t kHideAfterMs = 1000;
  static constexpr uint32_t kFadeWaitMs = 20;
  static constexpr uint32_t kFadeSliceMs = 10;
  static constexpr uint32_t kMarkerColour = 0xFF298FCC;  // RGB (41,143,204)
  static constexpr uint32_t kTextColour = 16776960;
  // The 16 places of the ring in units of 3 pixels from the centre, from
  // the top clockwise.
  static constexpr std::array<std::array<int, 2>, 16> kRing = {{{0, -30},
                                                                {11, -28},
                                                                {21, -21},
                                                                {28, -11},
                                                                {30, 0},
                                                                {28, 11},
                                                                {21, 21},
                                                                {11, 28},
                                                                {0, 30},
                                                                {-11, 28},
                                                                {-21, 21},
                                                                {-28, 11},
                                                                {-30, 0},
                                                                {-28, -11},
                                                                {-21, -21},
                                                                {-11, -28}}};

  explicit TFormNotice(const NoticePorts& ports);
  ~TFormNotice() override;
  TFormNotice(const TFormNotice&) = delete;
  TFormNotice& operator=(const TFormNotice&) = delete;

  // INoticeWindow
  void SetNameFontSize(int points) override { nameFontSize_ = points; }
  void SetNoticeIcon(const WheelIcon& icon) override { icon_ = icon; }
  void SetNoticeText(std::u16string_view text) override { text_ = text; }
  void ShowNotice(int direction) override;
  bool Fading() const override { return fading_; }
  void FadeStep() override { tmrHideTimer(); }

  // The hide timer's tick: the fade, then hidden unless shown meanwhile.
  void tmrHideTimer();

  int NameFontSize() const { return nameFontSize_; }
  const WheelIcon& NoticeIcon() const { return icon_; }
  const std::u16string& NoticeText() const { return text_; }
  int RingPosition() const { return ring_; }
  uint8_t Alpha() const { return alpha_; }
  bool Visible() const { return visible_; }

  // Where the marker of place `position` goes (its top left, 24 pixels
  // across) and where a ring dot goes (3 pixels across).
  static std::array<int, 2> MarkerAt(int position);
  static std::array<int, 2> DotAt(int position);
  // The window's top left on a screen of that size.
  static std::array<int, 2> PlaceOn(int screenWidth, int screenHeight);

 private:
  void SetAlpha(uint8_t alpha);

  NoticePorts p_;
  WheelIcon icon_{};
  std::u16string text_;
  int nameFontSize_ = 16;
  int ring_ = 0;
  uint8_t alpha_ = kAlpha;
  bool reshown_ = false;
  bool fading_ = false;
  bool visible_ = false;
};

}  // namespace pen
