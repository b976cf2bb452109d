#include "common/ModelCatalogue.h"

namespace pen {

namespace {

// --- factory keys and button-to-slot maps ---

// Modifier byte, key code. Key code 29 is sent as virtual key 29 as it always
// was, not as a letter.
constexpr KeyDefinition kR711Keys[] = {
    {0, 69},  {0, 66},  {1, 189}, {1, 187}, {0, 219}, {0, 221}, {0, 5},
    {0, 9},   {0, 6},   {0, 32},  {1, 0},   {2, 0},   {1, 29},  {0, 2},
};
constexpr KeyDefinition kR733Keys[] = {{4, 0}, {2, 0}, {0, 32}, {0, 9}, {1, 29}, {0, 2}};
constexpr KeyDefinition kR755Keys[] = {
    {1, 189}, {1, 187}, {0, 219}, {0, 221}, {0, 9}, {0, 32}, {1, 0}, {2, 0}, {1, 29}, {0, 2},
};
// Also the R788 family's: their tablets left the factory with the same keys.
constexpr KeyDefinition kR766Keys[] = {
    {1, 187}, {1, 189}, {0, 219}, {0, 221}, {0, 9}, {0, 32}, {4, 0}, {2, 0}, {1, 29}, {0, 2},
};

// Device button number per slot; a button fires the lowest slot that names
// it. Only buttons 0..11 are ever looked up, so entries 12 and 13 fire
// nothing and the R755's second 11 is never reached: kept because the slot
// numbers, not the buttons, are what the definitions files store.
constexpr uint8_t kR711Map[] = {9, 10, 7, 8, 6, 11, 5, 0, 4, 1, 3, 2, 12, 13};
constexpr uint8_t kR733Map[] = {1, 0, 3, 2, 4, 13};
constexpr uint8_t kR755Map[] = {8, 11, 9, 10, 6, 7, 5, 4, 12, 11};
constexpr uint8_t kR766Map[] = {9, 4, 8, 5, 2, 3, 0, 1, 12, 11};
constexpr uint8_t kR788Map[] = {9, 4, 8, 5, 2, 3, 0, 1, 12, 11};

// On the wheel models this button has no slot: it is the wheel's centre.
constexpr int kWheelCentre = 10;
constexpr int kNoWheel = -1;

// --- drawings (half pixels: left, top, right, bottom) ---

using K = TabletShapeKind;
constexpr TabletShape Key(int16_t l, int16_t t, int16_t r, int16_t b) { return {K::Rect, l, t, r, b, 0}; }
constexpr TabletShape Ellipse(int16_t l, int16_t t, int16_t r, int16_t b) { return {K::Ellipse, l, t, r, b, 0}; }
constexpr TabletShape Round(int16_t l, int16_t t, int16_t r, int16_t b, int16_t radius) {
  return {K::RoundRect, l, t, r, b, radius};
}

constexpr TabletShape kWideOutline = Round(0, 0, 255, 170, 20);
constexpr TabletShape kWideActive = Key(43, 20, 236, 150);

constexpr TabletShape kR733Shapes[] = {Round(20, 12, 55, 30, 10), Round(155, 12, 190, 30, 10)};
constexpr TabletShape kR755Shapes[] = {Key(10, 30, 35, 40), Key(10, 42, 35, 52), Key(10, 54, 35, 64),
                                       Key(10, 66, 35, 76)};
constexpr TabletShape kK24Shapes[] = {Key(10, 30, 35, 40), Key(10, 42, 35, 52), Key(10, 54, 35, 64),
                                      Key(10, 66, 35, 76), Key(10, 78, 35, 88), Key(10, 90, 35, 100)};
constexpr TabletShape kR711Shapes[] = {Key(10, 30, 35, 40),   Key(10, 47, 35, 57),   Key(10, 64, 35, 74),
                                       Key(10, 130, 35, 140), Key(10, 113, 35, 123), Key(10, 96, 35, 106)};
constexpr TabletShape kR766Shapes[] = {Ellipse(10, 30, 35, 55), Key(10, 64, 35, 74), Key(10, 81, 35, 91)};
constexpr TabletShape kR788Ring[] = {Ellipse(6, 102, 45, 140), Ellipse(8, 104, 43, 138), Ellipse(16, 112, 35, 130)};

constexpr TabletDrawing kR733Drawing{Round(0, 0, 210, 170, 30), Round(25, 40, 185, 150, 10), kR733Shapes};
constexpr TabletDrawing kR755Drawing{kWideOutline, kWideActive, kR755Shapes};
// The K24 and the R9270 carry six keys in a column, unlike the R711 whose
// keys they share.
constexpr TabletDrawing kK24Drawing{kWideOutline, kWideActive, kK24Shapes};
constexpr TabletDrawing kR711Drawing{kWideOutline, kWideActive, kR711Shapes};
constexpr TabletDrawing kR766Drawing{kWideOutline, kWideActive, kR766Shapes};
constexpr TabletDrawing kR788Drawing{Round(0, 0, 255, 160, 20), Key(48, 20, 241, 140), kR788Ring};

// --- families ---

using L = KeySetupLayout;
using F = ModelFamily;

// Key-setup windows: class, family, buttons, bytes compared and copied,
// layout, client size, panel, editor, ring top, wider gap after row. The
// columns' panel is 2 * 130 + 10 + 2 * 20 wide; a ring's panel is its
// circle with a margin.
constexpr FamilyRow kFamilies[] = {
    {"R711",
     {"TSetKeysR711", F::R711, 12, 24, L::Columns, 574, 528, {16, 48, 310, 464}, {350, 80, 200, 214}, 0, 3},
     kR711Keys, kR711Map, kNoWheel, &kR711Drawing},
    {"R733",
     {"TSetKeysR733", F::R733, 4, 8, L::EndPairs, 819, 380, {16, 264, 787, 100}, {309, 36, 200, 214}},
     kR733Keys, kR733Map, kNoWheel, &kR733Drawing},
    {"R755",
     {"TSetKeysR755", F::R755, 8, 24, L::Columns, 574, 368, {16, 48, 310, 304}, {350, 60, 200, 214}},
     kR755Keys, kR755Map, kNoWheel, &kR755Drawing},
    {"R766",
     {"TSetKeysR766", F::R766, 8, 16, L::Ring, 664, 612, {16, 48, 400, 548}, {440, 80, 200, 214}, 20},
     kR766Keys, kR766Map, kWheelCentre, &kR766Drawing},
    {"R788",
     {"TSetKeysR788", F::R788, 8, 16, L::RingNarrowKeys, 664, 614, {16, 48, 400, 550}, {440, 80, 200, 214}, 60},
     kR766Keys, kR788Map, kWheelCentre, &kR788Drawing},
};

// --- reported model codes ---

constexpr ModelName kR711Names[] = {{"", "5080Max", "QS5080"}};
constexpr ModelName kR755Names[] = {{"", "QS300", "QS300"}};
constexpr ModelName kR766Names[] = {{"", "K40", "K40"}};
// The same code reported by three tablets: the product string tells them apart.
constexpr ModelName kR788Names[] = {{"R799", "K60", "K60"}, {"R711", "R711", "K90 lite"}};
constexpr ModelName kR790Names[] = {{"R788", "R788", "K90"}};
constexpr ModelName kK60Names[] = {{"", "R888", "QS600"}};

// The order is the reset's: it deletes the definitions files in the order
// their codes first appear here.
constexpr ModelRow kModels[] = {
    // Keys and window of the R711 but a file of its own: files written by
    // earlier versions stay in use.
    {.code = "R700", .family = F::R711, .ownDefinitionsStem = "R700"},
    {.code = "R711", .family = F::R711, .wide = TabletRect{0, 158, 4095, 3938}, .names = kR711Names},
    {.code = "K24 ", .family = F::R711, .ownDrawing = &kK24Drawing, .wide = TabletRect{0, 148, 4095, 3948}},
    {.code = "R9270", .family = F::R711, .ownDrawing = &kK24Drawing, .wide = TabletRect{0, 148, 4095, 3948}},
    {.code = "R733", .family = F::R733, .wide = TabletRect{0, 368, 4095, 3728}},
    {.code = "R755", .family = F::R755, .wide = TabletRect{0, 538, 4095, 3558}, .names = kR755Names},
    {.code = "R766", .family = F::R766, .wide = TabletRect{0, 288, 4095, 3808}, .names = kR766Names},
    {.code = "R788", .family = F::R788, .wide = TabletRect{0, 593, 4095, 3503}, .names = kR788Names},
    {.code = "R790", .family = F::R788, .names = kR790Names},
    {.code = "K60", .family = F::R788, .wide = TabletRect{0, 538, 4095, 3558}, .names = kK60Names},
    {.code = "K90", .family = F::R788, .wide = TabletRect{0, 318, 4095, 3778}},
    {.code = "R888", .family = F::R788},
};

}  // namespace

std::span<const ModelRow> ModelRows() { return kModels; }
std::span<const FamilyRow> FamilyRows() { return kFamilies; }

const ModelRow* FindModel(std::string_view code) {
  for (const ModelRow& row : kModels) {
    if (row.code == code) return &row;
  }
  return nullptr;
}

const FamilyRow* FindFamily(ModelFamily family) {
  for (const FamilyRow& row : kFamilies) {
    if (row.Family() == family) return &row;
  }
  return nullptr;
}

const FamilyRow* FamilyOf(const ModelRow& model) { return FindFamily(model.family); }

std::string_view DefinitionsStemOf(const ModelRow& model) {
  if (!model.ownDefinitionsStem.empty()) return model.ownDefinitionsStem;
  const FamilyRow* family = FamilyOf(model);
  return family ? family->code : model.code;
}

const TabletDrawing* DrawingOf(const ModelRow& model) {
  if (model.ownDrawing) return model.ownDrawing;
  const FamilyRow* family = FamilyOf(model);
  return family ? family->drawing : nullptr;
}

}  // namespace pen
