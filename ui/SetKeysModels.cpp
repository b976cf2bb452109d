#include "ui/SetKeysModels.h"

namespace pen {

namespace {

constexpr int kKeyWidth = 130, kKeyHeight = 60, kKeyGap = 8, kMargin = 20;
constexpr int kColumnsGap = 24;
constexpr int kRingKeyWidth = 100, kRingKeyHeight = 40;
constexpr int kNarrowKeyWidth = 30, kNarrowKeyHeight = 90, kNarrowKeyStep = 60;

Box ColumnKey(size_t index, int gapAfterRow) {
  const int row = static_cast<int>(index / 2), column = static_cast<int>(index % 2);
  const int top = kMargin + row * (kKeyHeight + kKeyGap) + (gapAfterRow > 0 && row >= gapAfterRow ? kColumnsGap : 0);
  return {kMargin + column * (kKeyWidth + 10), top, kKeyWidth, kKeyHeight};
}

// Top, bottom, left and right of the ring, in the ring's band.
Box RingKey(size_t index, int ringTop) {
  const int centreX = kMargin + kRingDiameter / 2, centreY = ringTop + kRingDiameter / 2;
  const int band = (kRingDiameter - kSmallRingDiameter) / 4;  // middle of the band from the edge
  int x = centreX, y = centreY;
  switch (index) {
    case 0: y = ringTop + band; break;
    case 1: y = ringTop + kRingDiameter - band; break;
    case 2: x = kMargin + band; break;
    default: x = kMargin + kRingDiameter - band; break;
  }
  return {x - kRingKeyWidth / 2, y - kRingKeyHeight / 2, kRingKeyWidth, kRingKeyHeight};
}

}  // namespace

const SetKeysModel* FindSetKeysModel(KeySetupWindow which) {
  const FamilyRow* family = FindFamily(which);
  return family ? &family->keySetup : nullptr;
}

KeyDefinition SetKeysDefault(const SetKeysModel& model, size_t button) {
  const FamilyRow* family = FindFamily(model.window);
  if (!family || button < 1 || button > family->factory.size()) return {};
  return family->factory[button - 1];
}

Box SetKeysButtonBox(const SetKeysModel& model, size_t button) {
  if (button < 1 || button > model.buttons) return {};
  const size_t i = button - 1;
  const int centreX = kMargin + kRingDiameter / 2;
  switch (model.layout) {
    case KeySetupLayout::Columns: return ColumnKey(i, model.gapAfterRow);
    case KeySetupLayout::EndPairs: {
      const int pairWidth = 2 * kKeyWidth + 10;
      const int left = i < 2 ? kMargin : model.panel.width - kMargin - pairWidth;
      return {left + static_cast<int>(i % 2) * (kKeyWidth + 10), kMargin, kKeyWidth, kKeyHeight};
    }
    case KeySetupLayout::Ring: {
      if (i < 4) return RingKey(i, model.ringTop);
      const int row = static_cast<int>(i - 4) / 2, column = static_cast<int>(i % 2);
      return {centreX - kKeyWidth - 5 + column * (kKeyWidth + 10),
              model.ringTop + kRingDiameter + kMargin + row * (kKeyHeight + kKeyGap), kKeyWidth, kKeyHeight};
    }
    case KeySetupLayout::RingNarrowKeys: {
      if (i < 4) return RingKey(i, model.ringTop);
      const int rowWidth = 3 * kNarrowKeyStep + kNarrowKeyWidth;
      return {centreX - rowWidth / 2 + static_cast<int>(i - 4) * kNarrowKeyStep,
              model.ringTop + kRingDiameter + kMargin, kNarrowKeyWidth, kNarrowKeyHeight};
    }
  }
  return {};
}

}  // namespace pen
