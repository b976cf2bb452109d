#include "common/ByteOrder.h"

#include <gtest/gtest.h>

#include "common/Event.h"
#include "common/Rounding.h"

namespace pen {
namespace {

TEST(ByteOrder, WordsRoundTripInBothOrdersWhateverTheHost) {
  uint8_t b[2];
  StoreBE16(b, 0x060E);
  EXPECT_EQ(b[0], 0x06);
  EXPECT_EQ(b[1], 0x0E);
  EXPECT_EQ(LoadBE16(b), 0x060E);
  EXPECT_EQ(LoadLE16(b), 0x0E06);
  StoreLE16(b, 0xFFF0);
  EXPECT_EQ(b[0], 0xF0);
  EXPECT_EQ(b[1], 0xFF);
}

TEST(Rounding, TiesGoToTheEvenNeighbour) {
  EXPECT_EQ(RoundHalfEven(0.5L), 0);
  EXPECT_EQ(RoundHalfEven(1.5L), 2);
  EXPECT_EQ(RoundHalfEven(2.5L), 2);
  EXPECT_EQ(RoundHalfEven(-2.5L), -2);
  EXPECT_EQ(RoundHalfEven(2.5000001L), 3);
}

struct Counter {
  int total = 0;
  void Add(int v) { total += v; }
};

TEST(Event, CallsTheBoundMethodAndAnEmptyEventDoesNothing) {
  Counter c;
  auto e = Event<int>::Bind<&Counter::Add>(&c);
  e(3);
  e(4);
  EXPECT_EQ(c.total, 7);
  Event<int> none;
  EXPECT_FALSE(none);
  none(5);  // must not crash
}

}  // namespace
}  // namespace pen
