// The settings windows with every catalogued model: the key-setup window it
// opens and the drawing the screen mapping window shows.
#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <string>
#include <vector>

#include "common/ModelCatalogue.h"
#include "ui/MapScreen.h"
#include "ui/SetKeysModels.h"
#include "ui/UnitFormA.h"

namespace pen {
namespace {

struct Expected {
  KeySetupWindow window;
  size_t shapes;       // drawn beside the active area
  PixelRect frame;     // the tablet frame over the active area
};

const std::map<std::string, Expected>& ByCode() {
  constexpr PixelRect kWide{337, 450, 703, 690}, kRing{347, 460, 713, 680}, kR733{301, 490, 601, 690};
  using W = KeySetupWindow;
  static const std::map<std::string, Expected> expected{
      {"R700", {W::R711, 6, kWide}}, {"R711", {W::R711, 6, kWide}}, {"K24 ", {W::R711, 6, kWide}},
      {"R9270", {W::R711, 6, kWide}}, {"R733", {W::R733, 2, kR733}}, {"R755", {W::R755, 4, kWide}},
      {"R766", {W::R766, 3, kWide}}, {"R788", {W::R788, 3, kRing}}, {"R790", {W::R788, 3, kRing}},
      {"K60", {W::R788, 3, kRing}},  {"K90", {W::R788, 3, kRing}},  {"R888", {W::R788, 3, kRing}},
  };
  return expected;
}

std::vector<std::string> CatalogueCodes() {
  std::vector<std::string> codes;
  for (const ModelRow& row : ModelRows()) codes.emplace_back(row.code);
  return codes;
}

class EveryModelWindows : public ::testing::TestWithParam<std::string> {};

TEST_P(EveryModelWindows, OpensItsFamilysKeySetupWindowWithAFactoryDefaultForEachButton) {
  const auto expected = ByCode().find(GetParam());
  ASSERT_NE(expected, ByCode().end()) << "a catalogued model the test does not know";
  EXPECT_EQ(KeySetupFor(GetParam()), expected->second.window);
  const SetKeysModel* window = FindSetKeysModel(KeySetupFor(GetParam()));
  ASSERT_NE(window, nullptr);
  for (size_t b = 1; b <= window->buttons; ++b) EXPECT_FALSE(SetKeysDefault(*window, b).Empty()) << b;
  EXPECT_TRUE(SetKeysDefault(*window, window->buttons + 20).Empty());
}

TEST_P(EveryModelWindows, TheScreenMappingWindowDrawsItAndPlacesTheFrameOverItsActiveArea) {
  const auto expected = ByCode().find(GetParam());
  ASSERT_NE(expected, ByCode().end());
  TScreenMappingForm form;
  form.ModelCode = GetParam();
  form.ShowTabletArea = true;
  form.FormShow({{0, 0, 1920, 1080}, {{0, 0, 1920, 1080}}});
  ASSERT_NE(form.Drawing(), nullptr);
  EXPECT_EQ(form.Drawing()->others.size(), expected->second.shapes);
  EXPECT_EQ(form.TabletFrame().Bounds(), expected->second.frame);
}

INSTANTIATE_TEST_SUITE_P(Catalogue, EveryModelWindows, ::testing::ValuesIn(CatalogueCodes()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           std::string name = info.param;
                           for (char& c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                           return name;
                         });

}  // namespace
}  // namespace pen
