// The button manager with every catalogued model: which file it keeps,
// what the factory puts in it, and which models have a wheel centre button.
#include <cctype>
#include <map>
#include <utility>

#include "ButtonManagerFixture.h"
#include "common/ModelCatalogue.h"

namespace pen::test {
namespace {

struct Group {
  const char* file;
  uint8_t slots;     // of the factory table
  uint8_t first[2];  // its slot 0
};

// Model code to its group's definitions file and factory table.
const std::map<std::string, Group>& Groups() {
  static const Group r711{"/prog/R711Def.bin", 14, {0, 69}}, r733{"/prog/R733Def.bin", 6, {4, 0}},
      r755{"/prog/R755Def.bin", 10, {1, 189}}, r766{"/prog/R766Def.bin", 10, {1, 187}},
      r788{"/prog/R788Def.bin", 10, {1, 187}};  // the R766 table
  static const std::map<std::string, Group> groups{
      {"R700", {"/prog/R700Def.bin", 14, {0, 69}}},
      {"R711", r711}, {"K24 ", r711}, {"R9270", r711}, {"R733", r733}, {"R755", r755}, {"R766", r766},
      {"R788", r788}, {"R790", r788}, {"K60", r788},   {"K90", r788},  {"R888", r788},
  };
  return groups;
}

bool HasWheelCentre(const std::string& code) {
  for (const char* wheel : {"R766", "R788", "R790", "K60", "K90", "R888"}) {
    if (code == wheel) return true;
  }
  return false;
}

std::vector<std::string> CatalogueCodes() {
  std::vector<std::string> codes;
  for (const ModelRow& row : ModelRows()) codes.emplace_back(row.code);
  return codes;
}

class EveryModel : public ButtonManagerTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(EveryModel, ConnectingWithoutAFileWritesItsGroupsFileWithTheFactoryTable) {
  const auto group = Groups().find(GetParam());
  ASSERT_NE(group, Groups().end()) << "a catalogued model the test does not know";
  Connect(GetParam());
  const std::string file = File(group->second.file);
  ASSERT_EQ(file.size(), 64u);
  EXPECT_EQ(static_cast<uint8_t>(file[0]), group->second.first[0]);
  EXPECT_EQ(static_cast<uint8_t>(file[1]), group->second.first[1]);
  // The last factory slot of every table is "MouseRight"; the rest stays zero.
  EXPECT_EQ(file.substr(2 * group->second.slots - 2, 2), std::string("\x00\x02", 2));
  EXPECT_EQ(file.substr(2 * group->second.slots), std::string(64 - 2 * group->second.slots, '\0'));
  EXPECT_EQ(store.files.size(), 1u);  // no other file
}

TEST_P(EveryModel, DeviceButtonTenIsTheWheelCentreOnlyOnTheWheelModels) {
  Connect(GetParam());
  const Events pressed = State(Device(10));
  State(0);
  if (HasWheelCentre(GetParam())) {
    EXPECT_EQ(pressed, Events{});
    EXPECT_EQ(owner.posted, (std::vector<FakePoster::Message>{{1524, 1, 1}, {1524, 1, 0}}));
  } else {
    // A key of its own, except on the R733, whose map has no slot for it.
    EXPECT_EQ(pressed.empty(), GetParam() == "R733");
    EXPECT_TRUE(owner.posted.empty());
  }
}

TEST_P(EveryModel, AResetWithoutATabletDeletesItsFile) {
  Connect(GetParam());
  ASSERT_EQ(store.files.size(), 1u);
  buttons.SetModelCode("");
  buttons.ResetAllDefinitions();
  EXPECT_TRUE(store.files.empty());
}

INSTANTIATE_TEST_SUITE_P(Catalogue, EveryModel, ::testing::ValuesIn(CatalogueCodes()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           std::string name = info.param;
                           for (char& c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                           return name;
                         });

TEST(EveryModelCount, TheTwelveReportedCodesAreCatalogued) {
  EXPECT_EQ(CatalogueCodes().size(), Groups().size());
  for (const auto& [code, group] : Groups()) EXPECT_NE(FindModel(code), nullptr) << '"' << code << '"';
}

}  // namespace
}  // namespace pen::test
