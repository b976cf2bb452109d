#include "pipeline/ProductString.h"

#include <gtest/gtest.h>

namespace pen {
namespace {

TEST(ModelCodeFromProduct, AProductStringThatBeginsWithAModelCodeAndABlankGivesThatCode) {
  EXPECT_EQ(ModelCodeFromProduct("R711 Pen Tablet"), "R711");
  EXPECT_EQ(ModelCodeFromProduct("R9270 Wheel"), "R9270");
}

TEST(ModelCodeFromProduct, ACodeBetweenSquareBracketsAnywhereWins) {
  EXPECT_EQ(ModelCodeFromProduct("Pen Tablet [R755]"), "R755");
  EXPECT_EQ(ModelCodeFromProduct("[R788] tablet"), "R788");
  EXPECT_EQ(ModelCodeFromProduct("R711 tablet [R733]"), "R733");
}

TEST(ModelCodeFromProduct, BlanksInsideTheBracketsArePartOfTheCode) {
  EXPECT_EQ(ModelCodeFromProduct("Tablet [K24 ]"), "K24 ");
}

TEST(ModelCodeFromProduct, StringsThatNameNoModelLeaveTheDefault) {
  EXPECT_EQ(ModelCodeFromProduct(""), "R700");
  EXPECT_EQ(ModelCodeFromProduct("Pen Tablet"), "R700");   // wrong first letter
  EXPECT_EQ(ModelCodeFromProduct("r711 tablet"), "R700");  // letter compared exactly
  EXPECT_EQ(ModelCodeFromProduct("R711"), "R700");         // no blank after the code
  EXPECT_EQ(ModelCodeFromProduct("Tablet [R755"), "R700");  // never closed
  EXPECT_EQ(ModelCodeFromProduct("R711 [R755"), "R700");    // an open bracket rules out the first word
  EXPECT_EQ(ModelCodeFromProduct("Tablet []"), "R700");     // empty code would read as "no tablet"
}

TEST(ModelCodeFromProduct, AClosingBracketBeforeTheFirstOpeningOneLeavesTheDefault) {
  EXPECT_EQ(ModelCodeFromProduct("Tablet] [R766]"), "R700");
  EXPECT_EQ(ModelCodeFromProduct("]R766["), "R700");
  EXPECT_EQ(ModelCodeFromProduct("R711 ] [R766]"), "R700");  // a "[" rules out the first word as well
}

}  // namespace
}  // namespace pen
