#include "common/ReadMostly.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <thread>
#include <vector>

namespace pen {
namespace {

// Every element equal: a reader that saw half of one value and half of
// another would find two different numbers.
struct Filled {
  std::array<uint32_t, 256> v{};
  bool Whole() const {
    for (uint32_t x : v) {
      if (x != v[0]) return false;
    }
    return true;
  }
};

TEST(ReadMostly, ReadersOnOtherThreadsNeverSeeHalfOfAChange) {
  TReadMostly<Filled> value;
  std::atomic<bool> stop{false};
  std::atomic<int> torn{0}, backwards{0};
  std::vector<std::thread> readers;
  for (int r = 0; r < 2; ++r) {
    readers.emplace_back([&] {
      uint32_t last = 0;
      while (!stop.load()) {
        const Filled f = value.Snapshot();
        if (!f.Whole()) ++torn;
        if (f.v[0] < last) ++backwards;
        last = f.v[0];
      }
    });
  }
  Filled next;
  for (uint32_t i = 1; i <= 20000; ++i) {
    next.v.fill(i);
    value.Set(next);
    EXPECT_EQ(value.Current().v[0], i);
  }
  stop = true;
  for (auto& t : readers) t.join();
  EXPECT_EQ(torn.load(), 0);
  EXPECT_EQ(backwards.load(), 0);
  EXPECT_EQ(value.Snapshot().v[255], 20000u);
}

}  // namespace
}  // namespace pen
