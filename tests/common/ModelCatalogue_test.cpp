// The model catalogue's rows, all of them: what every row must hold for the
// keys, the key-setup windows and the screen mapping window to work.
#include "common/ModelCatalogue.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace pen {
namespace {

std::string Named(std::string_view code) { return "\"" + std::string(code) + "\""; }

TEST(ModelCatalogue, EveryFamilyHasAsManyFactoryKeysAsSlotsInItsMap) {
  ASSERT_FALSE(FamilyRows().empty());
  for (const FamilyRow& family : FamilyRows()) {
    EXPECT_FALSE(family.factory.empty()) << family.code;
    EXPECT_EQ(family.factory.size(), family.buttonForSlot.size()) << family.code;
    // Slots live in a block of 32.
    EXPECT_LE(family.factory.size(), 32u) << family.code;
  }
}

TEST(ModelCatalogue, EveryCodeOnceEachWithAFamilyADrawingAndAKeySetupWindow) {
  std::set<std::string_view> codes;
  for (const ModelRow& model : ModelRows()) {
    EXPECT_TRUE(codes.insert(model.code).second) << Named(model.code) << " twice";
    EXPECT_EQ(FindModel(model.code), &model) << Named(model.code);
    const FamilyRow* family = FamilyOf(model);
    ASSERT_NE(family, nullptr) << Named(model.code);
    EXPECT_EQ(family->keySetup.window, model.family) << Named(model.code);
    EXPECT_GT(family->keySetup.buttons, 0u) << Named(model.code);
    EXPECT_NE(DrawingOf(model), nullptr) << Named(model.code);
    EXPECT_FALSE(DefinitionsStemOf(model).empty()) << Named(model.code);
  }
  EXPECT_EQ(codes.size(), 12u);
  // Codes are compared as reported: neither a lost blank nor an unknown code finds a row.
  EXPECT_EQ(FindModel("K24"), nullptr);
  EXPECT_NE(FindModel("K24 "), nullptr);
  EXPECT_EQ(FindModel(""), nullptr);
}

TEST(ModelCatalogue, EveryFamilyOnceAndServedByAtLeastOneCode) {
  std::set<ModelFamily> families;
  for (const FamilyRow& family : FamilyRows()) {
    EXPECT_NE(family.Family(), ModelFamily::None) << family.code;
    EXPECT_TRUE(families.insert(family.Family()).second) << family.code << " twice";
    EXPECT_EQ(FindFamily(family.Family()), &family);
    bool served = false;
    for (const ModelRow& model : ModelRows()) served = served || model.family == family.Family();
    EXPECT_TRUE(served) << family.code;
    EXPECT_NE(family.drawing, nullptr) << family.code;
  }
  EXPECT_EQ(families.size(), 5u);
  EXPECT_EQ(FindFamily(ModelFamily::None), nullptr);
}

TEST(ModelCatalogue, EachKeySetupWindowShowsNoMoreButtonsThanTheFamilyHasKeysAndCopiesThemAll) {
  for (const FamilyRow& family : FamilyRows()) {
    const SetKeysModel& window = family.keySetup;
    EXPECT_LE(window.buttons, 12u) << family.code;  // twelve tablet keys at most
    EXPECT_LE(window.buttons, family.factory.size()) << family.code;
    EXPECT_GE(window.bytes, 2 * window.buttons) << family.code;
    EXPECT_LE(window.bytes, 24u) << family.code;
    EXPECT_LE(window.panel.left + window.panel.width, window.clientWidth) << family.code;
    EXPECT_LE(window.editor.left + window.editor.width, window.clientWidth) << family.code;
  }
}

TEST(ModelCatalogue, EveryDrawingKeepsItsActiveAreaAndItsShapesInsideItsOutline) {
  auto inside = [](const TabletShape& s, const TabletShape& outline) {
    return s.left >= outline.left && s.top >= outline.top && s.right <= outline.right &&
           s.bottom <= outline.bottom && s.left < s.right && s.top < s.bottom;
  };
  for (const ModelRow& model : ModelRows()) {
    const TabletDrawing* d = DrawingOf(model);
    ASSERT_NE(d, nullptr) << Named(model.code);
    // The picture is 510 pixels wide at most: 255 half pixels.
    EXPECT_LE(d->outline.right, 255) << Named(model.code);
    EXPECT_TRUE(inside(d->activeArea, d->outline)) << Named(model.code);
    for (const TabletShape& s : d->others) EXPECT_TRUE(inside(s, d->outline)) << Named(model.code);
  }
}

TEST(ModelCatalogue, Every16To9AreaSpansTheFullWidthAndABandCentredInTheHeight) {
  size_t wide = 0;
  for (const ModelRow& model : ModelRows()) {
    if (!model.wide) continue;
    ++wide;
    const TabletRect& r = *model.wide;
    EXPECT_EQ(r.left, 0) << Named(model.code);
    EXPECT_EQ(r.right, 4095) << Named(model.code);
    EXPECT_GT(r.top, 0) << Named(model.code);
    EXPECT_EQ(r.top + r.bottom, 4096) << Named(model.code);
  }
  EXPECT_EQ(wide, 9u);  // "R700", "R790" and "R888" have none
}

TEST(ModelCatalogue, ModelsOfOneFamilyDifferOnlyWhereTheyHaveTheirOwnFileOrDrawing) {
  // The R700 keeps a definitions file of its own; the K24 and the R9270 a
  // drawing of their own; everything else comes from the family.
  const ModelRow& r700 = *FindModel("R700");
  EXPECT_EQ(DefinitionsStemOf(r700), "R700");
  EXPECT_EQ(DrawingOf(r700), DrawingOf(*FindModel("R711")));
  EXPECT_EQ(DefinitionsStemOf(*FindModel("K24 ")), "R711");
  EXPECT_EQ(DrawingOf(*FindModel("K24 ")), DrawingOf(*FindModel("R9270")));
  EXPECT_NE(DrawingOf(*FindModel("K24 ")), DrawingOf(*FindModel("R711")));
  EXPECT_EQ(DrawingOf(*FindModel("K24 "))->others.size(), 6u);
  EXPECT_EQ(DefinitionsStemOf(*FindModel("R888")), "R788");
}

}  // namespace
}  // namespace pen
