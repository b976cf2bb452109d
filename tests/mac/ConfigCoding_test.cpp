// The JSON forms of the screen and keys files.
#include "mac/ConfigCoding.h"

#include <gtest/gtest.h>

namespace penmac {
namespace {

TEST(ScreenFile, HasTheRectangleAsOriginAndSizeAndTheRotationText) {
  const std::string text = EncodeScreenConfig(ScreenConfig{Rect{{0, 0}, {1920, 1080}}, "0º"});
  EXPECT_EQ(text,
            "{\n  \"Rect\": [\n    [\n      0,\n      0\n    ],\n    [\n      1920,\n      1080\n    ]\n  ],\n"
            "  \"Rotation\": \"0\xC2\xBA\"\n}\n");
}

TEST(ScreenFile, ReadsTheCompactFormToo) {
  const auto config = DecodeScreenConfig(R"({"Rect" : [[0, 0], [1920, 1080]], "Rotation" : "0º"})");
  ASSERT_TRUE(config);
  EXPECT_EQ(config->Rect, (Rect{{0, 0}, {1920, 1080}}));
  EXPECT_EQ(config->Rotation, "0º");
}

TEST(ScreenFile, FractionsAndNegativeOriginsSurviveASaveAndLoad) {
  const ScreenConfig config{Rect{{-1280.5, 24.25}, {3200, 1080.75}}, "270º"};
  const std::string text = EncodeScreenConfig(config);
  EXPECT_EQ(DecodeScreenConfig(text), config);
  EXPECT_EQ(EncodeScreenConfig(*DecodeScreenConfig(text)), text);
}

TEST(ScreenFile, KeepsAnUnknownRotationTextAsItIs) {
  const auto config = DecodeScreenConfig(R"({"Rect": [[0, 0], [1, 1]], "Rotation": "45°"})");
  ASSERT_TRUE(config);
  EXPECT_EQ(config->Rotation, "45°");
}

TEST(ScreenFile, IgnoresMembersItDoesNotKnow) {
  EXPECT_TRUE(DecodeScreenConfig(R"({"Rect": [[0, 0], [1, 1]], "Rotation": "0º", "Screen": 2})"));
}

TEST(ScreenFile, RejectsEverythingThatIsNotExactlyOneConfiguration) {
  const char* bad[] = {
      "",
      "null",
      "[]",
      "{ not json",
      R"({"Rect": [[0, 0], [1, 1]]})",
      R"({"Rotation": "0º"})",
      R"({"Rect": [[0, 0], [1, 1]], "Rotation": 90})",
      R"({"Rect": [[0, 0, 0], [1, 1]], "Rotation": "0º"})",
      R"({"Rect": [[0, 0]], "Rotation": "0º"})",
      R"({"Rect": {"x": 0}, "Rotation": "0º"})",
      R"({"Rect": [["0", 0], [1, 1]], "Rotation": "0º"})",
      R"({"Rect": [[0, 0], [1e400, 1]], "Rotation": "0º"})",
      "{\"Rect\": [[0, 0], [1, 1]], \"Rotation\": \"\xC2\"}",  // not UTF-8
      R"({"Rect": [[0, 0], [1, 1]], "Rotation": "0º"} trailing)",
  };
  for (const char* text : bad) EXPECT_FALSE(DecodeScreenConfig(text)) << text;
}

TEST(ScreenFile, SurvivesDeepNesting) {
  const std::string deep = std::string(100000, '[') + std::string(100000, ']');
  EXPECT_FALSE(DecodeScreenConfig(deep));
  EXPECT_FALSE(DecodeKeyDefs(deep));
}

TEST(KeysFile, AlternatesMaskAndDefinitionInOneArray) {
  const KeyDefs defs{{3, KeyDef{"∙F5", ""}}, {4096, KeyDef{"", "R"}}};
  const std::string text = EncodeKeyDefs(defs);
  EXPECT_EQ(text,
            "[\n  3,\n  {\n    \"key\": \"\xE2\x88\x99" "F5\",\n    \"mouse\": \"\"\n  },\n  4096,\n  {\n"
            "    \"key\": \"\",\n    \"mouse\": \"R\"\n  }\n]\n");
  EXPECT_EQ(DecodeKeyDefs(text), defs);
}

TEST(KeysFile, AnEmptyTableIsAnEmptyArray) {
  EXPECT_EQ(EncodeKeyDefs({}), "[]\n");
  EXPECT_EQ(DecodeKeyDefs("[]"), KeyDefs{});
}

TEST(KeysFile, ThePairsMayComeInAnyOrderAndTheLastOfTwoEqualMasksWins) {
  const auto defs = DecodeKeyDefs(R"([4096, {"key": "", "mouse": "R"}, 3, {"key": "a", "mouse": ""},
                                      3, {"key": "b", "mouse": ""}])");
  ASSERT_TRUE(defs);
  EXPECT_EQ(*defs, (KeyDefs{{3, KeyDef{"b", ""}}, {4096, KeyDef{"", "R"}}}));
}

TEST(KeysFile, ReadsAWholeNumberWrittenWithAFraction) {
  EXPECT_EQ(DecodeKeyDefs(R"([3.0, {"key": "a", "mouse": ""}])"), (KeyDefs{{3, KeyDef{"a", ""}}}));
}

TEST(KeysFile, RejectsMasksOutsideSixteenBitsAndBrokenDefinitions) {
  const char* bad[] = {
      "{}",
      R"([3])",
      R"([3, {"key": "a", "mouse": ""}, 4])",
      R"([65536, {"key": "a", "mouse": ""}])",
      R"([-1, {"key": "a", "mouse": ""}])",
      R"([1.5, {"key": "a", "mouse": ""}])",
      R"(["3", {"key": "a", "mouse": ""}])",
      R"([true, {"key": "a", "mouse": ""}])",
      R"([3, {"key": "a"}])",
      R"([3, {"mouse": ""}])",
      R"([3, {"key": 1, "mouse": ""}])",
      R"([3, ["a", ""]])",
  };
  for (const char* text : bad) EXPECT_FALSE(DecodeKeyDefs(text)) << text;
}

TEST(KeysFile, EveryStoredTextComesBackByteForByte) {
  const KeyDefs defs{{0xFFFF, KeyDef{"⌘⌥⇧⌃∙⍇\"\\", "LMR+-"}}, {0, KeyDef{"", ""}}};
  const std::string text = EncodeKeyDefs(defs);
  EXPECT_EQ(DecodeKeyDefs(text), defs);
  EXPECT_EQ(EncodeKeyDefs(*DecodeKeyDefs(text)), text);
}

TEST(KeysFile, AKeyStringThatIsNotUtf8IsWrittenNotLost) {
  const std::string text = EncodeKeyDefs({{1, KeyDef{"a\xFF", ""}}});
  const auto defs = DecodeKeyDefs(text);
  ASSERT_TRUE(defs);
  EXPECT_EQ(defs->at(1).key, "a\xEF\xBF\xBD");  // the replacement character
}

}  // namespace
}  // namespace penmac
