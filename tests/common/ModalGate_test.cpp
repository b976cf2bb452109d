// Where the main thread's loop stands, and the requests that wait for its
// top level.
#include "common/ModalGate.h"

#include <gtest/gtest.h>

namespace pen::test {
namespace {

struct Requester {
  int posts = 0;
  void Repost() { ++posts; }
  Event<> Request() { return Event<>::Bind<&Requester::Repost>(this); }
};

TEST(ModalGate, AtTheTopLevelARequestOpensAtOnceAndNothingIsKept) {
  TModalGate gate;
  Requester r;
  EXPECT_TRUE(gate.AtTopLevel());
  EXPECT_TRUE(gate.OpenNowOrLater(r.Request()));
  { const TModalGate::TScope wait(gate, TModalGate::Loop::kWait); }
  EXPECT_EQ(r.posts, 0);
}

TEST(ModalGate, RequestsInsideNestedLoopsArePostedOnceEachWhenTheLastLoopEnds) {
  TModalGate gate;
  Requester a, b;
  {
    const TModalGate::TScope modal(gate, TModalGate::Loop::kModal);
    {
      const TModalGate::TScope wait(gate, TModalGate::Loop::kWait);
      EXPECT_EQ(gate.Waits(), 1);
      EXPECT_EQ(gate.Modals(), 1);
      EXPECT_FALSE(gate.OpenNowOrLater(a.Request()));
      EXPECT_FALSE(gate.OpenNowOrLater(a.Request()));
      EXPECT_FALSE(gate.OpenNowOrLater(b.Request()));
    }
    EXPECT_EQ(a.posts, 0);  // still inside the modal loop
  }
  EXPECT_EQ(a.posts, 1);
  EXPECT_EQ(b.posts, 1);
  { const TModalGate::TScope wait(gate, TModalGate::Loop::kWait); }
  EXPECT_EQ(a.posts, 1);
}

TEST(ModalGate, EachThreadHasItsOwn) {
  TModalGate* here = &TModalGate::ForThisThread();
  EXPECT_EQ(here, &TModalGate::ForThisThread());
  const TModalGate::TScope wait(*here, TModalGate::Loop::kWait);
  EXPECT_FALSE(TModalGate::ForThisThread().AtTopLevel());
}

}  // namespace
}  // namespace pen::test
